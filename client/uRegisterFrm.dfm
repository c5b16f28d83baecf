object RegisterFrm: TRegisterFrm
  ClientWidth = 501
  ClientHeight = 411
  Caption = '注册窗口'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poMainFormCenter
  Font.Name = '宋体'
  Font.Size = 9
  OnShow = FormShow
  object Label2: TLabel
    Left = 20
    Top = 10
    Caption = '用户名：'
  end
  object Label3: TLabel
    Left = 20
    Top = 10
    Caption = '用户名：'
  end
  object StatusBar1: TStatusBar
    Align = alBottom
    PanelWidths = (
      '50')
  end
  object GroupBox1: TGroupBox
    Align = alClient
    Caption = '注册信息'
    object Image1: TImage
      Left = 2
      Top = 16
      Width = 497
      Height = 40
    end
    object GroupBox2: TGroupBox
      Left = 6
      Top = 58
      Width = 489
      Height = 324
      object Label9: TLabel
        Left = 20
        Top = 12
        Width = 460
        Height = 30
        AutoSize = False
        WordWrap = True
        Font.Color = clRed
        Caption = '* 请认真填写信息，以方便搜索引擎收录及企业宣传'#13#10'  注册完成后，将随机生成软件登陆号码及网站客服代码，请妥善保管。'
      end
      object Label1: TLabel
        Left = 20
        Top = 60
        Caption = '单位名称：'
      end
      object yAccount: TEdit
        Left = 90
        Top = 56
        Width = 200
        MaxLength = 50
        TabOrder = 0
      end
      object Label10: TLabel
        Left = 298
        Top = 60
        Font.Color = clRed
        Caption = '* 请填写完整单位名称'
      end
      object Label4: TLabel
        Left = 20
        Top = 94
        Caption = '登陆密码：'
      end
      object yPass: TEdit
        Left = 90
        Top = 90
        Width = 200
        MaxLength = 20
        TabOrder = 1
        PasswordChar = '*'
      end
      object Label12: TLabel
        Left = 298
        Top = 94
        Font.Color = clRed
        Caption = '* 密码长度不能少于6位'
      end
      object Label5: TLabel
        Left = 20
        Top = 128
        Caption = '确认密码：'
      end
      object yOkPass: TEdit
        Left = 90
        Top = 124
        Width = 200
        MaxLength = 20
        TabOrder = 2
        PasswordChar = '*'
      end
      object Label13: TLabel
        Left = 298
        Top = 128
        Font.Color = clRed
        Caption = '* 请确认与登陆密码一致'
      end
      object Label6: TLabel
        Left = 20
        Top = 162
        Caption = '电子邮箱：'
      end
      object yEmail: TEdit
        Left = 90
        Top = 158
        Width = 200
        MaxLength = 50
        TabOrder = 3
      end
      object Label14: TLabel
        Left = 298
        Top = 162
        Font.Color = clRed
        Caption = '* 请填写常用邮箱'
      end
      object Label7: TLabel
        Left = 20
        Top = 196
        Caption = '客服名称：'
      end
      object yNickName: TEdit
        Left = 90
        Top = 192
        Width = 200
        MaxLength = 10
        TabOrder = 4
      end
      object Label11: TLabel
        Left = 298
        Top = 196
        Font.Color = clRed
        Caption = '* 五个汉字或英文10个字符'
      end
      object Label8: TLabel
        Left = 20
        Top = 230
        Caption = '单位网址：'
      end
      object yurl: TEdit
        Left = 90
        Top = 226
        Width = 200
        MaxLength = 50
        TabOrder = 5
      end
      object Label15: TLabel
        Left = 298
        Top = 224
        Width = 190
        Height = 44
        AutoSize = False
        WordWrap = True
        Transparent = True
        Caption = ''
      end
      object btnRegister: TButton
        Left = 300
        Top = 284
        Width = 75
        Height = 25
        Caption = '注册'
        Default = True
        TabOrder = 6
        OnClick = btnRegisterClick
      end
      object btnCancel: TButton
        Left = 390
        Top = 284
        Width = 75
        Height = 25
        Caption = '退出'
        Cancel = True
        TabOrder = 7
        OnClick = btnCancelClick
      end
    end
  end
end
