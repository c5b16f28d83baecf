// HTTP client over WinINet: GET and HEAD with connect and read time-outs, a user agent,
// redirects followed by the client itself (so their number is bounded), the status code, the
// response headers and the body bytes. A failure is an EHttpError; a request never hangs.
// Each request runs on a worker thread; the caller waits, and while a TAntiFreeze is active the
// GUI thread keeps dispatching window messages during the wait.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Exception.h"

enum class THttpErrorKind {
  None,
  BadUrl,     // not an http or https address
  Connect,    // host not found, connection refused or reset before a reply
  Timeout,    // connect or read time-out
  Status,     // the server answered with a failing status (4xx, 5xx, an unfollowed 3xx)
  Redirects,  // more redirects than RedirectMaximum
  Protocol,   // a reply that is not HTTP, or a body over the size bound
  Aborted,    // Abort() was called
};

class EHttpError : public Exception {
 public:
  EHttpError(THttpErrorKind kind, int statusCode, const std::string& message)
      : Exception(message), kind_(kind), statusCode_(statusCode) {}
  THttpErrorKind Kind() const { return kind_; }
  // The status of the reply that failed; 0 when no reply came.
  int StatusCode() const { return statusCode_; }

 private:
  THttpErrorKind kind_;
  int statusCode_;
};

struct THttpHeader {
  std::string Name, Value;
};

struct THttpResponse {
  int StatusCode = 0;  // 0 when no reply came
  std::string StatusText;
  std::vector<THttpHeader> Headers;
  std::string Body;  // the bytes as sent (HEAD: empty)
  std::string Url;   // the address that gave this reply, after redirects
  // The value of the first header with that name (without regard to case), or empty.
  std::string Header(std::string_view name) const;
};

class THttpClient {
 public:
  THttpClient() = default;
  THttpClient(const THttpClient&) = delete;
  THttpClient& operator=(const THttpClient&) = delete;
  ~THttpClient();

  std::string UserAgent = "Mozilla/4.0 (compatible)";
  std::string ContentType;  // sent as Content-Type when not empty
  int ConnectTimeout = 30000;  // ms; 0 or less: 60000
  int ReadTimeout = 30000;     // ms without data while waiting for the reply or its body
  bool HandleRedirects = true;
  int RedirectMaximum = 15;
  bool UseCookies = false;  // share the system's cookie store (the browser pane does)

  // Both throw EHttpError on failure; Response() then holds what the failing reply had.
  THttpResponse Get(const std::string& url);
  THttpResponse Head(const std::string& url);
  // A GET that ends at the reply's status and headers: the body is not read (for servers
  // that refuse HEAD). Failures as above; the status decides, not the body.
  THttpResponse GetStatus(const std::string& url);

  // The last reply of the last request (also of a failed one).
  const THttpResponse& Response() const { return response_; }
  int ResponseCode() const { return response_.StatusCode; }

  // From any thread: makes the running request end at once with THttpErrorKind::Aborted.
  void Abort();

  struct Job;

 private:
  THttpResponse Send(const char* method, const std::string& url, bool readBody = true);

  THttpResponse response_;
  std::mutex jobLock_;
  std::shared_ptr<Job> job_;
};
