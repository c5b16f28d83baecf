// Opening and creating the two local databases at start: a first start, an older file that
// lacks tables and columns, and files that cannot be opened.
#include <gtest/gtest.h>
#include <algorithm>
#include <windows.h>
#include <sqlite3.h>

#include "core/uDataOperate.h"
#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "tests/data/DataFixtures.h"
#include "tests/data/FullDisk.h"

using datatest::RawExec;
using datatest::RawRows;
using Rows = std::vector<std::string>;

namespace {

using Start = datatest::StartedProgram;

// A database file of ours with only the tables a test makes by hand.
void MakeBareFile(const std::string& path, const std::string& password = "mbqe274#") {
  sys::ForceDirectories(sys::ExtractFilePath(path));
  TDbConnection::CreateDatabase(DatabaseConnectionString(path, password));
}

const Rows kPersonalTables = {"ChatMsg",    "DomainCallDate", "JsScriptPath", "NetBackRecord",
                              "SelfConfig", "SelfInfo",       "ShortMessage"};
const Rows kPhrases = {"我现在正忙，请稍候", "请留下您的联系方式，email或者电话", "谢谢您的建议",
                       "感谢您的咨询，请问还有什么需要帮忙的吗？"};

Rows UserTables(const std::string& path) {
  return RawRows(path,
                 "select name from sqlite_master where type='table' and name not like 'sqlite%' and name not like "
                 "'MSys%' order by name collate nocase");
}

}  // namespace

TEST(LocalDatabases, FirstStartCreatesBothFilesWithTablesAndSeeds) {
  Start s;
  ASSERT_FALSE(sys::DirectoryExists(s.folder.File("DataConfig")));
  s.Run();
  EXPECT_TRUE(SystemDb.Opened);
  EXPECT_TRUE(PersonalDb.Opened);
  EXPECT_EQ(SystemDb.ConnectionString,
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + s.System() + ";Jet OLEDB:Database Password=mbqe274#;");
  EXPECT_EQ(SystemDb.Caption, "系统数据库系统");
  EXPECT_EQ(PersonalDb.Caption, "个人信息数据库系统");
  EXPECT_TRUE(s.folder.dialogs.calls.empty());
  EXPECT_TRUE(s.folder.LogTexts().empty());

  std::string web = std::string("http://") + kServiceWebHost;
  EXPECT_EQ(UserTables(s.System()), (Rows{"config", "HostList"}));
  EXPECT_EQ(
      RawRows(s.System(), "select Id, SectionName, KeyName, KeyValue from config order by Id"),
      (Rows{"1|SeoUrl|QueryUrl|" + web + "/chaxun.asp?domain=", "2|SeoUrl|Domainurl|" + web + "/whois.asp?domain=",
            "3|SeoUrl|EditUserInfoUrl|" + web + "/user_admin.asp", "4|Link|LinkUserUrl|" + web + "/user_admin.asp"}));
  EXPECT_EQ(RawRows(s.System(), "select HostName, HostDescription from HostList order by Id"),
            (Rows{std::string(kServiceWebHost) + "|网通线路", std::string(kLocalLineAddress) + "|本地线路",
                  std::string(kSecondLineHost) + "|双线路"}));

  EXPECT_EQ(UserTables(s.Personal()), kPersonalTables);
  EXPECT_EQ(RawRows(s.Personal(), "select KeyName, KeyValue, KeyValue1 from SelfConfig"), (Rows{"Line|网通线路|"}));
  EXPECT_EQ(RawRows(s.Personal(), "select ShortWord from ShortMessage order by Id"), kPhrases);
  EXPECT_EQ(RawRows(s.Personal(), "select name from pragma_table_info('NetBackRecord')"),
            (Rows{"Id", "EnterpriseId", "NetSiteName", "NetSiteAddress", "UserName", "UserPass", "PostDate",
                  "NetUrlType", "Port"}));

  // What the start routine reads from them.
  EXPECT_EQ(SeoQueryUrl, web + "/chaxun.asp?domain=");
  EXPECT_EQ(DomainQueryUrl, web + "/whois.asp?domain=");
  ASSERT_EQ(ShortWords->Count(), 4);
  EXPECT_EQ((*ShortWords)[3], kPhrases[3]);
  EXPECT_EQ(DomainName, "");
  EXPECT_EQ(HintDateNumber, 0);

  // A second start finds everything in place and adds nothing.
  s.Run();
  EXPECT_EQ(RawRows(s.System(), "select count(*) from config"), Rows{"4"});
  EXPECT_EQ(RawRows(s.Personal(), "select count(*) from ShortMessage"), Rows{"4"});
  EXPECT_EQ(ShortWords->Count(), 4);
}

