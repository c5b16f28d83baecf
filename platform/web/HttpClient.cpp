// The HTTP client: one WinINet session per request on a worker thread. The caller waits for
// the worker and also watches it: when WinINet's own time-outs fail to end a silent request,
// the wait closes its handles, so no request outlives its time-outs by more than a few seconds.
#include "platform/web/HttpClient.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <thread>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Thread.h"
#include "platform/web/AntiFreeze.h"
#include "platform/rtl/ThreadStack.h"

namespace {

constexpr size_t kMaxBody = 64u << 20;   // a reply larger than this is refused, not held
constexpr int kDefaultTimeout = 60000;
constexpr DWORD kStallGrace = 5000;      // beyond both time-outs before the wait steps in
constexpr DWORD kAbandonAfter = 1000;    // after cancelling, before leaving the worker to itself

DWORD Ticks() { return GetTickCount(); }

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

std::string THttpResponse::Header(std::string_view name) const {
  for (const auto& h : Headers)
    if (sys::SameText(h.Name, name)) return h.Value;
  return {};
}

struct THttpClient::Job {
  std::string method, url, userAgent, contentType;
  int connectTimeout = 0, readTimeout = 0, redirectMaximum = 0;
  bool handleRedirects = true, useCookies = false, readBody = true;

  std::atomic<DWORD> lastActivity{Ticks()};
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);

  std::mutex lock;  // guards the handles and abortKind
  HINTERNET inet = nullptr, conn = nullptr, req = nullptr;
  THttpErrorKind abortKind = THttpErrorKind::None;

  // Written by the worker before `done` is set.
  THttpResponse response;
  THttpErrorKind error = THttpErrorKind::None;
  std::string message;

  ~Job() {
    CloseAll();
    CloseHandle(done);
  }

  void Touch() { lastActivity = Ticks(); }

  void CloseAll() {
    for (HINTERNET* h : {&req, &conn, &inet})
      if (*h) {
        InternetCloseHandle(*h);
        *h = nullptr;
      }
  }

  // Ends the running WinINet call: closing its handles makes it return with an error.
  void Cancel(THttpErrorKind kind) {
    std::lock_guard<std::mutex> g(lock);
    if (abortKind == THttpErrorKind::None) abortKind = kind;
    CloseAll();
  }

  bool Cancelled() {
    std::lock_guard<std::mutex> g(lock);
    return abortKind != THttpErrorKind::None;
  }

  // Stores a handle that a later Cancel must close; false (and the handle closed) when the
  // request was cancelled meanwhile.
  bool Keep(HINTERNET THttpClient::Job::*slot, HINTERNET h) {
    struct KeepLastError {  // the caller reads WinINet's error after this
      DWORD e = GetLastError();
      ~KeepLastError() { SetLastError(e); }
    } keepError;
    std::lock_guard<std::mutex> g(lock);
    if (abortKind != THttpErrorKind::None) {
      if (h) InternetCloseHandle(h);
      return false;
    }
    this->*slot = h;
    return h != nullptr;
  }

  void CloseRequest() {
    std::lock_guard<std::mutex> g(lock);
    for (HINTERNET* h : {&req, &conn})
      if (*h) {
        InternetCloseHandle(*h);
        *h = nullptr;
      }
  }

  void Fail(THttpErrorKind kind, const std::string& text) {
    {
      std::lock_guard<std::mutex> g(lock);
      if (abortKind != THttpErrorKind::None) {
        kind = abortKind;
        error = kind;
        message = kind == THttpErrorKind::Aborted ? "Request aborted" : "Timed out waiting for " + url;
        return;
      }
    }
    error = kind;
    message = text;
  }

