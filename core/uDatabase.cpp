// The schema of both local databases lives here as data, so creation and the check pass
// build their statements from the same table definitions.
#include "core/uDatabase.h"

#include <windows.h>

#include <functional>
#include <vector>

#include "core/uDataOperate.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct ColumnDef {
  const char* name;
  const char* type;  // "varchar(n)" or "int"
};

struct TableDef {
  const char* name;
  std::vector<ColumnDef> columns;  // after Id
};

const TableDef kConfig{"config",
                       {{"SectionName", "varchar(20)"}, {"KeyName", "varchar(50)"}, {"KeyValue", "varchar(200)"}}};
const TableDef kHostList{"HostList", {{"HostName", "varchar(50)"}, {"HostDescription", "varchar(50)"}}};
const TableDef kJsScriptPath{"JsScriptPath", {{"JsScriptFile", "varchar(50)"}, {"EnterpriseNumber", "varchar(10)"}}};
const TableDef kSelfInfo{"SelfInfo",
                         {{"Username", "varchar(50)"},
                          {"Userpass", "varchar(50)"},
                          {"IsSave", "varchar(50)"},
                          {"HistoryLoginName", "varchar(50)"},
                          {"JsScript", "varchar(50)"}}};
const TableDef kChatMsg{"ChatMsg",
                        {{"ChatDate", "varchar(50)"}, {"ChatMsg", "varchar(250)"}, {"FriendNumber", "varchar(10)"}}};
const TableDef kSelfConfig{"SelfConfig",
                           {{"KeyName", "varchar(50)"}, {"KeyValue", "varchar(250)"}, {"KeyValue1", "varchar(100)"}}};
const TableDef kShortMessage{"ShortMessage", {{"ShortWord", "varchar(50)"}}};
const TableDef kDomainCallDate{"DomainCallDate", {{"DomainName", "varchar(50)"}, {"HintDateNumber", "int"}}};
const TableDef kNetBackRecord{"NetBackRecord",
                              {{"EnterpriseId", "varchar(20)"},
                               {"NetSiteName", "varchar(50)"},
                               {"NetSiteAddress", "varchar(50)"},
                               {"UserName", "varchar(50)"},
                               {"UserPass", "varchar(20)"},
                               {"PostDate", "varchar(10)"},
                               {"NetUrlType", "int"},
                               {"Port", "varchar(50)"}}};

const char* const kShortWords[] = {"我现在正忙，请稍候", "请留下您的联系方式，email或者电话", "谢谢您的建议",
                                   "感谢您的咨询，请问还有什么需要帮忙的吗？"};

// Text compares without regard to case, as the databases always have.
std::string ColumnSql(const ColumnDef& c) {
  std::string type = c.type;
  return std::string(c.name) + "   " + (type == "int" ? type : type + " COLLATE NOCASE");
}

void CreateTable(TDbQuery& q, const TableDef& t) {
  q.Close();
  q.SQL().Clear();
  q.ClearParams();
  q.SQL().Add(std::string("CREATE       TABLE       ") + t.name);
  q.SQL().Add("(       ");
  q.SQL().Add("Id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL,");
  for (size_t i = 0; i < t.columns.size(); ++i)
    q.SQL().Add(ColumnSql(t.columns[i]) + (i + 1 < t.columns.size() ? "," : ""));
  q.SQL().Add(")");
  q.ExecSQL();
}

// Appends rows through an empty data set of the table, posting each.
void AppendRows(TDbQuery& q, const char* table, const std::vector<const char*>& columns,
                const std::vector<std::vector<std::string>>& rows) {
  q.Close();
  q.SQL().Clear();
  q.ClearParams();
  q.SQL().Add(std::string("select * from ") + table + " where 1=0");
  q.Open();
  for (const auto& row : rows) {
    q.Append();
    for (size_t i = 0; i < columns.size(); ++i) q.FieldByName(columns[i]).SetAsString(row[i]);
    q.Post();
  }
  q.Close();
}

void SeedConfig(TDbQuery& q, const std::string& queryPort) {
  std::string web = std::string("http://") + kServiceWebHost;
  AppendRows(q, "config", {"SectionName", "KeyName", "KeyValue"},
             {{"SeoUrl", "QueryUrl", web + queryPort + "/chaxun.asp?domain="},
              {"SeoUrl", "Domainurl", web + "/whois.asp?domain="},
              {"SeoUrl", "EditUserInfoUrl", web + "/user_admin.asp"},
              {"Link", "LinkUserUrl", web + "/user_admin.asp"}});
}

void SeedHostList(TDbQuery& q) {
  AppendRows(q, "HostList", {"HostName", "HostDescription"},
             {{kServiceWebHost, "网通线路"}, {kLocalLineAddress, "本地线路"}, {kSecondLineHost, "双线路"}});
}