TEST(LocalDatabases, AnOlderFileGetsItsMissingTablesAndColumns) {
  Start s;
  MakeBareFile(s.System());
  RawExec(s.System(),
          "CREATE TABLE HostList (Id INTEGER PRIMARY KEY AUTOINCREMENT, HostName varchar(50), HostDescription "
          "varchar(50));"
          "INSERT INTO HostList (HostName, HostDescription) VALUES ('127.0.0.1', '网通线路')");
  MakeBareFile(s.Personal());
  RawExec(s.Personal(),
          "CREATE TABLE JsScriptPath (Id INTEGER PRIMARY KEY AUTOINCREMENT, JsScriptFile varchar(50));"
          "INSERT INTO JsScriptPath (JsScriptFile) VALUES ('a.js'), ('b.js');"
          // Names that differ only in case count as present: no phrases are added here.
          "CREATE TABLE SHORTMESSAGE (Id INTEGER PRIMARY KEY AUTOINCREMENT, ShortWord varchar(50));"
          "INSERT INTO SHORTMESSAGE (ShortWord) VALUES ('mine');"
          "CREATE TABLE selfinfo (Id INTEGER PRIMARY KEY AUTOINCREMENT, Username, Userpass, IsSave, "
          "HistoryLoginName, JsScript)");
  s.Run();
  ASSERT_TRUE(SystemDb.Opened);
  ASSERT_TRUE(PersonalDb.Opened);

  std::string web = std::string("http://") + kServiceWebHost;
  EXPECT_EQ(RawRows(s.System(), "select KeyValue from config order by Id limit 1"),
            Rows{web + ":8018/chaxun.asp?domain="});
  EXPECT_EQ(RawRows(s.System(), "select count(*) from config"), Rows{"4"});
  EXPECT_EQ(RawRows(s.System(), "select HostName from HostList"), Rows{"127.0.0.1"});

  EXPECT_EQ(UserTables(s.Personal()), (Rows{"ChatMsg", "DomainCallDate", "JsScriptPath", "NetBackRecord", "SelfConfig",
                                            "selfinfo", "SHORTMESSAGE"}));
  EXPECT_EQ(RawRows(s.Personal(), "select Id, JsScriptFile, EnterpriseNumber is null from JsScriptPath order by Id"),
            (Rows{"1|a.js|1", "2|b.js|1"}));
  EXPECT_EQ(RawRows(s.Personal(), "select ShortWord from ShortMessage"), Rows{"mine"});
  // SelfConfig came new and empty: the server line reads as empty.
  EXPECT_EQ(RawRows(s.Personal(), "select count(*) from SelfConfig"), Rows{"0"});
  std::string line = "unchanged";
  s.data->ReadLineConfig(line);
  EXPECT_EQ(line, "unchanged");
  EXPECT_EQ(s.data->GetAddress(), "");
}