  // Turns the last WinINet error into a failure of the given phase.
  void FailWinInet(const std::string& where) {
    DWORD e = GetLastError();
    switch (e) {
      case ERROR_INTERNET_TIMEOUT:
        return Fail(THttpErrorKind::Timeout, "Timed out waiting for " + where);
      case ERROR_INTERNET_NAME_NOT_RESOLVED:
        return Fail(THttpErrorKind::Connect, "Host not found: " + where);
      case ERROR_INTERNET_CANNOT_CONNECT:
        return Fail(THttpErrorKind::Connect, "Cannot connect to " + where);
      case ERROR_INTERNET_CONNECTION_ABORTED:
      case ERROR_INTERNET_CONNECTION_RESET:
        // Wine reports an expired receive time-out as a closed connection.
        if (Ticks() - lastActivity + 100 >= (DWORD)readTimeout)
          return Fail(THttpErrorKind::Timeout, "Timed out waiting for " + where);
        return Fail(THttpErrorKind::Connect, "Connection closed by " + where);
      case ERROR_INTERNET_INVALID_URL:
      case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
        return Fail(THttpErrorKind::BadUrl, "Invalid address: " + url);
      case ERROR_HTTP_INVALID_SERVER_RESPONSE:
      case ERROR_HTTP_HEADER_NOT_FOUND:
        return Fail(THttpErrorKind::Protocol, "Invalid reply from " + where);
      default:
        return Fail(THttpErrorKind::Connect, sys::Format("Network error %lu with %s", e, where.c_str()));
    }
  }

  void Run();
  bool RunOnce(const std::string& address, bool& redirected, std::string& next);
};

namespace {

void SetTimeouts(HINTERNET h, DWORD connectMs, DWORD readMs) {
  DWORD one = 1;
  InternetSetOptionA(h, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
  InternetSetOptionA(h, INTERNET_OPTION_CONNECT_RETRIES, &one, sizeof one);
  InternetSetOptionA(h, INTERNET_OPTION_SEND_TIMEOUT, &readMs, sizeof readMs);
  InternetSetOptionA(h, INTERNET_OPTION_RECEIVE_TIMEOUT, &readMs, sizeof readMs);
  InternetSetOptionA(h, INTERNET_OPTION_DATA_SEND_TIMEOUT, &readMs, sizeof readMs);
  InternetSetOptionA(h, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &readMs, sizeof readMs);
}

struct CrackedUrl {
  bool secure = false;
  std::string host, pathAndQuery;
  INTERNET_PORT port = 0;
};

bool Crack(const std::string& url, CrackedUrl& out) {
  std::string host(url.size() + 1, '\0'), path(url.size() + 1, '\0'), extra(url.size() + 1, '\0');
  URL_COMPONENTSA uc{};
  uc.dwStructSize = sizeof uc;
  uc.lpszHostName = host.data();
  uc.dwHostNameLength = (DWORD)host.size();
  uc.lpszUrlPath = path.data();
  uc.dwUrlPathLength = (DWORD)path.size();
  uc.lpszExtraInfo = extra.data();
  uc.dwExtraInfoLength = (DWORD)extra.size();
  if (url.empty() || !InternetCrackUrlA(url.c_str(), (DWORD)url.size(), 0, &uc)) return false;
  if (uc.nScheme != INTERNET_SCHEME_HTTP && uc.nScheme != INTERNET_SCHEME_HTTPS) return false;
  host.resize(uc.dwHostNameLength);
  path.resize(uc.dwUrlPathLength);
  extra.resize(uc.dwExtraInfoLength);
  if (host.empty()) return false;
  out.secure = uc.nScheme == INTERNET_SCHEME_HTTPS;
  out.host = host;
  out.port = uc.nPort;
  out.pathAndQuery = (path.empty() ? "/" : path) + extra;
  return true;
}

std::string Combine(const std::string& base, const std::string& relative) {
  DWORD len = (DWORD)(base.size() + relative.size() + 64);
  std::string buf(len, '\0');
  if (!InternetCombineUrlA(base.c_str(), relative.c_str(), buf.data(), &len, ICU_NO_ENCODE)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return relative;
    buf.assign(++len, '\0');
    if (!InternetCombineUrlA(base.c_str(), relative.c_str(), buf.data(), &len, ICU_NO_ENCODE)) return relative;
  }
  buf.resize(len);
  return buf;
}

std::string QueryText(HINTERNET req, DWORD info) {
  DWORD len = 1024;
  std::string buf(len, '\0');
  if (!HttpQueryInfoA(req, info, buf.data(), &len, nullptr)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    buf.assign(len + 1, '\0');
    if (!HttpQueryInfoA(req, info, buf.data(), &len, nullptr)) return {};
  }
  buf.resize(len);
  return buf;
}

// "HTTP/1.1 200 OK\r\nName: value\r\n..." into name/value pairs; the status line is skipped.
std::vector<THttpHeader> ParseHeaders(const std::string& raw) {
  std::vector<THttpHeader> out;
  size_t pos = raw.find("\r\n");
  while (pos != std::string::npos && pos + 2 < raw.size()) {
    size_t start = pos + 2;
    pos = raw.find("\r\n", start);
    std::string line = raw.substr(start, pos == std::string::npos ? std::string::npos : pos - start);
    size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) continue;
    out.push_back({sys::Trim(line.substr(0, colon)), sys::Trim(line.substr(colon + 1))});
  }
  return out;
}

}  // namespace

