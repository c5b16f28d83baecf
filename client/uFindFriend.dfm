object FindFriendFrm: TFindFriendFrm
  Width = 460
  Height = 330
  Caption = '查找联系人'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poScreenCenter
  Font.Name = '宋体'
  Font.Size = 9
  OnCreate = FormCreate
  OnShow = FormShow
  object PageControl1: TPageControl
    Align = alClient
    object TabSheet1: TTabSheet
      Caption = '查找联系人'
      object Panel2: TPanel
        Align = alClient
        BevelOuter = bvNone
        object Label1: TLabel
          Left = 60
          Top = 60
          Caption = '帐号：'
        end
        object yAccount: TEdit
          Left = 140
          Top = 56
          Width = 180
          MaxLength = 6
          TabOrder = 0
          OnKeyDown = yAccountKeyDown
        end
        object Label2: TLabel
          Left = 60
          Top = 96
          Caption = '企业名称：'
        end
        object yCompanyName: TEdit
          Left = 140
          Top = 92
          Width = 180
          TabOrder = 1
          OnKeyDown = yCompanyNameKeyDown
        end
        object btnFind: TButton
          Left = 250
          Top = 210
          Width = 75
          Height = 25
          Caption = '查找'
          TabOrder = 2
          OnClick = btnFindClick
        end
        object btnClose: TButton
          Left = 340
          Top = 210
          Width = 75
          Height = 25
          Caption = '取消'
          TabOrder = 3
          OnClick = btnCloseClick
        end
      end
      object Panel5: TPanel
        Left = 0
        Top = 0
        Width = 440
        Height = 260
        BevelOuter = bvNone
        Visible = False
        object Label3: TLabel
          Left = 8
          Top = 8
          Caption = '以下是您查找到的用户：'
        end
        object yListFriend: TListView
          Left = 8
          Top = 28
          Width = 424
          Height = 172
          ViewStyle = vsReport
          RowSelect = True
          ReadOnly = True
          HideSelection = False
          Columns.Strings = (
            '帐号=100'
            '企业名称=100'
            '昵称=100'
            '当前状态=80')
        end
        object btnBack: TButton
          Left = 170
          Top = 210
          Width = 75
          Height = 25
          Caption = '上一步'
          OnClick = btnBackClick
        end
        object btnAddFriend: TButton
          Left = 256
          Top = 210
          Width = 75
          Height = 25
          Caption = '添加好友'
          OnClick = btnAddFriendClick
        end
        object btnexit: TButton
          Left = 342
          Top = 210
          Width = 75
          Height = 25
          Caption = '关闭'
          OnClick = btnexitClick
        end
      end
    end
  end
end
