// The data module through which the program reads and writes its two local databases. Each
// operation reopens one of two shared queries on its own statement, so operations must not
// be nested; values always reach the statements as parameters.
// Contract: the global Data names the current module, which its creator owns (the program
// block or the application); callers borrow it. GUI thread only.
#pragma once
#include <string>
#include <vector>

#include "platform/rtl/DataModule.h"
#include "platform/rtl/DateTime.h"

class TDbConnection;
class TDbQuery;
class TStringList;

struct TLineConfig {
  std::string KeyName;
  std::string KeyValue;
};

struct THostLine {
  std::string HostName;
  std::string HostDescription;
};

struct TChatRecord {
  TDateTime ChatDate = 0;
  std::string ChatMsg;
  std::string FriendNumber;
};

struct TSelfInfo {
  std::string Reserved1;
  std::string Reserved2;
  std::string UserPass;
  std::string JsScript;
  std::string Username;
  std::string HistoryLoginName;
  std::string IsSave;
};

struct TNetBackUrl {
  std::string EnterpriseId;
  std::string NetSiteAddress;
  std::string NetSiteName;
  std::string UserName;
  std::string UserPass;
  std::string PostDate;
  std::string NetUrlType;
  int Id = 0;
  std::string Port;
};

// Made with CreateForm<TData>(owner), which runs DataModuleCreate as its OnCreate. Its four
// components are built by the constructor; the module has no form description.
class TData : public TDataModule {
  KARV_CLASS(TData, TDataModule)
 public:
  explicit TData(TComponent* owner);
  ~TData() override;

  TDbConnection* ADOConnection = nullptr;  // system database
  TDbQuery* Adodb = nullptr;
  TDbQuery* ADOSecond = nullptr;
  TDbConnection* AdoConnSecond = nullptr;  // personal database

  // Connects each database whose descriptor says it opened at start.
  void DataModuleCreate(TObject* sender);

  // System database.
  std::string ReadConfig(const std::string& sectionName, const std::string& keyName);
  void ReadHostList(std::vector<THostLine>& lines);
  // The server address of the line chosen in the personal database, or "".
  std::string GetAddress();

  // Personal database.
  void ReadLineConfig(std::string& line);
  void SaveLineConfig1(const TLineConfig& config);
  void ReadShortMessages(TStringList& list);
  void SaveShorMessage(const std::string& word);
  void ReadDomainHintDate();
  void SaveDomaniHintDate(const std::string& domainName, int hintDateNumber);
  // The partner's messages of the last 30 days, in the order they were stored.
  void ReadChatMsg(const std::string& friendNumber, std::vector<TChatRecord>& msgs);
  void SaveChatMsg(const TChatRecord& record);
  void ReadLoginNames(std::string& names);
  void EditUserInfo(TSelfInfo& info, bool load);
  // Mode 0 add, 1 change, 2 delete of CurrentNetBackUrl; UrlType 0 back-end, 1 common,
  // 2 FTP. Result: 0 done, 1 duplicate (add only), 2 failure.
  int SaveNetBackUrl(int mode, int urlType);
  void ReadNetBackUrls(const std::string& enterpriseId, const std::string& urlType, std::vector<TNetBackUrl>& urls);
};

// The global data module, set by whoever creates one; cleared when that TData goes away.
extern TData* Data;

// The saved address the saved-addresses window fills before TData::SaveNetBackUrl.
extern TNetBackUrl CurrentNetBackUrl;
// The domain reminder, filled by TData::ReadDomainHintDate.
extern std::string DomainName;
extern int HintDateNumber;
