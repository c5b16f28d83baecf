object TestFrm: TTestFrm
  Left = 10
  Top = 10
  Width = 300
  Height = 200
  Caption = '测试窗口'
  Font.Name = '宋体'
  Font.Size = 9
  OnCreate = FormCreate
  object pnlTop: TPanel
    Align = alTop
    Height = 60
    Caption = ''
    BevelOuter = bvLowered
    object btnOk: TButton
      Left = 8
      Top = 8
      Caption = '确定'
      ModalResult = 1
      OnClick = btnOkClick
    end
    object lblHint: TLabel
      Left = 100
      Top = 10
      Caption = '提示'#13'二'
      Font.Style = [fsBold]
      OnClick = lblHintClick
    end
  end
  object yName: TEdit
    Left = 8
    Top = 80
    Text = 'it''s'
    MaxLength = 20
    OnChange = yNameChange
  end
  object Timer1: TTimer
    Interval = 50
    Enabled = False
    OnTimer = Timer1Timer
  end
  object Timer2: TTimer
    OnTimer = Timer2Timer
    Interval = 30
  end
end