bool THttpClient::Job::RunOnce(const std::string& address, bool& redirected, std::string& next) {
  redirected = false;
  CrackedUrl u;
  if (!Crack(address, u)) {
    Fail(THttpErrorKind::BadUrl, "Invalid address: " + address);
    return false;
  }
  std::string where = sys::Format("%s:%u", u.host.c_str(), (unsigned)u.port);
  if (!Keep(&Job::conn, InternetConnectA(inet, u.host.c_str(), u.port, nullptr, nullptr,
                                         INTERNET_SERVICE_HTTP, 0, 0))) {
    FailWinInet(where);
    return false;
  }
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_UI | INTERNET_FLAG_KEEP_CONNECTION;
  if (u.secure) flags |= INTERNET_FLAG_SECURE;
  if (!useCookies) flags |= INTERNET_FLAG_NO_COOKIES;
  const char* accept[] = {"*/*", nullptr};
  if (!Keep(&Job::req, HttpOpenRequestA(conn, method.c_str(), u.pathAndQuery.c_str(), "HTTP/1.1", nullptr,
                                        accept, flags, 0))) {
    FailWinInet(where);
    return false;
  }
  SetTimeouts(req, connectTimeout, readTimeout);
  std::string extraHeaders;
  if (!contentType.empty()) extraHeaders = "Content-Type: " + contentType + "\r\n";
  Touch();
  if (!HttpSendRequestA(req, extraHeaders.empty() ? nullptr : extraHeaders.c_str(), (DWORD)extraHeaders.size(),
                        nullptr, 0)) {
    FailWinInet(where);
    return false;
  }
  Touch();

  DWORD status = 0, len = sizeof status;
  if (!HttpQueryInfoA(req, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &len, nullptr)) {
    FailWinInet(where);
    return false;
  }
  response = THttpResponse{};
  response.StatusCode = (int)status;
  response.StatusText = QueryText(req, HTTP_QUERY_STATUS_TEXT);
  response.Headers = ParseHeaders(QueryText(req, HTTP_QUERY_RAW_HEADERS_CRLF));
  response.Url = address;

  std::string location = response.Header("Location");
  if (handleRedirects && IsRedirect(response.StatusCode) && !location.empty()) {
    redirected = true;
    next = Combine(address, location);
    return true;
  }

  if (method != "HEAD" && readBody) {
    char buf[65536];
    for (;;) {
      DWORD got = 0;
      if (!InternetReadFile(req, buf, sizeof buf, &got)) {
        FailWinInet(where);
        return false;
      }
      if (got == 0) break;
      Touch();
      if (response.Body.size() + got > kMaxBody) {
        Fail(THttpErrorKind::Protocol, "Reply body too large from " + where);
        return false;
      }
      response.Body.append(buf, got);
    }
  }
  if (response.StatusCode < 200 || response.StatusCode >= 300) {
    Fail(THttpErrorKind::Status, sys::Format("HTTP/1.1 %d %s", response.StatusCode, response.StatusText.c_str()));
    return false;
  }
  return true;
}

