// The loopback web server: listening, reading one request per connection, routing it to a
// page and writing the reply. The built-in pages live in StubPages.cpp.
#include "tools/webstub/WebStub.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>

#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr size_t kMaxRequestHead = 64 * 1024;
constexpr int kClientReadTimeoutMs = 10000;

struct WinsockUser {
  WinsockUser() {
    WSADATA d;
    WSAStartup(MAKEWORD(2, 2), &d);
  }
  ~WinsockUser() { WSACleanup(); }
};

std::string ReasonOf(int status) {
  switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 307: return "Temporary Redirect";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
  }
}

bool SendAll(SOCKET s, const std::string& data) {
  size_t sent = 0;
  while (sent < data.size()) {
    int n = send(s, data.data() + sent, (int)std::min<size_t>(data.size() - sent, 1 << 20), 0);
    if (n <= 0) return false;
    sent += (size_t)n;
  }
  return true;
}

// Parses "METHOD target HTTP/1.x" and the header lines; false on anything else.
bool ParseRequest(const std::string& head, TStubRequest& r) {
  size_t eol = head.find("\r\n");
  std::string line = head.substr(0, eol);
  size_t a = line.find(' '), b = line.rfind(' ');
  if (a == std::string::npos || b == a || line.compare(b + 1, 5, "HTTP/") != 0) return false;
  r.Method = line.substr(0, a);
  r.Target = line.substr(a + 1, b - a - 1);
  if (r.Target.empty() || r.Target[0] != '/') return false;
  size_t q = r.Target.find('?');
  r.Path = r.Target.substr(0, q);
  r.Query = q == std::string::npos ? "" : r.Target.substr(q + 1);
  while (eol != std::string::npos) {
    size_t start = eol + 2;
    eol = head.find("\r\n", start);
    std::string h = head.substr(start, eol == std::string::npos ? std::string::npos : eol - start);
    size_t colon = h.find(':');
    if (colon == std::string::npos) continue;
    r.Headers.emplace_back(sys::Trim(h.substr(0, colon)), sys::Trim(h.substr(colon + 1)));
  }
  return true;
}

}  // namespace

std::string TStubRequest::Header(std::string_view name) const {
  for (const auto& h : Headers)
    if (sys::SameText(h.first, name)) return h.second;
  return {};
}

std::string TStubRequest::Param(std::string_view name) const {
  size_t pos = 0;
  while (pos <= Query.size()) {
    size_t amp = Query.find('&', pos);
    std::string part = Query.substr(pos, amp == std::string::npos ? std::string::npos : amp - pos);
    size_t eq = part.find('=');
    if (sys::SameText(part.substr(0, eq), name)) return eq == std::string::npos ? "" : part.substr(eq + 1);
    if (amp == std::string::npos) break;
    pos = amp + 1;
  }
  return {};
}

struct TWebStub::Connection {
  SOCKET socket;
  std::atomic<bool> finished{false};
  std::thread thread;
};

TWebStub::TWebStub(const std::string& address, int port) : address_(address) {
  static WinsockUser winsock;
  unsigned long ip = inet_addr(address.c_str());
  if (ip == INADDR_NONE || (ntohl(ip) >> 24) != 127)
    throw Exception("The web stub listens on 127.x.y.z only, not on " + address);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = ip;
  sa.sin_port = htons((u_short)port);
  if (s == INVALID_SOCKET || bind(s, (sockaddr*)&sa, sizeof sa) != 0 || listen(s, SOMAXCONN) != 0) {
    int err = WSAGetLastError();
    if (s != INVALID_SOCKET) closesocket(s);
    throw Exception(sys::Format("Cannot listen on %s:%d (error %d)", address.c_str(), port, err));
  }
  int len = sizeof sa;
  getsockname(s, (sockaddr*)&sa, &len);
  port_ = ntohs(sa.sin_port);
  listener_ = s;
  stopEvent_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  InstallBuiltInPages();
}

TWebStub::~TWebStub() {
  Stop();
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  CloseHandle(stopEvent_);
}

std::string TWebStub::BaseUrl() const { return sys::Format("http://%s:%d", address_.c_str(), port_); }

void TWebStub::Start() {
  if (started_ || listener_ == INVALID_SOCKET) return;  // a stopped stub stays stopped
  started_ = true;
  ResetEvent(stopEvent_);
  acceptThread_ = std::thread([this] { AcceptLoop(); });
}

void TWebStub::Stop() {
  if (!started_) return;
  started_ = false;
  SetEvent(stopEvent_);
  closesocket(listener_);  // ends the blocking accept
  listener_ = INVALID_SOCKET;
  acceptThread_.join();
  std::vector<std::unique_ptr<Connection>> open;
  {
    std::lock_guard<std::mutex> g(lock_);
    open.swap(connections_);
    for (auto& c : open)
      if (!c->finished) shutdown(c->socket, SD_BOTH);  // ends a blocking receive
  }
  for (auto& c : open) c->thread.join();
}

bool TWebStub::WaitStop(int ms) const { return WaitForSingleObject(stopEvent_, (DWORD)ms) == WAIT_OBJECT_0; }