void SeedShortMessage(TDbQuery& q) {
  std::vector<std::vector<std::string>> rows;
  for (const char* w : kShortWords) rows.push_back({w});
  AppendRows(q, "ShortMessage", {"ShortWord"}, rows);
}

// A connection and a query over it, both freed together.
// Seconds any connection of the start-up check waits for a file that another program holds
// locked: a locked file must not stall the start for longer than the test connection's time.
constexpr int kOpenTimeout = 5;

struct Session {
  TDbConnection connection{nullptr};
  TDbQuery query{nullptr};
  explicit Session(const std::string& cs) {
    connection.SetConnectionString(cs);
    connection.SetConnectionTimeout(kOpenTimeout);
    query.SetConnection(&connection);
  }
};

bool HasTable(const TStringList& names, const char* table) {
  for (const auto& item : names)
    if (sys::SameText(item.text, table)) return true;
  return false;
}

void CheckJsScriptColumns(TDbQuery& q) {
  q.Close();
  q.SQL().Clear();
  q.ClearParams();
  q.SQL().Add("select * from JsScriptPath where 1=0");
  q.Open();
  // SQLite cannot add a key column to a table; a lost Id comes back as a plain number.
  std::vector<std::string> missing;
  if (!q.FindField("Id")) missing.push_back("Id INTEGER");
  for (const ColumnDef& c : kJsScriptPath.columns)
    if (!q.FindField(c.name)) missing.push_back(ColumnSql(c));
  q.Close();
  for (const std::string& def : missing) {
    q.SQL().Clear();
    q.SQL().Add("Alter Table JsScriptPath  Add Column " + def);
    q.ExecSQL();
  }
}

}  // namespace

std::string DatabaseConnectionString(const std::string& path, const std::string& password) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + TDbConnection::ConnectionStringText(path) +
         ";Jet OLEDB:Database Password=" + TDbConnection::ConnectionStringText(password) + ";";
}

bool FieldExists(TDbQuery& dataSet, const std::string& name) {
  for (int i = 0; i < dataSet.FieldCount(); ++i)
    if (dataSet.Fields(i).FieldName() == name) return true;
  return false;
}

void CreateLocalDatabase(bool isSystem, const std::string& path, const std::string& password) {
  std::string cs = DatabaseConnectionString(path, password);
  try {
    TDbConnection::CreateDatabase(cs);
  } catch (const std::exception&) {
    // The open step that follows reports it. A file that another start made meanwhile is
    // not this one's to remove.
    return;
  }
  try {
    Session s(cs);
    if (isSystem) {
      CreateTable(s.query, kConfig);
      CreateTable(s.query, kHostList);
      SeedConfig(s.query, "");
      SeedHostList(s.query);
    } else {
      for (const TableDef* t :
           {&kJsScriptPath, &kSelfInfo, &kChatMsg, &kSelfConfig, &kShortMessage, &kDomainCallDate, &kNetBackRecord})
        CreateTable(s.query, *t);
      AppendRows(s.query, "SelfConfig", {"KeyName", "KeyValue"}, {{"Line", "网通线路"}});
      SeedShortMessage(s.query);
    }
  } catch (const std::exception&) {
    // A file left half made (a full disk, say) would open without its seed rows, and the
    // next start's check would only add its missing tables: leave none, so the open step
    // that follows reports the failure and the next start makes the file whole.
    sys::RemoveFile(path + "-journal");
    sys::RemoveFile(path);
  }
}

namespace {

void Run(TDbQuery& q, const char* statement) {
  q.Close();
  q.SQL().Clear();
  q.ClearParams();
  q.SQL().Add(statement);
  q.ExecSQL();
}

// A table and its seed rows go in together: a table left without them (a full disk) would
// count as present at every later start, and its rows would never come.
void CreateSeeded(TDbQuery& q, const TableDef& t, const std::function<void(TDbQuery&)>& seed) {
  Run(q, "BEGIN");
  try {
    CreateTable(q, t);
    seed(q);
    Run(q, "COMMIT");
  } catch (const std::exception&) {
    try {
      Run(q, "ROLLBACK");
    } catch (const std::exception&) {
      // Rolled back by the failure itself, or not at all: closing ends any transaction, so
      // none stays open on a connection that the program goes on with.
      q.Connection()->Close();
    }
    throw;
  }
}

// The check over an open connection whose table list `names` holds.
void CheckTables(TDbConnection& connection, const TStringList& names, bool isSystem) {
  TDbQuery q(nullptr);
  q.SetConnection(&connection);
  if (isSystem) {
    if (!HasTable(names, kConfig.name)) CreateSeeded(q, kConfig, [](TDbQuery& s) { SeedConfig(s, ":8018"); });
    if (!HasTable(names, kHostList.name)) CreateSeeded(q, kHostList, SeedHostList);
    return;
  }
  if (!HasTable(names, kJsScriptPath.name))
    CreateTable(q, kJsScriptPath);
  else
    CheckJsScriptColumns(q);
  for (const TableDef* t : {&kSelfInfo, &kChatMsg, &kSelfConfig})
    if (!HasTable(names, t->name)) CreateTable(q, *t);
  if (!HasTable(names, kShortMessage.name)) CreateSeeded(q, kShortMessage, SeedShortMessage);
  for (const TableDef* t : {&kDomainCallDate, &kNetBackRecord})
    if (!HasTable(names, t->name)) CreateTable(q, *t);
}

}  // namespace

