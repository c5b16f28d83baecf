object DomainHintFrm: TDomainHintFrm
  BorderStyle = bsDialog
  BorderIcons = []
  ClientWidth = 255
  ClientHeight = 100
  Caption = '域名到期提醒'
  Font.Charset = GB2312_CHARSET
  Font.Name = '宋体'
  Font.Size = 9
  OnClick = FormClick
  OnClose = FormClose
  OnDestroy = FormDestroy
  object GroupBox1: TGroupBox
    Align = alClient
    OnClick = FormClick
    object Label1: TLabel
      Left = 16
      Top = 20
      Caption = '域名：'
    end
    object yDomainName: TLabel
      Left = 88
      Top = 20
      Caption = ''
    end
    object Label2: TLabel
      Left = 16
      Top = 44
      Caption = '到期日期：'
    end
    object yDomainDate: TLabel
      Left = 88
      Top = 44
      Caption = ''
    end
    object BitBtn1: TBitBtn
      Left = 172
      Top = 68
      Width = 75
      Height = 25
      Caption = '关闭'
      OnClick = BitBtn1Click
    end
  end
end
