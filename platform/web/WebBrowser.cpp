// The pane is a read-only multi-line EDIT window over the browser core.
#include "platform/web/WebBrowser.h"

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner), core_(this) {
  RegisterWebBrowser();
  width_ = 300;
  height_ = 150;
  color_ = clWindow;
  core_.OnLoaded = [this] { ShowPage(); };
  core_.OnDocumentComplete = TDocumentCompleteEvent(this, &TWebBrowser::Completed);
}

void TWebBrowser::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = "EDIT";
  p.Style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
}

HWND TWebBrowser::ParentHandleForCreate() {
  return parent_ || !parentWindow_ ? TWinControl::ParentHandleForCreate() : parentWindow_;
}

void TWebBrowser::SetParentWindow(HWND parent) {
  parentWindow_ = parent;
  if (parent_) return;
  if (handle_) ::SetParent(handle_, parent);
  else if (parent) HandleNeeded();
}

void TWebBrowser::ShowPage() { SetCaption(core_.BodyText()); }

void TWebBrowser::Completed(TObject* sender, const std::string& url) {
  TDocumentCompleteEvent handler = OnDocumentComplete;  // the handler may free this pane
  if (handler) handler(sender, url);
}

void RegisterWebBrowser() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  RegisterProperties(TWebBrowser::StaticClass(), {EventProp("OnDocumentComplete", &TWebBrowser::OnDocumentComplete)});
  RegisterComponentClass<TWebBrowser>();
}
