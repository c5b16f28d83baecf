object frmServerHost: TfrmServerHost
  ClientWidth = 460
  ClientHeight = 293
  Caption = '系统设置'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poMainFormCenter
  Font.Name = '宋体'
  Font.Size = 9
  OnShow = FormShow
  object Panel1: TPanel
    Align = alClient
    BevelOuter = bvNone
    object yTrewView: TTreeView
      Left = 8
      Top = 14
      Width = 100
      Height = 234
      ReadOnly = True
      RowSelect = True
      ShowButtons = False
      HideSelection = False
      Items.Strings = (
        '常用选项'
        '网络设置'
        '域名提醒'
        '系统备份'
        '系统还原'
        '信息快捷键')
      OnClick = yTrewViewClick
    end
    object btnOK: TButton
      Left = 290
      Top = 258
      Width = 75
      Height = 25
      Caption = '确定'
      OnClick = btnOKClick
    end
    object BtnCancel: TButton
      Left = 374
      Top = 258
      Width = 75
      Height = 25
      Caption = '取消'
      Cancel = True
      OnClick = BtnCancelClick
    end
    object PanelConfig: TGroupBox
      Left = 115
      Top = 8
      Width = 335
      Height = 240
      Caption = '常用短语管理'
      object ListBoxShortMessage: TListBox
        Left = 12
        Top = 22
        Width = 311
        Height = 160
      end
      object Label1: TLabel
        Left = 12
        Top = 200
        Caption = '短语内容：'
      end
      object yShortChar: TEdit
        Left = 80
        Top = 196
        Width = 170
      end
      object btnAdd: TButton
        Left = 258
        Top = 194
        Width = 65
        Height = 25
        Caption = '添加'
        OnClick = btnAddClick
      end
    end
    object PanelNet: TGroupBox
      Left = 115
      Top = 8
      Width = 335
      Height = 240
      Caption = '线路选择'
      Visible = False
      object yLineChoice: TComboBox
        Left = 20
        Top = 40
        Width = 290
        Style = csDropDownList
      end
    end
    object PanelDomain: TGroupBox
      Left = 115
      Top = 8
      Width = 335
      Height = 240
      Caption = '域名到期提醒时间设置'
      Visible = False
      object Label3: TLabel
        Left = 20
        Top = 44
        Caption = '提前提醒天数:'
      end
      object yCallDate: TEdit
        Left = 110
        Top = 40
        Width = 80
        Text = '30'
      end
      object Label4: TLabel
        Left = 20
        Top = 84
        Caption = '域名:'
      end
      object yDomain: TEdit
        Left = 110
        Top = 80
        Width = 200
      end
      object Label5: TLabel
        Left = 20
        Top = 120
        Caption = '举例:'
      end
      object lblExample: TLabel
        Left = 110
        Top = 120
        Caption = 'karvell.com'
      end
    end
    object GroupShortCut: TGroupBox
      Left = 115
      Top = 8
      Width = 335
      Height = 240
      Caption = '消息快捷键设置'
      Visible = False
      object Label2: TLabel
        Left = 20
        Top = 44
        Caption = '默认快捷键:'
      end
      object yShortCut: TEdit
        Left = 110
        Top = 40
        Width = 120
        ReadOnly = True
        Text = 'Ctrl+Alt+X'
      end
    end
  end
end
