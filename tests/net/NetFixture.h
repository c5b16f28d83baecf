// A stand-in server on 127.0.0.1 and service clients connected to it, with the error log in
// a temporary folder, for the loopback tests.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/uSocketSvrClient.h"
#include "tests/support/TestSupport.h"
#include "tools/serviceserver/ServiceServer.h"

// Every frame a client's events received, copied.
struct FrameLog {
  std::vector<std::string> frames;
  void Hook(TServiceClient& c);  // every protocol number's event
  std::vector<std::string> Of(uint8_t proto) const;
  TBody Body(size_t i) const { return TBody::OfFrame((const uint8_t*)frames[i].data(), int64_t(frames[i].size())); }
};

class NetTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A client of the stand-in server, not yet connected.
  TServiceClient& NewClient();
  // Connects and waits for the connect event; false when it failed or timed out.
  bool Connect(TServiceClient& c);
  // Connects, logs in with the password's MD5 and waits for the reply; the reply's result.
  int Login(TServiceClient& c, const std::string& account, const std::string& password = "demo");
  // The texts of the error-log lines, without their time stamps.
  std::vector<std::string> LogTexts() const;
  bool Logged(const std::string& text) const;

  testing_support::TempDir dir_;
  stub::TServiceServer server_;
  uint16_t port_ = 0;
  std::vector<std::unique_ptr<TServiceClient>> clients_;
};

// The bytes of a code page 936 string literal with embedded zeros.
inline std::string B(const char* s, size_t n) { return std::string(s, n); }