TEST(LocalDatabases, FilesThatCannotBeOpenedAreLoggedAndStartGoesOn) {
  struct Case {
    const char* what;
    void (*make)(const std::string& path);
  } cases[] = {
      {"zero bytes", [](const std::string& p) { datatest::WriteBytes(p, ""); }},
      {"random bytes",
       [](const std::string& p) {
         std::string noise;
         for (int i = 0; i < 4096; ++i) noise += (char)((i * 131 + 17) % 256);
         datatest::WriteBytes(p, noise);
       }},
      {"wrong password", [](const std::string& p) { MakeBareFile(p, "other"); }},
      // Its first pages (password, table list) are sound; a later page is not.
      {"a damaged page past the first ones",
       [](const std::string& p) {
         MakeBareFile(p);
         RawExec(p, "CREATE TABLE Filler (Id INTEGER PRIMARY KEY, Text varchar(250));"
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                    "INSERT INTO Filler (Text) SELECT printf('%0200d', i) FROM n");
         std::string bytes = datatest::ReadBytes(p);
         ASSERT_GT(bytes.size(), 8u * 4096);
         for (size_t i = bytes.size() - 4096; i < bytes.size(); ++i) bytes[i] = (char)(i * 7 + 3);
         datatest::WriteBytes(p, bytes);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Start s;
    sys::ForceDirectories(s.folder.File("DataConfig"));
    c.make(s.System());
    c.make(s.Personal());
    std::string before = datatest::ReadBytes(s.Personal());
    s.Run();
    EXPECT_FALSE(SystemDb.Opened);
    EXPECT_FALSE(PersonalDb.Opened);
    EXPECT_EQ(s.folder.LogTexts(), (Rows{"本地系统数据库读取出错", "本地个人数据库读取出错"}));
    ASSERT_EQ(s.folder.dialogs.calls.size(), 2u);
    EXPECT_EQ(s.folder.dialogs.calls[0].text, "连接本地数据库出错,请检查数据库设置!");
    EXPECT_EQ(s.folder.dialogs.calls[0].caption, "连接数据库出错");
    EXPECT_EQ(s.folder.dialogs.calls[0].flags, (unsigned)(MB_OK | MB_ICONQUESTION));
    EXPECT_EQ(datatest::ReadBytes(s.Personal()), before);
    EXPECT_EQ(SeoQueryUrl, "");
    EXPECT_EQ(ShortWords->Count(), 0);
    // Without its database every operation fails to its caller.
    EXPECT_ANY_THROW(s.data->ReadConfig("SeoUrl", "QueryUrl"));
    std::string line;
    EXPECT_ANY_THROW(s.data->ReadLineConfig(line));
  }
}

// Mend: the table listing used to wait 15 s for a locked file before the 5 s test
// connection waited again, so a locked file stalled the start for about 20 s.
TEST(LocalDatabases, MendALockedFileIsGivenUpWithinTheTestConnectionsTime) {
  datatest::ProgramFolder folder;
  std::string path = folder.File("DataConfig\\LocalConfig.mdb");
  MakeBareFile(path);
  // Another program is writing to the file and holds it locked.
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open_v2(sys::AnsiToUtf8(path).c_str(), &holder, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  TDatabaseInfo db;
  db.Path = path;
  db.Password = kDatabasePassword;
  DWORD start = GetTickCount();
  bool opened = OpenOrCreateDatabase(db);
  DWORD took = GetTickCount() - start;
  sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  EXPECT_FALSE(opened);
  EXPECT_FALSE(db.Opened);
  ASSERT_EQ(folder.dialogs.calls.size(), 1u);
  EXPECT_EQ(folder.dialogs.calls[0].text, "连接本地数据库出错,请检查数据库设置!");
  EXPECT_GE(took, 4000u);  // it did wait for the lock
  EXPECT_LT(took, 9000u) << "waited " << took << " ms";
  // Once the lock is gone, the same file opens and gets its tables.
  EXPECT_TRUE(OpenOrCreateDatabase(db));
  EXPECT_EQ(UserTables(path), kPersonalTables);
}

TEST(LocalDatabases, AFileThatCannotBeMadeIsReportedByTheOpenStep) {
  Start s;
  datatest::WriteBytes(s.folder.File("DataConfig"), "a file where the folder should be");
  s.Run();
  EXPECT_FALSE(SystemDb.Opened);
  EXPECT_FALSE(PersonalDb.Opened);
  EXPECT_EQ(s.folder.dialogs.calls.size(), 2u);
  EXPECT_EQ(s.folder.LogTexts(), (Rows{"本地系统数据库读取出错", "本地个人数据库读取出错"}));
}

// Mend: the path went into the connection string as it is, so a program folder named
// "Karv;Client" cut it at the ';': both databases went into one file "Karv" beside it.
TEST(LocalDatabases, MendAProgramFolderWithASemicolonKeepsItsDatabasesInIt) {
  datatest::ProgramFolder folder;
  std::string program = folder.File("Karv;Client");
  ASSERT_TRUE(sys::ForceDirectories(program));
  SystemDb = PersonalDb = TDatabaseInfo{};
  ShortWords = std::make_unique<TStringList>();
  TOwned<TData> data(CreateForm<TData>(nullptr));
  Data = data.get();
  StartLocalDatabases(program);
  EXPECT_TRUE(SystemDb.Opened);
  EXPECT_TRUE(PersonalDb.Opened);
  EXPECT_TRUE(folder.dialogs.calls.empty());
  EXPECT_FALSE(sys::FileExists(folder.File("Karv")));
  EXPECT_EQ(UserTables(program + "\\DataConfig\\LocalDb.mdb"), (Rows{"config", "HostList"}));
  EXPECT_EQ(UserTables(program + "\\DataConfig\\LocalConfig.mdb"), kPersonalTables);
  EXPECT_EQ(ShortWords->Count(), 4);
  std::string line;
  data->ReadLineConfig(line);
  EXPECT_EQ(line, "网通线路");
  data.reset();
  ShortWords.reset();
}

// Mend: a disk that filled up while a first start made its databases left a file with some
// tables and no seed rows; it opened, and the next start only added the missing tables, so
// the server line stayed empty for good. Wherever the disk fills, there is now either a whole
// file or none, and a file that is not whole is reported by the open step.
TEST(LocalDatabases, MendADiskFillingUpDuringCreationLeavesAWholeFileOrNone) {
  int fills = 0;
  for (int64_t room = 0;; room += 3072) {
    SCOPED_TRACE("bytes left: " + std::to_string(room));
    Start s;
    bool filled;
    {
      datatest::FullDisk disk(room);
      s.Run();
      filled = disk.Filled();
    }
    for (const std::string& path : {s.System(), s.Personal()})
      EXPECT_FALSE(sys::FileExists(path + "-journal")) << path;
    bool systemWhole = sys::FileExists(s.System()) && UserTables(s.System()) == Rows({"config", "HostList"}) &&
                       RawRows(s.System(), "select count(*) from config") == Rows{"4"} &&
                       RawRows(s.System(), "select count(*) from HostList") == Rows{"3"};
    bool personalWhole = sys::FileExists(s.Personal()) && UserTables(s.Personal()) == kPersonalTables &&
                         RawRows(s.Personal(), "select count(*) from SelfConfig") == Rows{"1"} &&
                         RawRows(s.Personal(), "select count(*) from ShortMessage") == Rows{"4"};
    EXPECT_TRUE(systemWhole || !sys::FileExists(s.System()));
    EXPECT_TRUE(personalWhole || !sys::FileExists(s.Personal()));
    EXPECT_EQ(SystemDb.Opened, systemWhole);
    EXPECT_EQ(PersonalDb.Opened, personalWhole);
    if (!filled) {
      EXPECT_TRUE(systemWhole && personalWhole);
      break;
    }
    ++fills;
    // The next start, with room again, makes what is missing whole.
    s.Run();
    EXPECT_EQ(UserTables(s.Personal()), kPersonalTables);
    EXPECT_EQ(RawRows(s.Personal(), "select KeyValue from SelfConfig"), Rows{"网通线路"});
    EXPECT_EQ(RawRows(s.System(), "select count(*) from HostList"), Rows{"3"});
    if (HasFailure()) break;
  }
  EXPECT_GT(fills, 4);
}

// Mend: a creation that fails because the file is there after all (another start made it
// since its absence was seen) leaves that file alone; only a file this creation made and
// could not finish is removed.
TEST(LocalDatabases, MendACreationThatFindsTheFileMadeMeanwhileLeavesItAlone) {
  Start s;
  s.Run();
  ASSERT_TRUE(PersonalDb.Opened);
  s.data.reset();  // nothing holds the file open
  RawExec(s.Personal(), "INSERT INTO ShortMessage (ShortWord) VALUES ('mine')");
  CreateLocalDatabase(false, s.Personal(), kDatabasePassword);
  ASSERT_TRUE(sys::FileExists(s.Personal()));
  EXPECT_EQ(RawRows(s.Personal(), "select count(*) from ShortMessage"), Rows{"5"});
}

// Mend: the check pass made a missing table and then its seed rows one by one; a disk that
// filled up between them left the table with part of its rows or none, and as the table was
// then present no later start added them. A table comes now with all its rows or not at all.
TEST(LocalDatabases, MendADiskFillingUpDuringTheCheckLeavesNoTableWithoutItsRows) {
  int fills = 0;
  for (int64_t room = 0;; room += 1024) {
    SCOPED_TRACE("bytes left: " + std::to_string(room));
    Start s;
    MakeBareFile(s.System());
    MakeBareFile(s.Personal());
    bool filled;
    {
      datatest::FullDisk disk(room);
      s.Run();
      filled = disk.Filled();
    }
    Rows tables = UserTables(s.System());
    for (const auto& [table, rows] : {std::pair{"config", "4"}, std::pair{"HostList", "3"}}) {
      if (std::find(tables.begin(), tables.end(), table) != tables.end()) {
        EXPECT_EQ(RawRows(s.System(), std::string("select count(*) from ") + table), Rows{rows}) << table;
      }
    }
    tables = UserTables(s.Personal());
    if (std::find(tables.begin(), tables.end(), "ShortMessage") != tables.end()) {
      EXPECT_EQ(RawRows(s.Personal(), "select count(*) from ShortMessage"), Rows{"4"});
    }
    if (!filled) break;
    ++fills;
    s.Run();
    EXPECT_EQ(RawRows(s.System(), "select count(*) from config"), Rows{"4"});
    EXPECT_EQ(RawRows(s.System(), "select count(*) from HostList"), Rows{"3"});
    EXPECT_EQ(RawRows(s.Personal(), "select count(*) from ShortMessage"), Rows{"4"});
    if (HasFailure()) break;
  }
  EXPECT_GT(fills, 4);
}

TEST(LocalDatabases, FieldExistsComparesNamesExactly) {
  testing_support::TempDir dir;
  std::string path = dir.File("f.mdb");
  MakeBareFile(path);
  RawExec(path, "CREATE TABLE t (Id INTEGER PRIMARY KEY, JsScriptFile)");
  TDbConnection c(nullptr);
  c.SetConnectionString(DatabaseConnectionString(path, "mbqe274#"));
  TDbQuery q(nullptr);
  q.SetConnection(&c);
  q.SQL().Add("select * from t where 1=0");
  q.Open();
  EXPECT_TRUE(FieldExists(q, "JsScriptFile"));
  EXPECT_FALSE(FieldExists(q, "jsscriptfile"));
  EXPECT_FALSE(FieldExists(q, "EnterpriseNumber"));
}
