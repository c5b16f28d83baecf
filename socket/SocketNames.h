// Process-wide name, port and protocol resolution of the socket layer, and the texts of
// WinSock error codes. The resolvers look names up synchronously and raise ESocketException.
// Contract: plain functions that keep no state; a look-up blocks the calling thread. Any
// thread.
#pragma once
#include <winsock2.h>

#include <string>

// IPv4 address in network order of a dotted address or a host name.
u_long SocketResolveHost(const std::string& host);
// Port number in host order of a decimal text or a service name.
u_short SocketResolvePort(const std::string& port, const std::string& proto);
// Protocol number of a decimal text or a protocol name ("tcp", "udp", "raw", ...).
int SocketResolveProto(const std::string& proto);
// Four decimal groups of at most 255, separated by dots, with blanks only around the whole.
bool IsDottedAddress(const std::string& text);
// The leading decimal digits of `text` after blanks, or -1 when it does not start with one.
long SocketAtoi(const std::string& text);
// The description of a WinSock error code ("Connection refused").
std::string SocketErrorDesc(int code);
