object SoftWareFrm: TSoftWareFrm
  ClientWidth = 640
  ClientHeight = 460
  Caption = '常用服务'
  Position = poScreenCenter
  Visible = False
  Font.Name = '宋体'
  Font.Size = 9
  OnCreate = FormCreate
  object Panel1: TPanel
    Align = alClient
    BevelOuter = bvNone
    object WebBrowserTool: TWebBrowser
      Align = alClient
    end
  end
end
