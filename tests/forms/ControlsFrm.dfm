object ControlsFrm: TControlsFrm
  Width = 400
  Height = 400
  Caption = 'controls'
  object pcMain: TPageControl
    Align = alClient
    Style = tsButtons
    object tsOne: TTabSheet
      Caption = '好友列表'
      object yList: TListBox
        Align = alTop
        Height = 120
        Style = lbOwnerDrawFixed
        ItemHeight = 40
        Items.Strings = (
          '张三'
          '李四')
        OnDrawItem = yListDrawItem
      end
      object yCombo: TComboBox
        Top = 130
        Items.Strings = ('10001' '10002')
        OnKeyPress = yComboKeyPress
      end
    end
    object tsTwo: TTabSheet
      Caption = '咨询用户记录'
      object grpHistory: TGroupBox
        Align = alClient
        Caption = '历史记录'
        object yMemo: TRichEdit
          Align = alClient
          ReadOnly = True
        end
      end
    end
  end
  object sbMain: TStatusBar
    PanelWidths = ('300' '50')
  end
end
