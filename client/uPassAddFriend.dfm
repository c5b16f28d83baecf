object PassAddFrm: TPassAddFrm
  Width = 340
  Height = 260
  Caption = '添加好友'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poScreenCenter
  Font.Name = '宋体'
  Font.Size = 9
  object Label1: TLabel
    Left = 16
    Top = 14
    Caption = '您将添加以下好友：'
  end
  object Label2: TLabel
    Left = 32
    Top = 38
    Caption = '号码：'
  end
  object lblEnterpriseNubmer: TLabel
    Left = 100
    Top = 38
    Caption = ''
  end
  object Label3: TLabel
    Left = 32
    Top = 60
    Caption = '企业名称：'
  end
  object lblCompanyName: TLabel
    Left = 100
    Top = 60
    Caption = ''
  end
  object yPassInfo: TRichEdit
    Left = 16
    Top = 86
    Width = 300
    Height = 90
    ScrollBars = ssVertical
    TabOrder = 0
  end
  object btnOk: TButton
    Left = 150
    Top = 188
    Width = 75
    Height = 25
    Caption = '确定'
    TabOrder = 1
    OnClick = btnOkClick
  end
  object BitBtn2: TBitBtn
    Left = 236
    Top = 188
    Width = 75
    Height = 25
    Caption = '取消'
    Cancel = True
    TabOrder = 2
    OnClick = BitBtn2Click
  end
end
