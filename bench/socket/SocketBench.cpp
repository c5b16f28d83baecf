// Loopback throughput of TAsyncSocket (the send queue on one side, the data-available path
// on the other, each socket on its own thread with its own message loop) against a plain
// blocking WinSock sender and receiver moving the same bytes in pieces of the same sizes,
// rounds of the two interleaved. Prints both rates (medians) and their ratio.
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "socket/AsyncClientSocket.h"

namespace {

constexpr int64_t kTotal = 256LL * 1024 * 1024;
constexpr int kChunk = 256 * 1024;    // what a sender hands over per call
constexpr int kReadSize = 256 * 1024;  // what the receiver asks for per call
constexpr int kRounds = 5;
constexpr int kBurst = 4;  // chunks the asynchronous sender queues each time its queue drains

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

SOCKET ListenLoopback(unsigned short& port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  listen(s, 1);
  int len = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  port = ntohs(a.sin_port);
  return s;
}

// Blocking sender thread, blocking receiver here.
double BlockingRun(const std::vector<char>& chunk) {
  unsigned short port;
  SOCKET listener = ListenLoopback(port);
  std::thread sender([&] {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    for (int64_t sent = 0; sent < kTotal;) {
      int n = send(s, chunk.data(), kChunk, 0);
      if (n <= 0) break;
      sent += n;
      // A partial send leaves the rest of the chunk for the next call, as the queue does.
      for (int off = n; off < kChunk && sent < kTotal;) {
        int m = send(s, chunk.data() + off, kChunk - off, 0);
        if (m <= 0) break;
        off += m;
        sent += m;
      }
    }
    closesocket(s);
  });
  SOCKET c = accept(listener, nullptr, nullptr);
  std::vector<char> buf(kReadSize);
  LARGE_INTEGER start = Now();
  int64_t got = 0;
  for (int n; got < kTotal && (n = recv(c, buf.data(), kReadSize, 0)) > 0;) got += n;
  LARGE_INTEGER end = Now();
  sender.join();
  closesocket(c);
  closesocket(listener);
  return double(got) / Seconds(start, end);
}

// The asynchronous sender: a TAsyncSocket on its own thread that queues the next chunk each
// time the queue has drained.
void AsyncSender(unsigned short port, const std::vector<char>& chunk, std::atomic<bool>& finished) {
  TAsyncSocket s(nullptr);
  s.SetMultiThreaded(true);
  int64_t queued = 0;
  s.OnDataSent = [&](TObject*, uint16_t) {
    if (queued >= kTotal) {
      if (s.State() == wsConnected) s.Close();
      return;
    }
    for (int i = 0; i < kBurst && queued < kTotal; ++i) {
      s.Send(chunk.data(), kChunk);
      queued += kChunk;
    }
  };
  s.OnSessionClosed = [&](TObject*, uint16_t) { PostQuitMessage(0); };
  s.SetAddr("127.0.0.1");
  s.SetPort(std::to_string(port));
  s.Connect();
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  finished = true;
}

double AsyncRun(const std::vector<char>& chunk) {
  TAsyncSocket server(nullptr);
  server.SetAddr("127.0.0.1");
  server.SetPort("0");
  std::unique_ptr<TAsyncSocket> conn;
  std::vector<char> buf(kReadSize);
  int64_t got = 0;
  LARGE_INTEGER start{}, end{};
  bool done = false;
  server.OnSessionAvailable = [&](TObject*, uint16_t) {
    conn = std::make_unique<TAsyncSocket>(nullptr);
    // The handler reads until nothing waits, as a handler of a busy connection would.
    conn->OnDataAvailable = [&](TObject*, uint16_t) {
      for (int n; (n = conn->Receive(buf.data(), kReadSize)) > 0;) {
        if (got == 0) start = Now();
        got += n;
        if (got >= kTotal && !done) {
          end = Now();
          done = true;
        }
      }
    };
    conn->OnSessionClosed = [&](TObject*, uint16_t) { done = true; };
    conn->Dup(server.Accept());
  };
  server.Listen();
  unsigned short port = (unsigned short)std::stoi(server.GetLocalPortText());
  std::atomic<bool> senderDone{false};
  std::thread sender(AsyncSender, port, std::cref(chunk), std::ref(senderDone));
  MSG m;
  while (!done && GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  // Let the sender see its close through.
  while (!senderDone) {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(1);
  }
  sender.join();
  if (end.QuadPart == 0) end = Now();
  return double(got) / Seconds(start, end);
}

}  // namespace

int main() {
  WSADATA d;
  WSAStartup(MAKEWORD(2, 2), &d);
  std::vector<char> chunk(kChunk);
  for (int i = 0; i < kChunk; ++i) chunk[i] = (char)(i * 7);
  std::vector<double> blocking, async;
  for (int r = 0; r < kRounds; ++r) {
    blocking.push_back(BlockingRun(chunk));
    async.push_back(AsyncRun(chunk));
  }
  std::sort(blocking.begin(), blocking.end());
  std::sort(async.begin(), async.end());
  double b = blocking[kRounds / 2], a = async[kRounds / 2];
  std::printf("loopback %lld MB, sent in %d-byte and read in %d-byte pieces, median of %d rounds\n",
              (long long)(kTotal >> 20), kChunk, kReadSize, kRounds);
  std::printf("  blocking WinSock loop : %8.1f MB/s\n", b / 1048576.0);
  std::printf("  TAsyncSocket          : %8.1f MB/s\n", a / 1048576.0);
  std::printf("  ratio async/blocking  : %8.2f (target >= 0.80)\n", a / b);
  WSACleanup();
  return 0;
}
