object WaitFrm: TWaitFrm
  ClientWidth = 240
  ClientHeight = 60
  Caption = '请稍候'
  BorderStyle = bsDialog
  BorderIcons = []
  Position = poScreenCenter
  Visible = False
  Font.Name = '宋体'
  Font.Size = 9
  object Label1: TLabel
    Left = 20
    Top = 22
    Caption = '正在处理，请稍候...'
  end
end
