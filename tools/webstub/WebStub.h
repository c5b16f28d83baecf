// A loopback web server standing in for the service's web server, the site under SEO check
// and the outside WHOIS page. It listens on one 127.x.y.z address only, answers each
// connection on its own thread with blocking WinSock, and closes the connection after each
// reply. Tests run it in-process and script it: add or override a page, delay a reply, read
// the recorded requests. Paths are matched without regard to case, as the service's server does.
// The SEO fixture site lies under /seo/, pages that try to break a parser under /hostile/.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

struct TStubRequest {
  std::string Method;  // "GET", "HEAD", ...
  std::string Target;  // path and query as sent
  std::string Path;    // before "?"
  std::string Query;   // after "?", without it
  std::vector<std::pair<std::string, std::string>> Headers;
  // The first header of that name (without regard to case), or empty.
  std::string Header(std::string_view name) const;
  // The value of a query parameter, as sent (not decoded), or empty.
  std::string Param(std::string_view name) const;
};

struct TStubPage {
  int Status = 200;
  std::vector<std::pair<std::string, std::string>> Headers;  // Content-Type defaults to GBK HTML
  std::string Body;
  int DelayMs = 0;  // before anything of the reply is sent
  int BodyDelayMs = 0;  // between the headers and the body
};

using TStubHandler = std::function<TStubPage(const TStubRequest&)>;

class TWebStub {
 public:
  // Binds at once (port 0: a free port); throws Exception for an address outside 127.0.0.0/8
  // or when the address cannot be bound. The built-in pages are installed; call Start to serve.
  explicit TWebStub(const std::string& address = "127.0.0.1", int port = 0);
  ~TWebStub();
  TWebStub(const TWebStub&) = delete;
  TWebStub& operator=(const TWebStub&) = delete;

  void Start();
  // Stops listening, ends running replies (also delayed ones) and joins every thread.
  void Stop();

  const std::string& Address() const { return address_; }
  int Port() const { return port_; }
  std::string BaseUrl() const;  // "http://127.0.0.1:PORT"

  // A target with "?" matches that exact path and query; one without matches the path with
  // any query. An exact match wins over a path match. Replaces what was there.
  void SetPage(const std::string& target, const TStubPage& page);
  void SetHandler(const std::string& target, TStubHandler handler);
  void RemovePage(const std::string& target);
  // Delays every reply for that target (same matching as SetPage) by `ms`.
  void SetDelay(const std::string& target, int ms);
  // The value after "Expiration Date: " on the WHOIS pages, e.g. "05-mar-2027"; empty gives
  // a page without that line. By default ten days from today.
  void SetWhoisExpiry(const std::string& dayMonthYear);
  std::string WhoisExpiry() const;

  std::vector<TStubRequest> Requests() const;
  // How many recorded requests had this path (without regard to case).
  int RequestCount(std::string_view path) const;
  void ClearRequests();

 private:
  void InstallBuiltInPages();
  void InstallSeoSite();
  void AcceptLoop();
  void Serve(uintptr_t client);
  TStubPage Answer(const TStubRequest& request, int& delayMs);
  bool WaitStop(int ms) const;

  std::string address_;
  int port_ = 0;
  uintptr_t listener_;
  void* stopEvent_;
  bool started_ = false;

  mutable std::mutex lock_;
  std::map<std::string, TStubHandler> pages_;  // key: lower-case target
  std::map<std::string, int> delays_;
  std::string whoisExpiry_;
  std::vector<TStubRequest> requests_;

  std::thread acceptThread_;
  struct Connection;
  std::vector<std::unique_ptr<Connection>> connections_;
};
