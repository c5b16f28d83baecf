object UpdateFrm: TUpdateFrm
  Width = 360
  Height = 170
  Caption = 'Karvell系统升级提示'
  BorderStyle = bsDialog
  BorderIcons = [biMinimize, biMaximize]
  Position = poMainFormCenter
  OnCreate = FormCreate
  OnClose = FormClose
  object labelInfo: TLabel
    Left = 20
    Top = 20
    Width = 320
    Height = 36
    AutoSize = False
    WordWrap = True
    Caption = ''
  end
  object Label1: TLabel
    Left = 20
    Top = 60
    Caption = '您立即升级使用新版本。'
  end
  object btnUpdate: TButton
    Left = 170
    Top = 96
    Caption = '升级'
    Default = True
    Cancel = True
    ModalResult = 1
    OnClick = btnUpdateClick
  end
  object btnExit: TButton
    Left = 256
    Top = 96
    Caption = '退出'
    OnClick = btnExitClick
  end
end
