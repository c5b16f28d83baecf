object SaveNetFrm: TSaveNetFrm
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  ClientWidth = 415
  ClientHeight = 423
  Caption = '书签'
  Position = poDesktopCenter
  Font.Name = '宋体'
  Font.Size = 9
  OnShow = FormShow
  object PageControl1: TPageControl
    Left = 0
    Top = 0
    Width = 415
    Height = 348
    OnChange = PageControl1Change
    object TabSheet1: TTabSheet
      Caption = '网站后台网址记录'
        object GroupBox1: TGroupBox
          Left = 4
          Top = 2
          Width = 399
          Height = 150
          Caption = '网站后台信息'
            object Label1: TLabel
              Left = 10
              Top = 20
              Caption = '网站名称:'
            end
            object yNetSiteName: TEdit
              Left = 110
              Top = 16
              Width = 200
            end
            object Label2: TLabel
              Left = 10
              Top = 44
              Caption = '网站后台地址:'
            end
            object yNetAddress: TEdit
              Left = 110
              Top = 40
              Width = 200
            end
            object btnTransNet: TButton
              Left = 316
              Top = 39
              Width = 70
              Height = 22
              Caption = '转到网站'
              OnClick = btnTransNetClick
            end
            object Label3: TLabel
              Left = 10
              Top = 66
              Caption = '网址格式:必须以http:开头,举例:http://www.karvell.example/admin/'
              Font.Color = clRed
            end
            object Label4: TLabel
              Left = 10
              Top = 88
              Caption = '网站后台用户名:'
            end
            object yUserName: TEdit
              Left = 110
              Top = 84
              Width = 200
            end
            object Label5: TLabel
              Left = 10
              Top = 112
              Caption = '网站后台密码:'
            end
            object yUserPass: TEdit
              Left = 110
              Top = 108
              Width = 120
              OnKeyDown = yUserPassKeyDown
            end
            object Label6: TLabel
              Left = 236
              Top = 112
              Caption = '后台密码确认:'
            end
            object yOkPass: TEdit
              Left = 318
              Top = 108
              Width = 72
            end
        end
        object GroupBox2: TGroupBox
          Left = 4
          Top = 156
          Width = 399
          Height = 162
          Caption = '网址列表'
          object yListNetBackUrl: TListView
            Left = 8
            Top = 18
            Width = 383
            Height = 136
            ViewStyle = vsReport
            GridLines = True
            HotTrack = True
            RowSelect = True
            ReadOnly = True
            HideSelection = False
            Columns = ( '网站名称=100' '网站后台地址=150' '用户名=100' '密码=100' '开通日期=100' )
            OnClick = yListNetBackUrlClick
            OnColumnClick = yListNetBackUrlColumnClick
          end
        end
    end
    object TabSheet2: TTabSheet
      Caption = '网址收藏夹'
        object GroupBox3: TGroupBox
          Left = 4
          Top = 2
          Width = 399
          Height = 96
          Caption = '网址记录'
            object Label7: TLabel
              Left = 10
              Top = 20
              Caption = '网站名称:'
            end
            object yNetName: TEdit
              Left = 110
              Top = 16
              Width = 200
            end
            object Label8: TLabel
              Left = 10
              Top = 44
              Caption = '网站地址:'
            end
            object yNetUrl: TEdit
              Left = 110
              Top = 40
              Width = 200
              OnKeyDown = yNetUrlKeyDown
            end
            object btnNetUrl: TButton
              Left = 316
              Top = 39
              Width = 70
              Height = 22
              Caption = '转到网站'
              OnClick = btnNetUrlClick
            end
            object Label9: TLabel
              Left = 10
              Top = 68
              Caption = '网址格式:必须以http:开头,举例:http://www.karvell.example/admin/'
              Font.Color = clRed
            end
        end
        object GroupBox4: TGroupBox
          Left = 4
          Top = 102
          Width = 399
          Height = 216
          Caption = '网址列表'
          object yListViewNetUrl: TListView
            Left = 8
            Top = 18
            Width = 383
            Height = 190
            ViewStyle = vsReport
            GridLines = True
            HotTrack = True
            RowSelect = True
            ReadOnly = True
            HideSelection = False
            Columns = ( '网站名称=100' '网站后台地址=150' '添加日期=80' )
            OnClick = yListViewNetUrlClick
            OnColumnClick = yListViewNetUrlColumnClick
          end
        end
    end
    object TabSheet3: TTabSheet
      Caption = 'FTP帐号记录'
        object GroupBox5: TGroupBox
          Left = 4
          Top = 2
          Width = 399
          Height = 116
          Caption = 'FTP信息'
            object Label10: TLabel
              Left = 10
              Top = 20
              Caption = 'Ftp名称:'
            end
            object yFtpName: TEdit
              Left = 80
              Top = 16
              Width = 110
            end
            object Label11: TLabel
              Left = 200
              Top = 20
              Caption = 'Ftp地址:'
            end
            object yFtpAddress: TEdit
              Left = 270
              Top = 16
              Width = 120
            end
            object Label12: TLabel
              Left = 10
              Top = 48
              Caption = 'Ftp端口:'
            end
            object yFtpPort: TEdit
              Left = 80
              Top = 44
              Width = 110
            end
            object Label13: TLabel
              Left = 200
              Top = 48
              Caption = 'Ftp用户名:'
            end
            object yFtpUserName: TEdit
              Left = 270
              Top = 44
              Width = 120
            end
            object Label14: TLabel
              Left = 10
              Top = 76
              Caption = 'Ftp密码:'
            end
            object yFtpPassword: TEdit
              Left = 80
              Top = 72
              Width = 110
              OnKeyDown = yFtpPasswordKeyDown
            end
            object Label15: TLabel
              Left = 200
              Top = 76
              Caption = '密码确认:'
            end
            object yOkFtpPass: TEdit
              Left = 270
              Top = 72
              Width = 120
            end
        end
        object GroupBox6: TGroupBox
          Left = 4
          Top = 122
          Width = 399
          Height = 196
          Caption = '网址列表'
          object yListViewFtp: TListView
            Left = 8
            Top = 18
            Width = 383
            Height = 170
            ViewStyle = vsReport
            GridLines = True
            HotTrack = True
            RowSelect = True
            ReadOnly = True
            HideSelection = False
            Columns = ( 'FTP名称=100' 'Ftp地址=150' 'Ftp用户名=100' 'Ftp密码=100' '开通日期' '端口' )
            OnClick = yListViewFtpClick
            OnColumnClick = yListViewFtpColumnClick
          end
        end
    end
  end
  object Panel1: TPanel
    Left = 0
    Top = 348
    Width = 415
    Height = 75
    BevelOuter = bvNone
    object Label16: TLabel
      Left = 10
      Top = 8
      Caption = '请妥善保管您的帐号信息，此信息只在本地保存，'
      Font.Color = clRed
    end
    object Label17: TLabel
      Left = 10
      Top = 26
      Caption = '服务端不保存此信息。'
      Font.Color = clRed
    end
    object btnNewAdd: TButton
      Left = 150
      Top = 46
      Width = 75
      Height = 22
      Caption = '新增'
      OnClick = btnNewAddClick
    end
    object btnDelete: TButton
      Left = 235
      Top = 46
      Width = 75
      Height = 22
      Caption = '删除'
      OnClick = btnDeleteClick
    end
    object btnCancel: TButton
      Left = 320
      Top = 46
      Width = 75
      Height = 22
      Caption = '清空'
      OnClick = btnCancelClick
    end
  end
end
