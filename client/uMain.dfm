object MainFrm: TMainFrm
  Left = 0
  Top = 0
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize]
  ClientWidth = 222
  ClientHeight = 553
  Caption = 'Karvell'
  Position = poDesktopCenter
  Font.Name = '宋体'
  Font.Size = 9
  OnCreate = FormCreate
  OnShow = FormShow
  OnClose = FormClose
  OnDestroy = FormDestroy
  object Panel1: TPanel
    Align = alTop
    Height = 55
    BevelOuter = bvNone
    Color = clWhite
    object Image1: TImage
      Left = 8
      Top = 12
      Width = 30
      Height = 30
    end
    object Label3: TLabel
      Left = 48
      Top = 12
      Caption = 'Karv号:'
      Transparent = True
    end
    object lblNumber: TLabel
      Left = 96
      Top = 12
      Caption = '0'
      Transparent = True
    end
    object Label1: TLabel
      Left = 48
      Top = 32
      Caption = '新消息：'
      Visible = False
    end
    object lblMsgCount: TLabel
      Left = 96
      Top = 32
      Caption = '无新消息'
      Visible = False
    end
    object yDomainParent: TPanel
      Left = 150
      Top = 8
      Width = 60
      Height = 40
      Visible = False
    end
  end
  object PanleLeft: TPanel
    Align = alLeft
    Width = 35
    BevelOuter = bvNone
    object Imageleft: TImage
      Align = alClient
      Stretch = True
    end
    object btnFindFriend: TBitBtnExtend
      Left = 1
      Top = 4
      Width = 33
      Height = 33
      Caption = ''
      Hint = '查找好友'
      ShowHint = True
      Visible = True
      Cursor = crHandPoint
      OnClick = BitBtnExtend1Click
      OnMouseEnter = LeftButtonMouseEnter
      OnMouseLeave = LeftButtonMouseLeave
    end
    object btnTuiGuang: TBitBtnExtend
      Left = 1
      Top = 41
      Width = 33
      Height = 33
      Caption = ''
      Hint = '网站推广工具'
      ShowHint = True
      Visible = True
      Cursor = crHandPoint
      OnClick = btnTuiGuangClick
      OnMouseEnter = LeftButtonMouseEnter
      OnMouseLeave = LeftButtonMouseLeave
    end
    object btneditinfo: TBitBtnExtend
      Left = 1
      Top = 78
      Width = 33
      Height = 33
      Caption = ''
      Hint = '修改个人信息'
      ShowHint = True
      Visible = True
      Cursor = crHandPoint
      OnClick = btneditinfoClick
      OnMouseEnter = LeftButtonMouseEnter
      OnMouseLeave = LeftButtonMouseLeave
    end
    object yTrade: TBitBtnExtend
      Left = 1
      Top = 115
      Width = 33
      Height = 33
      Caption = ''
      Hint = '贸易'
      ShowHint = True
      Visible = True
      OnClick = yTradeClick
      OnMouseEnter = LeftButtonMouseEnter
      OnMouseLeave = LeftButtonMouseLeave
    end
    object btnMark: TBitBtnExtend
      Left = 1
      Top = 152
      Width = 33
      Height = 33
      Caption = ''
      Hint = '书签'
      ShowHint = True
      Visible = True
      Cursor = crHandPoint
      OnClick = btnmarkClick
      OnMouseEnter = LeftButtonMouseEnter
      OnMouseLeave = LeftButtonMouseLeave
    end
    object yService: TBitBtnExtend
      Left = 1
      Top = 189
      Width = 33
      Height = 33
      Caption = ''
      Hint = '常用服务'
      ShowHint = True
      Visible = True
      Cursor = crHandPoint
      OnClick = yServiceClick
      OnMouseEnter = LeftButtonMouseEnter
      OnMouseLeave = LeftButtonMouseLeave
    end
    object yZiXun: TBitBtnExtend
      Left = 1
      Top = 226
      Width = 33
      Height = 33
      Caption = ''
      Hint = '发布资讯信息'
      ShowHint = True
      Visible = True
      Cursor = crHandPoint
      OnClick = yZiXunClick
      OnMouseEnter = LeftButtonMouseEnter
      OnMouseLeave = LeftButtonMouseLeave
    end
    object btnCheck: TBitBtnExtend
      Left = 1
      Top = 263
      Width = 33
      Height = 33
      Caption = ''
      Hint = '页面检测工具'
      ShowHint = True
      Visible = False
      Cursor = crHandPoint
      OnClick = btnCheckClick
      OnMouseEnter = LeftButtonMouseEnter
      OnMouseLeave = LeftButtonMouseLeave
    end
    object btnLinkTest: TBitBtnExtend
      Left = 1
      Top = 263
      Width = 33
      Height = 33
      Caption = ''
      Hint = '链接检测工具'
      ShowHint = True
      Visible = False
      Cursor = crHandPoint
      OnClick = btnLinkTestClick
      OnMouseEnter = LeftButtonMouseEnter
      OnMouseLeave = LeftButtonMouseLeave
    end
    object ybtnDomain: TBitBtnExtend
      Left = 1
      Top = 263
      Width = 33
      Height = 33
      Caption = ''
      Hint = '域名到期查询'
      ShowHint = True
      Visible = False
      Cursor = crHandPoint
      OnClick = ybtnDomainClick
      OnMouseEnter = LeftButtonMouseEnter
      OnMouseLeave = LeftButtonMouseLeave
    end
  end
  object StatusBar: TStatusBar
    PanelWidths = ('160')
  end
  object PageControl1: TPageControl
    Align = alClient
    Style = tsButtons
    object TabSheet1: TTabSheet
      Caption = '好友列表'
      object yListEnterprise: TListBox
        Align = alTop
        Height = 201
        Style = lbOwnerDrawFixed
        ItemHeight = 40
        PopupMenu = PopupMenu
        OnDrawItem = yListEnterpriseDrawItem
        OnDblClick = yListEnterpriseDblClick
      end
      object Panel2: TPanel
        Align = alClient
        BevelOuter = bvNone
        object Panel4: TPanel
          Align = alTop
          Height = 22
          BevelOuter = bvNone
          object Image3: TImage
            Align = alClient
            Stretch = True
          end
          object Label2: TLabel
            Left = 6
            Top = 4
            Caption = '网页咨询用户'
            Font.Style = [fsBold]
            Transparent = True
          end
        end
        object yListUser: TListBox
          Align = alClient
          Style = lbOwnerDrawFixed
          ItemHeight = 40
          OnDrawItem = yListUserDrawItem
          OnDblClick = yListUserDblClick
        end
        object Panel7: TPanel
          Align = alClient
          BevelOuter = bvNone
          Visible = False
          object WebBrowser1: TWebBrowser
            Align = alClient
          end
        end
      end
      object PanelLogin: TPanel
        Left = 0
        Top = 0
        Width = 10
        Height = 10
        Visible = False
        object WebLogin: TWebBrowser
          Align = alClient
        end
      end
    end
    object TabSheet2: TTabSheet
      Caption = '咨询用户记录'
      object Panel3: TGroupBox
        Align = alClient
        Caption = '历史记录'
        object yMemoReceive: TRichEdit
          Left = 6
          Top = 18
          Width = 170
          Height = 400
          Align = alClient
          ReadOnly = True
          ScrollBars = ssVertical
        end
      end
    end
  end
  object ImageList: TImageList
    Width = 32
    Height = 32
  end
  object PopupMenu: TPopupMenu
    object N5: TMenuItem
      Caption = '查找好友'
      OnClick = N5Click
    end
    object N3: TMenuItem
      Caption = '删除好友'
      OnClick = N3Click
    end
    object N2: TMenuItem
      Caption = '全部取消选中'
      OnClick = N2Click
    end
  end
  object PopupMenuTrayicon: TPopupMenu
    object N4: TMenuItem
      Caption = '还原'
      OnClick = N4Click
    end
    object N1: TMenuItem
      Caption = '退出'
      OnClick = N1Click
    end
  end
  object TrayNotifyIcon: TTrayNotifyIcon
    IconList = ImageList
    CycleInterval = 300
    Icon.Data = {
      0000010001001010100001000400280100001600000028000000100000002000
      00000100040000000000c0000000000000000000000010000000000000000000
      0000b9802900ffffff0000000000000000000000000000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000001
      1111111110000111111111111110011111111111111011111221111221111111
      1221112211111111122112211111111112212211111111111222211111111111
      1222211111111111122122111111111112211221111111111221112211111111
      122111122111011111111111111001111111111111100001111111111000e007
      0000800100008001000000000000000000000000000000000000000000000000
      0000000000000000000000000000000000008001000080010000e0070000}
    IconVisible = True
    IconIndex = 0
    MinimizeToTray = True
    PopupMenu = PopupMenuTrayicon
    WantEnterExitEvents = True
    OnClick = TrayNotifyIconClick
    OnDblClick = TrayNotifyIconDblClick
  end
  object Timer: TTimer
    Interval = 60000
    Enabled = False
    OnTimer = TimerTimer
  end
  object TimerDomain: TTimer
    Interval = 30000
    Enabled = True
    OnTimer = TimerDomainTimer
  end
  object SkinData1: TSkinData
    Active = True
    SkinPack = {
      @BUILTIN_SKIN@}
  end
end