void CheckLocalDatabase(bool isSystem, const std::string& path, const std::string& password) {
  try {
    Session s(DatabaseConnectionString(path, password));
    TStringList names;
    s.connection.GetTableNames(names);
    CheckTables(s.connection, names, isSystem);
  } catch (const std::exception&) {
    // The tables after the failing step wait for the next start.
  }
}

bool OpenOrCreateDatabase(TDatabaseInfo& db) { return OpenOrCreateDatabase(db, nullptr); }

bool OpenOrCreateDatabase(TDatabaseInfo& db, TDbConnection* keep) {
  db.ConnectionString = DatabaseConnectionString(db.Path, db.Password);
  TDbConnection test(nullptr);
  test.SetConnectionString(db.ConnectionString);
  test.SetConnectionTimeout(kOpenTimeout);
  bool failed = false;
  if (!sys::FileExists(db.Path)) {
    // A first start may find no DataConfig folder at all.
    sys::ForceDirectories(sys::ExtractFilePath(db.Path));
    CreateLocalDatabase(db.IsSystem, db.Path, db.Password);
  } else {
    // The listing opens the test connection: a file it cannot open is not checked, and its
    // failure is the result (opening again would only wait for the same lock once more).
    // A damaged file counts as one that cannot be opened: nothing is added to it, and it is
    // not handed to the program. The check then works over the same connection and listing.
    TStringList names;
    try {
      test.Open();
      test.CheckWhole();
      test.GetTableNames(names);
    } catch (const std::exception&) {
      test.Close();
      failed = true;
    }
    if (!failed) {
      try {
        CheckTables(test, names, db.IsSystem);
      } catch (const std::exception&) {
        // The tables after the failing step wait for the next start.
      }
    }
  }
  if (!failed) {
    try {
      test.Open();
    } catch (const std::exception&) {
      failed = true;
    }
  }
  if (failed)
    seams::Dialogs().Ask(nullptr, "连接本地数据库出错,请检查数据库设置!", "连接数据库出错", MB_OK | MB_ICONQUESTION);
  db.Opened = test.Connected();
  if (db.Opened && keep) keep->Adopt(test);
  return db.Opened;
}

// Every step past the opening is guarded: a database that is missing, damaged or half made
// must not keep the program from starting.
static void StartStep(const char* what, const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "StartRoutine," + what + "出错");
  }
}

void StartLocalDatabases(const std::string& programFolder) {
  std::string folder = sys::IncludeTrailingBackslash(programFolder);
  SystemDb.Caption = "系统数据库系统";
  SystemDb.Path = folder + "DataConfig\\LocalDb.mdb";
  SystemDb.Password = kDatabasePassword;
  PersonalDb.Caption = "个人信息数据库系统";
  PersonalDb.Path = folder + "DataConfig\\LocalConfig.mdb";
  PersonalDb.Password = kDatabasePassword;

  // The data module's connections take over the tested ones: each file is opened once.
  SystemDb.IsSystem = true;
  if (!OpenOrCreateDatabase(SystemDb, Data ? Data->ADOConnection : nullptr)) WriteErrorLog("本地系统数据库读取出错");
  SystemDb.IsSystem = false;
  if (!OpenOrCreateDatabase(PersonalDb, Data ? Data->AdoConnSecond : nullptr)) WriteErrorLog("本地个人数据库读取出错");

  if (!Data) return;
  // Connected to the file named, whether taken over or opened here.
  auto connect = [](TDbConnection& c, const std::string& cs) {
    if (c.ConnectionString() != cs) c.SetConnectionString(cs);
    c.Open();
  };
  if (SystemDb.Opened)
    StartStep("ReadConfig", [&] {
      connect(*Data->ADOConnection, SystemDb.ConnectionString);
      SeoQueryUrl = Data->ReadConfig("SeoUrl", "QueryUrl");
      DomainQueryUrl = Data->ReadConfig("SeoUrl", "Domainurl");
    });
  if (PersonalDb.Opened)
    StartStep("ReadShortMessages", [&] {
      connect(*Data->AdoConnSecond, PersonalDb.ConnectionString);
      if (ShortWords) {
        ShortWords->Clear();
        Data->ReadShortMessages(*ShortWords);
      }
      Data->ReadDomainHintDate();
    });
}
