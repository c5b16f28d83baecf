// The settings unit of Client: the ini file beside the program with its defaults, the
// globals every window shares, the start routine the program block runs before any window
// exists, and the remembered login.
// Contract: the unit owns its globals from InitializeSettingsUnit to FinalizeSettingsUnit;
// callers only borrow them. GUI thread only.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/uDatabase.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/StringList.h"

// Deployment values: the service's web server and the second update server. Tests and the
// run command point the program at loopback addresses instead.
inline constexpr const char* kServiceWebHost = "www.karvell.example";
inline constexpr const char* kUpdateServer2Host = "203.0.113.21";
inline constexpr const char* kDatabasePassword = "mbqe274#";

struct TLoginInfo {
  std::string Host;
  std::string Reserved1;
  std::string Password;  // plain as typed, or the stored Base64 text after LoadLoginInfo
  std::string Reserved2;
  std::string Username;
  std::string IsSave;  // "1" or "0"
  std::string HistoryLoginNames;  // every account, each followed by ","
};

struct TUpdateServer {
  std::string Host;
  int32_t Port = 0;
  std::string Account;
  std::string Password;
  std::string Reserved;
  std::string Caption;
};

extern std::unique_ptr<TIniFile> IniFile;
extern HMODULE PictureLib;
extern TLoginInfo LoginData;
extern bool IsConnected;
extern std::unique_ptr<TStringList> LoginHistory;
extern std::unique_ptr<TStringList> ShortWords;
extern std::unique_ptr<TStringList> HistoryLines;
extern std::unique_ptr<TStringList> ExitLines;
extern std::unique_ptr<TStringList> SplitBuffer;
extern std::unique_ptr<TStringList> CreateLines;
extern std::vector<std::unique_ptr<TObject>> SharedList;
extern std::string CurrentVersion;
extern std::string SiteUrl;
extern std::string SeoQueryUrl;
extern std::string DomainQueryUrl;
extern std::vector<TUpdateServer> UpdateServers;
extern TDatabaseInfo SystemDb;
extern TDatabaseInfo PersonalDb;

// Unit initialisation, before the program block: opens the ini file (the program's path
// with ".ini"; `iniPath` overrides it), writes the defaults when it was missing, and makes
// the unit's lists.
void InitializeSettingsUnit(const std::string& iniPath = "");
// Unit finalisation, after the program block.
void FinalizeSettingsUnit();

bool StartRoutine();
bool LoadPictureLibrary(const std::string& path);
void RemoveStaleUpdate();
std::string ReadIniString(const std::string& section, const std::string& key, const std::string& def);
void SaveFontConfig(const std::string& fontName, const std::string& fontSize, const std::string& fontColor);
void LoadLoginInfo();
void SaveLoginInfo();
