// Loads run on their own worker threads, which also turn the page into text; the GUI thread
// only takes the finished result from its hidden window. Workers of abandoned loads are
// aborted and joined later, so navigating again never waits for the old request.
#include "platform/web/BrowserCore.h"

#include <atomic>

#include "platform/rtl/MessageWindow.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/WndProcGuard.h"
#include "platform/web/HtmlText.h"
#include "platform/web/HttpClient.h"
#include "platform/rtl/ThreadStack.h"

namespace {

constexpr UINT kLoadedMessage = WM_APP + 0x201;
const char* const kWindowClass = "TBrowserCoreWindow";
const char* const kErrorTitle = "无法显示网页";

}  // namespace

struct TBrowserCore::Load {
  int id = 0;
  std::string url, userAgent;
  int timeout = 0;
  HWND notify = nullptr;
  THttpClient http;
  std::atomic<bool> finished{false};
  // Results, written before the completion message is posted.
  std::string location, bodyText, title, errorText;
  int statusCode = 0;
  bool failed = false;

  void Run() {
    http.UserAgent = userAgent;
    http.ConnectTimeout = http.ReadTimeout = timeout;
    http.UseCookies = true;  // pages of one site see the log-in of an earlier page
    THttpResponse r;
    try {
      r = http.Get(url);
    } catch (const EHttpError& e) {
      r = http.Response();
      failed = true;
      errorText = e.Message();
    }
    location = r.Url.empty() ? url : r.Url;
    statusCode = r.StatusCode;
    if (!r.Body.empty()) {
      std::wstring page = html::DecodePage(r.Body, r.Header("Content-Type"));
      bodyText = sys::WideToAnsi(html::BodyText(page));
      title = sys::WideToAnsi(html::TitleText(page));
    } else if (failed) {
      title = kErrorTitle;
      bodyText = std::string(kErrorTitle) + "\r\n" + errorText;
    }
    PostMessageA(notify, kLoadedMessage, (WPARAM)id, 0);
    finished = true;
  }
};

TBrowserCore::TBrowserCore(TObject* sender) : sender_(sender) {}

HWND TBrowserCore::NotifyWindow() {
  // Made with the first page: a browser that never loads one needs no window of its own.
  if (window_) return window_;
  window_ = CreateMessageWindow(kWindowClass, GuardedWndProc<&TBrowserCore::WindowProc>);
  if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, (LONG_PTR)this);
  return window_;
}

TBrowserCore::~TBrowserCore() {
  for (auto& w : workers_) w.load->http.Abort();
  ReapFinished(true);
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK TBrowserCore::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kLoadedMessage) {
    auto* self = (TBrowserCore*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    if (self) self->Completed((int)wp);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void TBrowserCore::ReapFinished(bool all) {
  for (size_t i = 0; i < workers_.size();) {
    if (all || workers_[i].load->finished) {
      workers_[i].thread.join();
      workers_.erase(workers_.begin() + i);
    } else {
      ++i;
    }
  }
}

void TBrowserCore::Navigate(const std::string& url) {
  ReapFinished(false);
  if (current_) current_->http.Abort();
  auto load = std::make_shared<Load>();
  load->id = ++nextId_;
  load->url = url;
  load->userAgent = UserAgent;
  load->timeout = Timeout;
  load->notify = NotifyWindow();
  current_ = load;
  location_ = url;
  state_ = TReadyState::Loading;
  workers_.push_back({load, std::thread([load] {
                         load->Run();
                         sys::ReleaseUnusedStack();
                       })});
}

void TBrowserCore::Completed(int id) {
  if (!current_ || current_->id != id) return;  // an abandoned load
  std::shared_ptr<Load> load = std::move(current_);
  location_ = load->location;
  bodyText_ = load->bodyText;
  title_ = load->title;
  errorText_ = load->errorText;
  statusCode_ = load->statusCode;
  failed_ = load->failed;
  state_ = TReadyState::Interactive;
  if (OnLoaded) OnLoaded();
  state_ = TReadyState::Complete;
  // Copies: a handler may navigate again, reassign the event or free this core.
  TDocumentCompleteEvent complete = OnDocumentComplete;
  std::string url = location_;
  if (complete) complete(sender_, url);
}