void THttpClient::Job::Run() {
  if (!Keep(&Job::inet, InternetOpenA(userAgent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0))) {
    FailWinInet("the network");
    return;
  }
  SetTimeouts(inet, connectTimeout, readTimeout);
  std::string address = url;
  for (int redirects = 0;; ++redirects) {
    bool redirected = false;
    std::string next;
    if (!RunOnce(address, redirected, next) || !redirected) return;
    CloseRequest();
    if (redirects >= redirectMaximum) {
      Fail(THttpErrorKind::Redirects,
           sys::Format("More than %d redirects, last HTTP/1.1 %d", redirectMaximum, response.StatusCode));
      return;
    }
    address = next;
  }
}

THttpClient::~THttpClient() { Abort(); }

void THttpClient::Abort() {
  std::lock_guard<std::mutex> g(jobLock_);
  if (job_) job_->Cancel(THttpErrorKind::Aborted);
}

THttpResponse THttpClient::Get(const std::string& url) { return Send("GET", url); }

THttpResponse THttpClient::Head(const std::string& url) { return Send("HEAD", url); }

THttpResponse THttpClient::GetStatus(const std::string& url) { return Send("GET", url, false); }

THttpResponse THttpClient::Send(const char* method, const std::string& url, bool readBody) {
  auto job = std::make_shared<Job>();
  job->method = method;
  job->readBody = readBody;
  job->url = url;
  job->userAgent = UserAgent;
  job->contentType = ContentType;
  job->connectTimeout = ConnectTimeout > 0 ? ConnectTimeout : kDefaultTimeout;
  job->readTimeout = ReadTimeout > 0 ? ReadTimeout : kDefaultTimeout;
  job->handleRedirects = HandleRedirects;
  job->redirectMaximum = RedirectMaximum < 0 ? 0 : RedirectMaximum;
  job->useCookies = UseCookies;
  {
    std::lock_guard<std::mutex> g(jobLock_);
    job_ = job;
  }
  std::thread worker([job] {
    job->Run();
    sys::ReleaseUnusedStack();
    SetEvent(job->done);
  });

  const DWORD stallLimit = (DWORD)job->connectTimeout + (DWORD)job->readTimeout + kStallGrace;
  DWORD cancelledAt = 0;
  bool finished = false, quit = false;
  int quitCode = 0;
  for (;;) {
    bool pump = TThread::IsMainThread() && TAntiFreeze::AnyActive();
    DWORD r = pump ? MsgWaitForMultipleObjects(1, &job->done, FALSE, 50, QS_ALLINPUT)
                   : WaitForSingleObject(job->done, 50);
    if (r == WAIT_OBJECT_0) {
      finished = true;
      break;
    }
    if (pump) {
      MSG m;
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
          quit = true;  // handed back to the real message loop afterwards
          quitCode = (int)m.wParam;
          continue;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
    }
    if (!cancelledAt && Ticks() - job->lastActivity > stallLimit) job->Cancel(THttpErrorKind::Timeout);
    if (!cancelledAt && job->Cancelled()) cancelledAt = Ticks();
    if (cancelledAt && Ticks() - cancelledAt > kAbandonAfter)
      break;  // a call blocked inside WinINet ignores closed handles: leave the worker to end on its own
  }
  if (quit) PostQuitMessage(quitCode);
  {
    std::lock_guard<std::mutex> g(jobLock_);
    if (job_ == job) job_.reset();
  }
  if (!finished) {
    worker.detach();
    response_ = THttpResponse{};
    response_.Url = url;
    THttpErrorKind kind;
    {
      std::lock_guard<std::mutex> g(job->lock);
      kind = job->abortKind;
    }
    if (kind == THttpErrorKind::Aborted) throw EHttpError(kind, 0, "Request aborted");
    throw EHttpError(THttpErrorKind::Timeout, 0, "Timed out waiting for " + url);
  }
  worker.join();
  response_ = std::move(job->response);
  if (job->error != THttpErrorKind::None) throw EHttpError(job->error, response_.StatusCode, job->message);
  return response_;
}
