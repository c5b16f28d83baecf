// The window tests' world; see WebToolsWorld.h.
#include "tests/webtools/WebToolsWorld.h"

#include <windows.h>

#include "core/uDatabase.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysUtils.h"
#include "tests/client/ClientProcess.h"
#include "tests/support/TestApplication.h"
#include "webtools/SeoInfo.h"

void WebToolsWorld::SetUp() {
  testing_support::TestApplication();
  RegisterWebTools();
  dialogSeam_ = std::make_unique<seams::ScopedSeam<seams::IDialogs>>(&dialogs_);
  shellSeam_ = std::make_unique<seams::ScopedSeam<seams::IShell>>(&shell_);
  SetErrorLogPath(dir_.File("Client.log"));
  InitializeSettingsUnit(dir_.File("Client.ini"));
  IniFile->WriteString("Logininfo", "WhoisHost", Host());
  PersonalDb = TDatabaseInfo{};
  PersonalDb.Path = dir_.File("DataConfig\\LocalConfig.mdb");
  PersonalDb.Password = kDatabasePassword;
  ASSERT_TRUE(OpenOrCreateDatabase(PersonalDb));
  data_.reset(CreateForm<TData>(nullptr));
  Data = data_.get();
  LoginData.Username = "10001";
  stub_.Start();
}

void WebToolsWorld::TearDown() {
  stub_.Stop();
  data_.reset();
  Data = nullptr;
  PersonalDb = TDatabaseInfo{};
  FinalizeSettingsUnit();
  SetErrorLogPath("");
  shellSeam_.reset();
  dialogSeam_.reset();
}

std::string WebToolsWorld::Boxes() const {
  std::string s;
  for (const auto& c : dialogs_.calls) s += (s.empty() ? "" : "|") + c.text;
  return s;
}

std::string WebToolsWorld::WhoisDay(int days) {
  static const char* const kMonths[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
  dt::Parts p = dt::Decode(dt::Date() + days);
  return sys::Format("%02d-%s-%04d", p.day, kMonths[p.month - 1], p.year);
}

std::string WebToolsWorld::IsoDay(int days) { return dt::DateToStr(dt::Date() + days); }

void WebToolsWorld::Screenshot(void* window, const std::string& name) {
  std::string dir = client_test::BinFolder() + "..\\screenshots\\";
  sys::ForceDirectories(dir);
  HWND h = window ? (HWND)window : GetDesktopWindow();
  // Painted in full before the screen is read.
  if (window) {
    SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
  testing_support::PumpFor(400);
  client_test::SaveWindowShot(h, dir + name);
}