void TWebStub::AcceptLoop() {
  for (;;) {
    SOCKET c = accept(listener_, nullptr, nullptr);
    if (c == INVALID_SOCKET) {
      if (WaitStop(10)) return;
      continue;
    }
    DWORD timeout = kClientReadTimeoutMs;
    setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, (const char*)&timeout, sizeof timeout);
    std::lock_guard<std::mutex> g(lock_);
    for (size_t i = 0; i < connections_.size();) {  // reap the ones that are done
      if (connections_[i]->finished) {
        connections_[i]->thread.join();
        connections_.erase(connections_.begin() + i);
      } else {
        ++i;
      }
    }
    auto conn = std::make_unique<Connection>();
    conn->socket = c;
    Connection* raw = conn.get();
    conn->thread = std::thread([this, raw] {
      Serve(raw->socket);
      std::lock_guard<std::mutex> g2(lock_);
      closesocket(raw->socket);
      raw->finished = true;
    });
    connections_.push_back(std::move(conn));
  }
}

void TWebStub::Serve(uintptr_t client) {
  SOCKET s = client;
  std::string head;
  char buf[4096];
  size_t end;
  while ((end = head.find("\r\n\r\n")) == std::string::npos) {
    if (head.size() > kMaxRequestHead) {
      SendAll(s, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
      return;
    }
    int n = recv(s, buf, sizeof buf, 0);
    if (n <= 0) return;
    head.append(buf, n);
  }
  TStubRequest request;
  if (!ParseRequest(head.substr(0, end), request)) {
    SendAll(s, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    return;
  }
  {
    std::lock_guard<std::mutex> g(lock_);
    requests_.push_back(request);
  }
  int delayMs = 0;
  TStubPage page = Answer(request, delayMs);
  if (delayMs > 0 && WaitStop(delayMs)) return;

  std::string reply = sys::Format("HTTP/1.1 %d %s\r\n", page.Status, ReasonOf(page.Status).c_str());
  bool hasType = false;
  for (const auto& h : page.Headers) {
    if (sys::SameText(h.first, "Content-Type")) hasType = true;
    reply += h.first + ": " + h.second + "\r\n";
  }
  if (!hasType) reply += "Content-Type: text/html; charset=gb2312\r\n";
  reply += "Content-Length: " + std::to_string(page.Body.size()) + "\r\nConnection: close\r\n\r\n";
  if (request.Method != "HEAD" && page.BodyDelayMs <= 0) reply += page.Body;
  if (!SendAll(s, reply)) return;
  if (request.Method != "HEAD" && page.BodyDelayMs > 0) {
    if (WaitStop(page.BodyDelayMs)) return;
    SendAll(s, page.Body);
  }
  shutdown(s, SD_SEND);
}

TStubPage TWebStub::Answer(const TStubRequest& request, int& delayMs) {
  TStubHandler handler;
  {
    std::lock_guard<std::mutex> g(lock_);
    std::string exact = sys::LowerCase(request.Target), path = sys::LowerCase(request.Path);
    auto p = pages_.find(exact);
    if (p == pages_.end()) p = pages_.find(path);
    if (p != pages_.end()) handler = p->second;
    auto d = delays_.find(exact);
    if (d == delays_.end()) d = delays_.find(path);
    delayMs = d == delays_.end() ? 0 : d->second;
  }
  TStubPage page;
  if (handler) {
    page = handler(request);
  } else {
    page.Status = 404;
    page.Body = "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1></body></html>";
  }
  if (page.DelayMs > delayMs) delayMs = page.DelayMs;
  return page;
}

void TWebStub::SetPage(const std::string& target, const TStubPage& page) {
  SetHandler(target, [page](const TStubRequest&) { return page; });
}

void TWebStub::SetHandler(const std::string& target, TStubHandler handler) {
  std::lock_guard<std::mutex> g(lock_);
  pages_[sys::LowerCase(target)] = std::move(handler);
}

void TWebStub::RemovePage(const std::string& target) {
  std::lock_guard<std::mutex> g(lock_);
  pages_.erase(sys::LowerCase(target));
}

void TWebStub::SetDelay(const std::string& target, int ms) {
  std::lock_guard<std::mutex> g(lock_);
  if (ms > 0) delays_[sys::LowerCase(target)] = ms;
  else delays_.erase(sys::LowerCase(target));
}

void TWebStub::SetWhoisExpiry(const std::string& dayMonthYear) {
  std::lock_guard<std::mutex> g(lock_);
  whoisExpiry_ = dayMonthYear;
}

std::string TWebStub::WhoisExpiry() const {
  std::lock_guard<std::mutex> g(lock_);
  return whoisExpiry_;
}

std::vector<TStubRequest> TWebStub::Requests() const {
  std::lock_guard<std::mutex> g(lock_);
  return requests_;
}

int TWebStub::RequestCount(std::string_view path) const {
  std::lock_guard<std::mutex> g(lock_);
  int n = 0;
  for (const auto& r : requests_)
    if (sys::SameText(r.Path, path)) ++n;
  return n;
}

void TWebStub::ClearRequests() {
  std::lock_guard<std::mutex> g(lock_);
  requests_.clear();
}
