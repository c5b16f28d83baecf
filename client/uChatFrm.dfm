object ChatFrm: TChatFrm
  Left = 200
  Top = 120
  Width = 797
  Height = 393
  Caption = '信息窗口'
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize]
  Color = clWhite
  KeyPreview = True
  Position = poDesigned
  Font.Name = '宋体'
  Font.Size = 9
  OnCreate = FormCreate
  OnShow = FormShow
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnDestroy = FormDestroy
  OnKeyDown = FormKeyDown
  OnKeyPress = FormKeyPress
  object ActionList1: TActionList
    object Action1: TAction
      Caption = '发送'
      ShortCut = 16397
      OnExecute = Action1Execute
    end
  end
  object ColorDialog: TColorDialog
  end
  object Panel4: TPanel
    Left = 0
    Top = 0
    Width = 370
    Height = 22
    BevelOuter = bvNone
    Color = clWhite
    object Label1: TLabel
      Left = 6
      Top = 5
      Caption = '用户：'
      Transparent = True
    end
    object ySenderName: TLabel
      Left = 44
      Top = 5
      Caption = ''
      Transparent = True
    end
    object Label3: TLabel
      Left = 150
      Top = 5
      Caption = '客服名称:'
      Transparent = True
    end
    object yNickName: TLabel
      Left = 210
      Top = 5
      Caption = ''
      Transparent = True
    end
  end
  object Panel1: TPanel
    Left = 0
    Top = 22
    Width = 370
    Height = 180
    BevelOuter = bvNone
    Color = clWhite
    object GroupBox3: TGroupBox
      Align = alClient
      Caption = ' 收到信息内容'
      Color = clWhite
      object yReceiveContent: TRichEdit
        Align = alClient
        ReadOnly = True
        ScrollBars = ssVertical
        TabStop = False
      end
    end
    object Panel3: TPanel
      Align = alBottom
      Height = 28
      BevelOuter = bvNone
      Color = clWhite
      Visible = False
      object Image2: TImage
        Left = 0
        Top = 0
        Width = 370
        Height = 28
        Stretch = True
      end
      object yFont: TComboBox
        Left = 6
        Top = 3
        Width = 150
        Style = csDropDownList
        DropDownCount = 16
        OnSelect = yFontClick
      end
      object yComFontSize: TComboBox
        Left = 162
        Top = 3
        Width = 50
        Style = csDropDownList
        DropDownCount = 15
        Items.Strings = (
          '8' '9' '10' '11' '12' '13' '14' '15' '16' '17' '18' '19' '20' '21' '22')
        OnSelect = yComFontSizeClick
      end
      object yComFontCorlor: TBitBtnExtend
        Left = 220
        Top = 2
        Width = 24
        Height = 24
        Caption = ''
        Hint = '字体颜色'
        ShowHint = True
        OnClick = yComFontCorlorClick
        OnMouseEnter = yComFontCorlorMouseEnter
        OnMouseLeave = yComFontCorlorMouseLeave
      end
    end
  end
  object GroupBox2: TGroupBox
    Left = 0
    Top = 204
    Width = 370
    Height = 92
    Caption = '发送信息内容'
    Color = clWhite
    object ySendContent: TRichEdit
      Align = alClient
      MaxLength = 80
      ScrollBars = ssVertical
      TabOrder = 0
      OnKeyDown = ySendContentKeyDown
      OnKeyPress = ySendContentKeyPress
    end
  end
  object lblMsgLength: TLabel
    Left = 6
    Top = 304
    Caption = '最大字符长度:80'
    Transparent = True
  end
  object Label2: TLabel
    Left = 112
    Top = 304
    Caption = '常用短语:'
    Transparent = True
  end
  object ycomUseChar: TComboBox
    Left = 170
    Top = 300
    Width = 140
    TabOrder = 1
  end
  object btnUseChar: TButton
    Left = 316
    Top = 299
    Width = 48
    Height = 22
    Caption = '添加'
    TabOrder = 2
    OnClick = btnUseCharClick
  end
  object btnFontSize: TBitBtnExtend
    Left = 6
    Top = 328
    Width = 24
    Height = 24
    Caption = ''
    Hint = '设置字体'
    ShowHint = True
    OnClick = btnFontSizeClick
    OnMouseEnter = btnFontSizeMouseEnter
    OnMouseLeave = btnFontSizeMouseLeave
  end
  object btnShowRecord: TButton
    Left = 130
    Top = 328
    Width = 72
    Height = 24
    Caption = '历史记录'
    TabOrder = 3
    OnClick = btnShowRecordClick
  end
  object btnClose: TButton
    Left = 208
    Top = 328
    Width = 72
    Height = 24
    Caption = '关闭'
    TabOrder = 4
    OnClick = btnCloseClick
  end
  object btnSend: TButton
    Left = 286
    Top = 328
    Width = 78
    Height = 24
    Caption = '发送'
    Action = Action1
    TabOrder = 5
  end
  object GroupBox1: TGroupBox
    Left = 382
    Top = 0
    Width = 404
    Height = 352
    Caption = '历史记录'
    Color = clWhite
    object yRichHistory: TRichEdit
      Align = alClient
      ReadOnly = True
      ScrollBars = ssBoth
      WordWrap = False
    end
  end
end
