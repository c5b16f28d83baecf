// Name and address look-ups of the asynchronous socket: answered through the hidden window,
// dotted addresses at once.
#include "platform/rtl/SysUtils.h"
#include "socket/AsyncSocket.h"
#include "socket/WinSockApi.h"

void TCustomAsyncSocket::StartDnsLookup(bool reverse, const std::string& text) {
  if (!window_) return ReportError(reverse ? "ReverseDnsLookup: Window not assigned" : "DnsLookup: Window not assigned");
  dnsEarlyReply_ = false;
  if (reverse) {
    u_long addr = SocketResolveHost(text);
    dnsLookupHandle_ = wsapi::WSAAsyncGetHostByAddr(window_, WM_ASYNCGETHOSTBYADDR, reinterpret_cast<const char*>(&addr),
                                                    4, AF_INET, dnsReply_, sizeof dnsReply_);
  } else {
    dnsLookupHandle_ = wsapi::WSAAsyncGetHostByName(window_, WM_ASYNCGETHOSTBYNAME, text.c_str(), dnsReply_,
                                                    sizeof dnsReply_);
  }
  if (!dnsLookupHandle_)
    return ReportErrorFmt("%s: can't start DNS lookup, error #%d", text.c_str(), wsapi::WSAGetLastError());
  if (dnsEarlyReply_) {
    dnsEarlyReply_ = false;
    HandleDnsReply(earlyMsg_, earlyWParam_, earlyLParam_);
  }
}

void TCustomAsyncSocket::DnsLookup(const std::string& hostName) {
  if (hostName.empty()) {
    ReportError("DNS lookup: invalid host name.");
    return FireDnsLookupDone(WSAEINVAL);
  }
  if (dnsLookupHandle_) CancelDnsLookup();
  dnsResult_.clear();
  dnsResultList_.Clear();
  u_long a = wsapi::inet_addr(hostName.c_str());
  if (a != INADDR_NONE) {
    in_addr ia{};
    ia.s_addr = a;
    dnsResult_ = wsapi::inet_ntoa(ia);
    dnsResultList_.Add(dnsResult_);
    return FireDnsLookupDone(0);
  }
  StartDnsLookup(false, hostName);
}

void TCustomAsyncSocket::ReverseDnsLookup(const std::string& hostAddr) {
  if (hostAddr.empty() || hostAddr.size() >= 257) {
    ReportError("ReverseDnsLookup: Invalid host name.");
    return FireDnsLookupDone(WSAEINVAL);
  }
  if (dnsLookupHandle_) CancelDnsLookup();
  dnsResult_.clear();
  dnsResultList_.Clear();
  StartDnsLookup(true, hostAddr);
}

void TCustomAsyncSocket::HandleDnsReply(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!dnsLookupHandle_) {
    dnsEarlyReply_ = true;
    earlyMsg_ = msg;
    earlyWParam_ = wParam;
    earlyLParam_ = lParam;
    return;
  }
  if (reinterpret_cast<HANDLE>(wParam) != dnsLookupHandle_) return;
  dnsLookupHandle_ = nullptr;
  uint16_t err = WSAGETASYNCERROR(lParam);
  if (err == 0) {
    auto* he = reinterpret_cast<hostent*>(dnsReply_);
    if (msg == WM_ASYNCGETHOSTBYNAME) {
      wsapi::AddRef();  // keeps WinSock loaded while the results are converted
      for (char** p = he->h_addr_list; p && *p; ++p) dnsResultList_.Add(wsapi::inet_ntoa(*reinterpret_cast<in_addr*>(*p)));
      wsapi::Release();
      if (dnsResultList_.Count() > 0) dnsResult_ = dnsResultList_[0];
    } else if (he->h_name) {
      dnsResult_ = he->h_name;
      dnsResultList_.Add(dnsResult_);
    }
  }
  FireDnsLookupDone(err);
}

void TCustomAsyncSocket::CancelDnsLookup() {
  if (!dnsLookupHandle_) return;
  if (wsapi::WSACancelAsyncRequest(dnsLookupHandle_) != 0) {
    dnsLookupHandle_ = nullptr;
    return SocketError("WSACancelAsyncRequest");
  }
  dnsLookupHandle_ = nullptr;
  if (!destroying_) FireDnsLookupDone(WSAEINTR);
}
