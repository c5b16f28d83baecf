// The embedded browser pane of the program's windows. This Wine has no HTML engine, so the
// pane fetches its page over HTTP (TBrowserCore) and shows the page's text in a read-only,
// scrolling text window. The document-complete event fires on the GUI thread once the text
// is shown, also after a failed load, whose error text is then shown.
#pragma once
#include "platform/forms/Controls.h"
#include "platform/web/BrowserCore.h"

class TWebBrowser : public TWinControl {
  KARV_CLASS(TWebBrowser, TWinControl)
 public:
  explicit TWebBrowser(TComponent* owner);

  // Starts loading the address; ReadyState is Loading until the page (or its failure) is in.
  void Navigate(const std::string& url) { core_.Navigate(url); }
  TReadyState ReadyState() const { return core_.ReadyState(); }
  bool Busy() const { return core_.Busy(); }
  const std::string& LocationURL() const { return core_.LocationURL(); }
  const std::string& LocationName() const { return core_.Title(); }
  // The document body's inner text, in code page 936.
  const std::string& BodyText() const { return core_.BodyText(); }
  // The last load: status of the reply (0 when none came), whether it failed, and why.
  int StatusCode() const { return core_.StatusCode(); }
  bool LoadFailed() const { return core_.LoadFailed(); }
  const std::string& ErrorText() const { return core_.ErrorText(); }
  // Time-out in ms for connecting and for each wait for data.
  int Timeout() const { return core_.Timeout; }
  void SetTimeout(int ms) { core_.Timeout = ms; }

  // A window of another kind to hold this pane when it has no parent control.
  HWND ParentWindow() const { return parentWindow_; }
  void SetParentWindow(HWND parent);

  TDocumentCompleteEvent OnDocumentComplete;

 protected:
  void CreateParams(TCreateParams& p) override;
  HWND ParentHandleForCreate() override;

 private:
  void ShowPage();
  void Completed(TObject* sender, const std::string& url);

  TBrowserCore core_;
  HWND parentWindow_ = nullptr;
};

// Registers the pane's published properties and its class for form descriptions; the
// constructor does it too, but a description naming TWebBrowser needs it before reading.
void RegisterWebBrowser();
