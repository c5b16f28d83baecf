object ListViewFrm: TListViewFrm
  Width = 400
  Height = 300
  Caption = 'list view'
  object ActionList1: TActionList
    object actSend: TAction
      Caption = '发送'
      ShortCut = 16397
      OnExecute = actSendExecute
    end
  end
  object yList: TListView
    Align = alTop
    Height = 200
    ViewStyle = vsReport
    RowSelect = True
    ReadOnly = True
    Columns.Strings = (
      '帐号=100'
      '企业名称=120'
      '当前状态=80')
  end
  object btnSend: TButton
    Top = 220
    Action = actSend
  end
  object ColorDialog1: TColorDialog
  end
end
