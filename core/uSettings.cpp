#include "core/uSettings.h"

#include "core/uDatabase.h"
#include "core/uDataOperate.h"
#include "core/uHelpers.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TimingMarks.h"

std::unique_ptr<TIniFile> IniFile;
HMODULE PictureLib = nullptr;
TLoginInfo LoginData;
bool IsConnected = false;
std::unique_ptr<TStringList> LoginHistory;
std::unique_ptr<TStringList> ShortWords;
std::unique_ptr<TStringList> HistoryLines;
std::unique_ptr<TStringList> ExitLines;
std::unique_ptr<TStringList> SplitBuffer;
std::unique_ptr<TStringList> CreateLines;
std::vector<std::unique_ptr<TObject>> SharedList;
std::string CurrentVersion;
std::string SiteUrl;
std::string SeoQueryUrl;
std::string DomainQueryUrl;
std::vector<TUpdateServer> UpdateServers;
TDatabaseInfo SystemDb;
TDatabaseInfo PersonalDb;

static std::string ProgramFolder() { return sys::ExtractFilePath(sys::ParamStr(0)); }

void InitializeSettingsUnit(const std::string& iniPath) {
  std::string path = iniPath.empty() ? sys::ChangeFileExt(sys::ParamStr(0), ".ini") : iniPath;
  bool existed = sys::FileExists(path);
  IniFile = std::make_unique<TIniFile>(path);
  // What the window procedures catch goes to the error log.
  SetExceptionReporter(&WriteErrorLog);
  if (!existed) {
    // Only a missing file gets the defaults; an existing one is never completed.
    std::string web = kServiceWebHost;
    IniFile->WriteString("LoginInfo", "loginname", "");
    IniFile->WriteString("Logininfo", "jsscript", "");
    IniFile->WriteString("Logininfo", "isSave", "0");
    IniFile->WriteString("Logininfo", "pass", "");
    IniFile->WriteString("Logininfo", "host", web);
    IniFile->WriteString("LoginInfo", "username", "");
    IniFile->WriteString("Logininfo", "port", "8014");
    IniFile->WriteString("LoginInfo", "url", "http://" + web + "/chaxun.asp?domain=");
    IniFile->WriteString("LoginInfo", "DomainUrl", "http://" + web + "/whois.asp?domain=");
  }
  SharedList.clear();
  HistoryLines = std::make_unique<TStringList>();
  ExitLines = std::make_unique<TStringList>();
  SplitBuffer = std::make_unique<TStringList>();
}

void FinalizeSettingsUnit() {
  SetExceptionReporter(nullptr);
  SharedList.clear();
  ServiceClient.reset();
  IniFile.reset();
  LoginHistory.reset();
  ShortWords.reset();
  HistoryLines.reset();
  ExitLines.reset();
  SplitBuffer.reset();
  CreateLines.reset();
  UpdateServers.clear();
  if (PictureLib) {
    FreeLibrary(PictureLib);
    PictureLib = nullptr;
  }
}

bool LoadPictureLibrary(const std::string& path) {
  if (!sys::FileExists(path)) return false;
  // Only its pictures are used: mapped as an image resource, a file planted under its name
  // runs no code in this program.
  HMODULE h = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!h) return false;
  if (PictureLib) FreeLibrary(PictureLib);
  PictureLib = h;
  return true;
}

void RemoveStaleUpdate() {
  std::string stale = ProgramFolder() + "Update\\Client.exe";
  if (sys::FileExists(stale)) sys::RemoveFile(stale);
}

bool StartRoutine() {
  // The picture library is the one thing the program cannot run without.
  timing::Mark("start routine");
  if (!LoadPictureLibrary(ProgramFolder() + "Vandrel.dll")) {
    ShowMsg("", "加载Vandrel.dll文件出错,请重新下载文件");
    return false;
  }
  timing::Mark("picture library loaded");
  RemoveStaleUpdate();
  // The updater's servers; only the captions are read by this program.
  UpdateServers.assign(2, TUpdateServer{});
  UpdateServers[0] = {kServiceWebHost, 21, "volna", "volna4817!", "", "升级服务器1"};
  UpdateServers[1] = {kUpdateServer2Host, 210, "volna", "volna4817!", "", "升级服务器2"};
  ShortWords = std::make_unique<TStringList>();
  CreateLines = std::make_unique<TStringList>();
  LoginHistory = std::make_unique<TStringList>();
  // The one connection; it keeps the data module that exists now.
  std::string host = IniFile->ReadString("Logininfo", "host", "");
  std::string port = IniFile->ReadString("Logininfo", "port", "8014");
  ServiceClient = std::make_unique<TServiceClient>(host, port, Data);
  // Databases: descriptors, open or create, configuration reads; failures are logged.
  {
    timing::Span span("databases opened");
    StartLocalDatabases(ProgramFolder());
  }
  return true;
}

std::string ReadIniString(const std::string& section, const std::string& key, const std::string& def) {
  return IniFile->ReadString(section, key, def);
}

void SaveFontConfig(const std::string& fontName, const std::string& fontSize, const std::string& fontColor) {
  IniFile->WriteString("Font", "FontName", fontName);
  IniFile->WriteString("Font", "FontSize", fontSize);
  IniFile->WriteString("Font", "FontColor", fontColor);
}

void LoadLoginInfo() {
  LoginData.Host = IniFile->ReadString("Logininfo", "host", "");
  if (!PersonalDb.Opened) return;
  LoginData.Username = IniFile->ReadString("Logininfo", "username", "");
  LoginData.Password = IniFile->ReadString("Logininfo", "pass", "");
  LoginData.IsSave = IniFile->ReadString("Logininfo", "isSave", "");
  LoginData.HistoryLoginNames.clear();
  try {
    if (Data) Data->ReadLoginNames(LoginData.HistoryLoginNames);
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "LoadLoginInfo出错");
  }
}

void SaveLoginInfo() {
  IniFile->WriteString("Logininfo", "username", LoginData.Username);
  if (!PersonalDb.Opened) return;
  std::string history;
  for (const auto& item : *LoginHistory) history += item.text + ",";
  // Entries are compared whole: "12" is not in "123,".
  std::string probe = "," + history;
  if (probe.find("," + LoginData.Username + ",") == std::string::npos) history += LoginData.Username + ",";
  if (!Data) return;
  TSelfInfo row;
  row.Username = LoginData.Username;
  row.UserPass = LoginData.Password;
  row.IsSave = LoginData.IsSave;
  row.HistoryLoginName = history;
  try {
    Data->EditUserInfo(row, false);
  } catch (const std::exception& e) {
    // The login itself stands; only its record is lost.
    WriteErrorLog(std::string(e.what()) + "SaveLoginInfo出错");
  }
}
