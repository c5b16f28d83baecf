// The in-process world of the chat and friend-dialog tests: the application object, the
// settings unit on a temporary ini file, the personal database in a temporary folder with
// the global data module, the picture library, the stand-in server on 127.0.0.1 and the
// program's one service client logged in to it. Message boxes are scripted.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/uSocketSvrClient.h"
#include "platform/rtl/Seams.h"
#include "tests/support/TestSupport.h"
#include "tools/serviceserver/ServiceServer.h"

class TData;

class ChatWorld : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A further client of the stand-in server, logged in as `account`; nullptr on failure.
  std::unique_ptr<TServiceClient> LoggedInClient(const std::string& account);
  // Logs `c` in; the reply's result, or -1.
  int Login(TServiceClient& c, const std::string& account);
  // The texts of the message boxes shown so far, joined by "|".
  std::string Boxes() const;
  // Runs `step` from a timer every 50 ms while a modal loop (or anything else) pumps,
  // until it returns true.
  static void WhilePumping(std::function<bool()> step) { testing_support::WhilePumping(std::move(step), 50); }
  // Waits, pumping, until the server has received `n` frames of `proto`.
  bool ServerGot(uint8_t proto, size_t n = 1);

  testing_support::TempDir dir_;
  testing_support::ScriptedDialogs dialogs_;
  std::unique_ptr<seams::ScopedSeam<seams::IDialogs>> dialogSeam_;
  stub::TServiceServer server_;
  uint16_t port_ = 0;
  TData* data_ = nullptr;
};
