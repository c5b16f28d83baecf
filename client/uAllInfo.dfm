object AllInfoFrm: TAllInfoFrm
  Width = 330
  Height = 230
  Caption = '详细资料'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poScreenCenter
  Font.Name = '宋体'
  Font.Size = 9
  object Label1: TLabel
    Left = 24
    Top = 20
    Caption = '用户编号:'
  end
  object yUserNubmer: TLabel
    Left = 100
    Top = 20
    Caption = ''
  end
  object Label2: TLabel
    Left = 24
    Top = 46
    Caption = '用户昵称：'
  end
  object yNickName: TLabel
    Left = 100
    Top = 46
    Caption = ''
  end
  object Label3: TLabel
    Left = 24
    Top = 72
    Caption = '公司名称：'
  end
  object yCompanyName: TLabel
    Left = 100
    Top = 72
    Caption = ''
  end
  object Label4: TLabel
    Left = 24
    Top = 98
    Caption = '公司网址：'
  end
  object yurl: TUrlLabel
    Left = 100
    Top = 98
    Caption = ''
  end
  object Label5: TLabel
    Left = 24
    Top = 124
    Caption = '邮箱：'
  end
  object yEmail: TLabel
    Left = 100
    Top = 124
    Caption = ''
  end
  object btnOk: TButton
    Left = 120
    Top = 156
    Width = 75
    Height = 25
    Caption = '确定'
    Default = True
    Cancel = True
    ModalResult = 1
  end
end
