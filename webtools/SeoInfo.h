// TSeoFrm: the site-optimisation window. Its four pages run the web-site tools on the
// enterprise's own site (the global SiteUrl): a META and content check of the home page
// with a coloured report, a broken-link test of the page's external links, the service's
// promotion query page in a browser pane, and the domain's expiry date from the outside
// WHOIS page. Created once by the main window and kept; it has a task-bar button of its own.
#pragma once
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"
#include "platform/web/AntiFreeze.h"
#include "platform/web/WebBrowser.h"

class TSeoFrm : public TForm {
  KARV_CLASS(TSeoFrm, TForm)
 public:
  explicit TSeoFrm(TComponent* owner);
  ~TSeoFrm() override;

  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TPageControl* PageControl2 = nullptr;
  TTabSheet* TabSheet5 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TButton* ybtnStartTest = nullptr;
  TRichEdit* yRichMetaLog = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TPageControl* PageControl3 = nullptr;
  TTabSheet* TabSheet6 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* yBadLinkTest = nullptr;
  TButton* btnStartTest = nullptr;
  TButton* btnStopTest = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* yBadLinkcount = nullptr;
  TMemo* MemoBadLink = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TTabSheet* TabSheet3 = nullptr;
  TPanel* Panel1 = nullptr;
  TButton* btnSite = nullptr;
  TWebBrowser* WebBrowser = nullptr;
  TStatusBar* StatusBar2 = nullptr;
  TTabSheet* TabSheet4 = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TButton* btnDomain = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* yDomainName = nullptr;
  TLabel* Label4 = nullptr;
  TEdit* yDomainTime = nullptr;
  TCheckBox* yDaoqi = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* yWaitDomain = nullptr;
  TAntiFreeze* AntiFreeze1 = nullptr;

  void FormShow(TObject* Sender);
  void ybtnStartTestClick(TObject* Sender);
  void btnStartTestClick(TObject* Sender);
  void btnStopTestClick(TObject* Sender);
  void btnSiteClick(TObject* Sender);
  void btnDomainClick(TObject* Sender);
  TPublishedTable Published() override;

  // The main window's log-in to the service's web site, run before the promotion query.
  TNotifyEvent OnOpenServiceUrl;
  bool Testing() const { return testing_; }

 protected:
  void CreateParams(TCreateParams& p) override;
  HWND ParentHandleForCreate() override { return nullptr; }

 private:
  bool testing_ = false;
};

// An address as typed, with "http://" in front when it names no scheme.
std::string WithScheme(const std::string& address);
// The address without its "http://" or "https://".
std::string WithoutScheme(const std::string& address);

// Registers the classes the web-site tools' form descriptions name.
void RegisterWebTools();

extern TSeoFrm* SeoFrm;
