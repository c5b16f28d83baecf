object LoginFrm: TLoginFrm
  Width = 356
  Height = 262
  Caption = 'Karvell登陆'
  BorderStyle = bsDialog
  BorderIcons = []
  Position = poMainFormCenter
  OnCreate = FormCreate
  OnShow = FormShow
  object Panel1: TPanel
    Align = alClient
    BevelOuter = bvNone
    object Panel2: TPanel
      Align = alClient
      BevelOuter = bvNone
      object Panel3: TPanel
        Align = alClient
        BevelOuter = bvNone
        object Image1: TImage
          Left = 0
          Top = 0
          Width = 350
          Height = 50
        end
        object Label1: TLabel
          Left = 40
          Top = 68
          Caption = 'Karv号码'
        end
        object Label2: TLabel
          Left = 40
          Top = 100
          Caption = '登陆密码'
        end
        object Label3: TLabel
          Left = 40
          Top = 132
          Caption = '服务器地址'
          Visible = False
        end
        object yUserid: TComboBox
          Left = 110
          Top = 64
          Width = 170
          TabOrder = 0
          OnKeyPress = yUseridKeyPress
          OnKeyDown = yUseridKeyDown
        end
        object yPassword: TEdit
          Left = 110
          Top = 96
          Width = 170
          PasswordChar = '*'
          TabOrder = 1
          OnExit = yPasswordExit
        end
        object yIP: TComboBox
          Left = 110
          Top = 128
          Width = 170
          Style = csDropDownList
          Visible = False
          Items.Strings = (
            'www.karvell.example'
            '192.168.0.1')
        end
        object yRecordPassword: TCheckBox
          Left = 110
          Top = 130
          Width = 100
          Caption = '记住密码'
          TabOrder = 2
        end
        object btnLogin: TButton
          Left = 20
          Top = 164
          Caption = '登陆'
          Default = True
          TabOrder = 3
          OnClick = btnLoginClick
        end
        object btnRegister: TButton
          Left = 100
          Top = 164
          Caption = '注册'
          OnClick = btnRegisterClick
        end
        object BitBtn1: TButton
          Left = 180
          Top = 164
          Caption = '系统设置'
          OnClick = BitBtn1Click
        end
        object btncancel: TButton
          Left = 260
          Top = 164
          Caption = '退出'
          Cancel = True
          OnClick = btncancelClick
        end
      end
    end
  end
  object statusServer: TStatusBar
    PanelWidths = ('300' '50')
  end
end
