// The browser pane as a control: built from a form description, showing its page's text,
// the document-complete handler wired by name, and a pane held by a foreign parent window.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/web/WebBrowser.h"
#include "tests/support/TestSupport.h"
#include "tools/webstub/WebStub.h"

namespace {

using testing_support::PumpUntil;

std::string WindowText(HWND h) {
  std::string s(GetWindowTextLengthA(h) + 1, '\0');
  s.resize(GetWindowTextA(h, s.data(), (int)s.size()));
  return s;
}

class TPaneFrm : public TForm {
  KARV_CLASS(TPaneFrm, TForm)
 public:
  using TForm::TForm;
  TPanel* Panel1 = nullptr;
  TWebBrowser* WebBrowserTool = nullptr;
  std::string startUrl;
  std::vector<TObject*> senders;
  std::vector<TReadyState> states;
  std::vector<std::string> shown;
  void FormCreate(TObject*) { WebBrowserTool->Navigate(startUrl); }
  void WebBrowserToolDocumentComplete(TObject* sender, const std::string&) {
    senders.push_back(sender);
    states.push_back(WebBrowserTool->ReadyState());
    shown.push_back(WindowText(WebBrowserTool->Handle()));
  }
  TPublishedTable Published() override {
    return {KARV_FIELD(TPaneFrm, Panel1), KARV_FIELD(TPaneFrm, WebBrowserTool), KARV_HANDLER(TPaneFrm, FormCreate),
            KARV_HANDLER(TPaneFrm, WebBrowserToolDocumentComplete)};
  }
};

const char* const kPaneDescription =
    "object PaneFrm: TPaneFrm\n"
    "  Width = 400\n"
    "  Height = 300\n"
    "  OnCreate = FormCreate\n"
    "  object Panel1: TPanel\n"
    "    Align = alClient\n"
    "    object WebBrowserTool: TWebBrowser\n"
    "      Align = alClient\n"
    "      OnDocumentComplete = WebBrowserToolDocumentComplete\n"
    "    end\n"
    "  end\n"
    "end\n";

class WebBrowserTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static TApplication app;
    Application = &app;
    app.Initialize();
    RegisterWebBrowser();
  }
  void SetUp() override { stub.Start(); }
  TWebStub stub;
};

TEST_F(WebBrowserTest, PaneFromDescriptionShowsItsPage) {
  std::unique_ptr<TPaneFrm> f(new TPaneFrm(nullptr));
  f->startUrl = stub.BaseUrl() + "/UserService.html";
  f->LoadDescription(kPaneDescription);
  f->DoCreate();
  f->Show();
  TWebBrowser* pane = f->WebBrowserTool;
  EXPECT_EQ("TWebBrowser", pane->ClassName());
  EXPECT_EQ(f->Panel1, pane->Parent());
  EXPECT_EQ(TReadyState::Loading, pane->ReadyState());

  ASSERT_TRUE(PumpUntil([&] { return pane->ReadyState() == TReadyState::Complete; }));
  ASSERT_EQ(1u, f->senders.size());
  EXPECT_EQ(pane, f->senders[0]);
  EXPECT_EQ(TReadyState::Complete, f->states[0]);
  EXPECT_EQ("常用服务", f->shown[0]) << "the text is shown before the event";
  EXPECT_EQ("常用服务", pane->BodyText());
  EXPECT_EQ(f->Panel1->ClientWidth(), pane->Width());
  EXPECT_TRUE(IsWindowVisible(pane->Handle()));

  pane->SetVisible(false);  // how the main window hides its advertising pane
  EXPECT_FALSE(IsWindowVisible(pane->Handle()));
}

TEST_F(WebBrowserTest, PaneInAForeignParentWindowReadsWhoisAndShowsFailures) {
  // The WHOIS pane has no owner and lives in the window of a hidden panel of another form.
  TForm host(nullptr);
  TPanel* holder = new TPanel(&host);
  holder->SetParent(&host);
  holder->SetVisible(false);
  TWebBrowser pane(nullptr);
  pane.SetParentWindow(holder->Handle());
  EXPECT_EQ(holder->Handle(), GetParent(pane.Handle()));
  int completed = 0;
  pane.OnDocumentComplete = TDocumentCompleteEvent([&](TObject*, const std::string&) { ++completed; });

  stub.SetWhoisExpiry("05-mar-2027");
  pane.Navigate(stub.BaseUrl() + "/cgi-bin/whois?domain=karv.com");
  ASSERT_TRUE(PumpUntil([&] { return completed == 1; }));
  EXPECT_NE(std::string::npos, pane.BodyText().find("Expiration Date: 05-mar-2027"));

  stub.SetDelay("/cgi-bin/whois", 5000);
  pane.SetTimeout(800);
  pane.Navigate(stub.BaseUrl() + "/cgi-bin/whois?domain=karv.com");
  ASSERT_TRUE(PumpUntil([&] { return completed == 2; }, 4000));
  EXPECT_TRUE(pane.LoadFailed());
  EXPECT_EQ(pane.BodyText(), WindowText(pane.Handle()));
  EXPECT_EQ(0u, WindowText(pane.Handle()).find("无法显示网页"));
}

}  // namespace
