// Host, port and protocol resolution and WinSock error texts.
#include "socket/SocketNames.h"

#include "platform/rtl/SysUtils.h"
#include "socket/AsyncSocket.h"
#include "socket/WinSockApi.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Texts of 32 characters or more are no port or protocol.
bool BadShortText(const std::string& s) { return s.empty() || s.size() >= 32; }

}  // namespace

bool IsDottedAddress(const std::string& text) {
  size_t i = 0, n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  for (int group = 0; group < 4; ++group) {
    if (group > 0) {
      if (i >= n || text[i] != '.') return false;
      ++i;
    }
    if (i >= n || !IsDigit(text[i])) return false;
    int value = 0;
    while (i < n && IsDigit(text[i])) {
      value = value * 10 + (text[i] - '0');
      if (value > 255) return false;
      ++i;
    }
  }
  while (i < n && IsBlank(text[i])) ++i;
  return i == n;
}

long SocketAtoi(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i >= text.size() || !IsDigit(text[i])) return -1;
  long value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 0xFFFFFF) return 0xFFFFFF;  // far out of any port or protocol range
  }
  return value;
}

u_long SocketResolveHost(const std::string& host) {
  if (host.empty() || host.size() >= 257)
    throw ESocketException("SocketResolveHost: '" + host + "' Invalid Hostname.");
  if (IsDottedAddress(host)) {
    std::string t = sys::Trim(host);
    u_long a = wsapi::inet_addr(t.c_str());
    if (a == INADDR_NONE && t != "255.255.255.255")
      throw ESocketException("SocketResolveHost: '" + host + "' Invalid IP address.");
    return a;
  }
  hostent* he = wsapi::gethostbyname(host.c_str());
  if (!he || !he->h_addr_list || !he->h_addr_list[0])
    throw ESocketException(sys::Format("SocketResolveHost: Cannot convert host address '%s', Error #%d",
                                       host.c_str(), wsapi::WSAGetLastError()));
  return reinterpret_cast<in_addr*>(he->h_addr_list[0])->s_addr;
}

u_short SocketResolvePort(const std::string& port, const std::string& proto) {
  if (BadShortText(port)) throw ESocketException("SocketResolvePort: Invalid Port.");
  if (BadShortText(proto)) throw ESocketException("SocketResolvePort: Invalid Proto.");
  long n = SocketAtoi(port);
  if (n > 65535) throw ESocketException("SocketResolvePort: Invalid Port.");
  if (n >= 0) return (u_short)n;
  servent* se = wsapi::getservbyname(port.c_str(), proto.c_str());
  if (!se)
    throw ESocketException(sys::Format("SocketResolvePort: Cannot convert port '%s', Error #%d", port.c_str(),
                                       wsapi::WSAGetLastError()));
  return wsapi::ntohs(se->s_port);
}

int SocketResolveProto(const std::string& proto) {
  if (BadShortText(proto)) throw ESocketException("SocketResolveProto: Invalid Protocol.");
  long n = SocketAtoi(proto);
  if (n >= 0) return (int)n;
  std::string p = sys::LowerCase(proto);
  if (p == "tcp") return IPPROTO_TCP;
  if (p == "udp") return IPPROTO_UDP;
  if (p == "raw") return IPPROTO_RAW;
  protoent* pe = wsapi::getprotobyname(p.c_str());
  if (!pe)
    throw ESocketException(sys::Format("SocketResolveProto: Cannot convert protocol '%s', Error #%d",
                                       proto.c_str(), wsapi::WSAGetLastError()));
  return pe->p_proto;
}

std::string SocketErrorDesc(int code) {
  struct Entry {
    int code;
    const char* text;
  };
  static const Entry kTexts[] = {
      {0, "No Error"},
      {10004, "Interrupted system call"},
      {10009, "Bad file number"},
      {10013, "Permission denied"},
      {10014, "Bad address"},
      {10022, "Invalid argument"},
      {10024, "Too many open files"},
      {10035, "Operation would block"},
      {10036, "Operation now in progress"},
      {10037, "Operation already in progress"},
      {10038, "Socket operation on non-socket"},
      {10039, "Destination address required"},
      {10040, "Message too long"},
      {10041, "Protocol wrong type for socket"},
      {10042, "Protocol not available"},
      {10043, "Protocol not supported"},
      {10044, "Socket type not supported"},
      {10045, "Operation not supported on socket"},
      {10046, "Protocol family not supported"},
      {10047, "Address family not supported by protocol family"},
      {10048, "Address already in use"},
      {10049, "Address not available"},
      {10050, "Network is down"},
      {10051, "Network is unreachable"},
      {10052, "Network dropped connection on reset"},
      {10053, "Connection aborted"},
      {10054, "Connection reset by peer"},
      {10055, "No buffer space available"},
      {10056, "Socket is already connected"},
      {10057, "Socket is not connected"},
      {10058, "Can't send after socket shutdown"},
      {10059, "Too many references: can't splice"},
      {10060, "Connection timed out"},
      {10061, "Connection refused"},
      {10062, "Too many levels of symbolic links"},
      {10063, "File name too long"},
      {10064, "Host is down"},
      {10065, "No route to host"},
      {10066, "Directory not empty"},
      {10067, "Too many processes"},
      {10068, "Too many users"},
      {10069, "Disc quota exceeded"},
      {10070, "Stale NFS file handle"},
      {10071, "Too many levels of remote in path"},
      {10091, "Network sub-system is unusable"},
      {10092, "WinSock DLL cannot support this application"},
      {10093, "WinSock not initialized"},
      {11001, "Host not found"},
      {11002, "Non-authoritative host not found"},
      {11003, "Non-recoverable error"},
      {11004, "No Data"},
  };
  for (const Entry& e : kTexts)
    if (e.code == code) return e.text;
  return "Not a WinSock error";
}
