object SeoFrm: TSeoFrm
  Width = 805
  Height = 657
  Caption = '网站优化'
  Hint = '页面检测工具'
  Position = poMainFormCenter
  Font.Charset = GB2312_CHARSET
  Font.Name = '宋体'
  Font.Size = 9
  OnShow = FormShow
  object PageControl1: TPageControl
    Align = alClient
    object TabSheet1: TTabSheet
      Caption = '页面检测工具'
      object PageControl2: TPageControl
        Align = alClient
        object TabSheet5: TTabSheet
          Caption = '网页META信息检测工具 '
          object GroupBox1: TGroupBox
            Align = alTop
            Height = 56
            Caption = '网址信息'
            object ybtnStartTest: TButton
              Left = 16
              Top = 20
              Width = 90
              Height = 25
              Caption = '开始检测'
              OnClick = ybtnStartTestClick
            end
          end
          object StatusBar1: TStatusBar
            Align = alBottom
            PanelWidths = ( '50' )
          end
          object yRichMetaLog: TRichEdit
            Align = alClient
            ReadOnly = True
            ScrollBars = ssVertical
            Font.Name = '宋体'
            Font.Size = 12
          end
        end
      end
    end
    object TabSheet2: TTabSheet
      Caption = '链接检测工具'
      object PageControl3: TPageControl
        Align = alClient
        object TabSheet6: TTabSheet
          Caption = '页面坏链接检测'
          object Label1: TLabel
            Left = 16
            Top = 20
            Caption = '输入检测网址:'
          end
          object yBadLinkTest: TEdit
            Left = 104
            Top = 16
            Width = 420
          end
          object btnStartTest: TButton
            Left = 536
            Top = 14
            Width = 90
            Height = 25
            Caption = '开始检测'
            OnClick = btnStartTestClick
          end
          object btnStopTest: TButton
            Left = 636
            Top = 14
            Width = 90
            Height = 25
            Caption = '停止检测'
            OnClick = btnStopTestClick
          end
          object Label2: TLabel
            Left = 16
            Top = 52
            Caption = '检测结果：'
          end
          object yBadLinkcount: TLabel
            Left = 104
            Top = 52
            Caption = '0'
          end
          object ProgressBar1: TProgressBar
            Align = alBottom
            Height = 18
          end
          object MemoBadLink: TMemo
            Left = 16
            Top = 76
            Width = 756
            Height = 460
            ReadOnly = True
            ScrollBars = ssVertical
          end
        end
      end
    end
    object TabSheet3: TTabSheet
      Caption = '网站推广'
      object Panel1: TPanel
        Align = alTop
        Height = 40
        object btnSite: TButton
          Left = 16
          Top = 8
          Width = 110
          Height = 25
          Caption = '网站推广查询'
          OnClick = btnSiteClick
        end
      end
      object StatusBar2: TStatusBar
        Align = alBottom
      end
      object WebBrowser: TWebBrowser
        Align = alClient
      end
    end
    object TabSheet4: TTabSheet
      Caption = '域名到期查询'
      object GroupBox2: TGroupBox
        Left = 16
        Top = 16
        Width = 500
        Height = 200
        Caption = '域名到期信息'
        object btnDomain: TButton
          Left = 20
          Top = 28
          Width = 110
          Height = 25
          Caption = '域名到期查询'
          OnClick = btnDomainClick
        end
        object Label3: TLabel
          Left = 20
          Top = 72
          Caption = '域名:'
        end
        object yDomainName: TLabel
          Left = 120
          Top = 72
          Caption = ''
        end
        object Label4: TLabel
          Left = 20
          Top = 104
          Caption = '域名到期时间：'
        end
        object yDomainTime: TEdit
          Left = 120
          Top = 100
          Width = 160
          ReadOnly = True
        end
        object yDaoqi: TCheckBox
          Left = 300
          Top = 102
          Width = 100
          Caption = '是否到期'
        end
        object Label5: TLabel
          Left = 20
          Top = 140
          Caption = '当前状态：'
        end
        object yWaitDomain: TLabel
          Left = 120
          Top = 140
          Caption = '正在查询域名到期时间，请稍侯.......'
        end
      end
    end
  end
  object AntiFreeze1: TAntiFreeze
  end
end
