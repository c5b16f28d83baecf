// The in-process world of the web-site tools' window tests: the application, the settings
// unit on a temporary ini file (the WHOIS host is the loopback web server), the personal
// database with the global data module, the logged-in account, the loopback web server,
// and scripted message boxes and shell.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "core/uDataOperate.h"
#include "platform/rtl/Component.h"
#include "tests/support/TestSupport.h"
#include "tools/webstub/WebStub.h"

class WebToolsWorld : public testing::Test {
 public:
  // Saves a BMP of the screen's rectangle of `window` (the whole screen for nullptr) under
  // the build's screenshots folder.
  static void Screenshot(void* window, const std::string& name);

 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Url(const std::string& path) const { return stub_.BaseUrl() + path; }
  // The site's address without its scheme, as a user might have stored it.
  std::string Host() const { return stub_.BaseUrl().substr(7); }
  // The texts of the message boxes shown so far, joined by "|".
  std::string Boxes() const;
  // "dd-mon-yyyy" of today + `days`, as the WHOIS page writes it.
  static std::string WhoisDay(int days);
  // "yyyy-mm-dd" of today + `days`.
  static std::string IsoDay(int days);
  testing_support::TempDir dir_;
  testing_support::ScriptedDialogs dialogs_;
  testing_support::RecordingShell shell_;
  TWebStub stub_;
  TOwned<TData> data_;

 private:
  std::unique_ptr<seams::ScopedSeam<seams::IDialogs>> dialogSeam_;
  std::unique_ptr<seams::ScopedSeam<seams::IShell>> shellSeam_;
};
