object HinfAddFriendFrm: THinfAddFriendFrm
  Width = 340
  Height = 270
  Caption = '添加好友'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poScreenCenter
  Font.Name = '宋体'
  Font.Size = 9
  OnClose = FormClose
  object lblSource: TUrlLabel
    Left = 16
    Top = 14
    Caption = ''
    OnClick = lblSourceClick
  end
  object lblSourceNumber: TLabel
    Left = 90
    Top = 14
    Caption = '请求加您为好友'
  end
  object lblRequestTime: TLabel
    Left = 16
    Top = 38
    Caption = '附加信息'
  end
  object MemoMsg: TMemo
    Left = 16
    Top = 56
    Width = 300
    Height = 80
    ReadOnly = True
    ScrollBars = ssVertical
  end
  object RAllow: TRadioButton
    Left = 16
    Top = 146
    Width = 260
    Height = 18
    Caption = '接受请求并加(对方为好友)'
    Checked = True
    TabOrder = 0
  end
  object rReNO: TRadioButton
    Left = 16
    Top = 168
    Width = 260
    Height = 18
    Caption = '拒绝请求'
    TabOrder = 1
  end
  object btnOk: TButton
    Left = 150
    Top = 198
    Width = 75
    Height = 25
    Caption = '确定'
    Default = True
    TabOrder = 2
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 236
    Top = 198
    Width = 75
    Height = 25
    Caption = '取消'
    Cancel = True
    TabOrder = 3
    OnClick = btnCancelClick
  end
end
