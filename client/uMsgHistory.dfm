object MsgHistoryFrm: TMsgHistoryFrm
  Width = 696
  Height = 300
  Caption = '离线留言信息'
  Position = poMainFormCenter
  OnShow = FormShow
  OnClose = FormClose
  OnDestroy = FormDestroy
  object Panel1: TPanel
    Align = alClient
    BevelOuter = bvNone
    object yListHistory: TListView
      Align = alClient
      ViewStyle = vsReport
      RowSelect = True
      ReadOnly = True
      Columns.Strings = (
        '序号=50'
        '留言人=100'
        '留言内容=410'
        '留言时间=120')
    end
  end
end
