object TradeRequestFrm: TTradeRequestFrm
  ClientWidth = 560
  ClientHeight = 440
  Caption = '网站贸易信息回复'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poScreenCenter
  Visible = False
  Font.Name = '宋体'
  Font.Size = 9
  object GroupBox1: TGroupBox
    Left = 8
    Top = 4
    Width = 544
    Height = 200
    Caption = '回复信息'
    object ListView1: TListView
      Left = 8
      Top = 20
      Width = 528
      Height = 170
      ViewStyle = vsReport
      RowSelect = True
      ReadOnly = True
      Columns.Strings = (
        '编号=50'
        '提交贸易时间=100'
        '贸易主题内容=200'
        '回复人=100'
        '回复日期=80')
    end
  end
  object GroupBox2: TGroupBox
    Left = 8
    Top = 208
    Width = 544
    Height = 96
    Caption = '快速回复'
    object Label1: TLabel
      Left = 12
      Top = 26
      Caption = '主题编号：'
    end
    object yID: TEdit
      Left = 84
      Top = 22
      Width = 120
    end
    object Label2: TLabel
      Left = 12
      Top = 60
      Caption = '回复内容：'
    end
    object Edit1: TEdit
      Left = 84
      Top = 56
      Width = 280
    end
    object BitBtn1: TButton
      Left = 376
      Top = 54
      Width = 70
      Height = 25
      Caption = '提交'
    end
    object BitBtn2: TButton
      Left = 456
      Top = 54
      Width = 70
      Height = 25
      Caption = '取消'
    end
  end
  object GroupBox3: TGroupBox
    Left = 8
    Top = 308
    Width = 544
    Height = 124
    Caption = '网站回复内容'
    object Memo1: TMemo
      Left = 8
      Top = 20
      Width = 528
      Height = 96
      ReadOnly = True
    end
  end
end
