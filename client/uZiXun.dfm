object ZiXunFrm: TZiXunFrm
  ClientWidth = 640
  ClientHeight = 460
  Caption = '发布资讯'
  Position = poScreenCenter
  Visible = False
  Font.Name = '宋体'
  Font.Size = 9
  object WebZiXun: TWebBrowser
    Align = alClient
  end
  object Timer1: TTimer
    OnTimer = Timer1Timer
    Interval = 5000
  end
end
