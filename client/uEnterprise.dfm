object EnterpriseNubmerFrm: TEnterpriseNubmerFrm
  ClientWidth = 420
  ClientHeight = 282
  Caption = '请记录为您分配的企业号码'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poMainFormCenter
  Font.Name = '宋体'
  Font.Size = 9
  object GroupBox1: TGroupBox
    Align = alClient
    object Label1: TLabel
      Left = 16
      Top = 24
      Caption = '企业号码:'
    end
    object yNumber: TEdit
      Left = 84
      Top = 20
      Width = 150
      ReadOnly = True
    end
    object Label3: TLabel
      Left = 84
      Top = 256
      Font.Color = clRed
      Caption = '*请牢记你的企业号码,此号码用于登陆软件使用'
    end
    object Label2: TLabel
      Left = 16
      Top = 56
      Caption = '脚本代码:'
    end
    object yLinkScript: TRichEdit
      Left = 84
      Top = 52
      Width = 320
      Height = 110
    end
    object Label4: TLabel
      Left = 16
      Top = 176
      Caption = '使用方法：'
    end
    object yNetScript: TRichEdit
      Left = 84
      Top = 172
      Width = 320
      Height = 70
      ReadOnly = True
      Lines.Strings = (
        '请复制以上脚本代码插入到网站</Body>标签之前,方便您接待网站访'
        '客')
    end
  end
end
