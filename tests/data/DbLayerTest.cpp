// The data-access layer over SQLite: password check, damaged files, bound parameters,
// editing through data sets, and files that stay whole for a plain copy.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "tests/data/DataFixtures.h"

using datatest::RawRows;

namespace {

std::string Cs(const std::string& path, const std::string& pw = "mbqe274#") {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";Jet OLEDB:Database Password=" + pw + ";";
}

std::string OpenError(const std::string& cs) {
  TDbConnection c(nullptr);
  c.SetConnectionString(cs);
  try {
    c.Open();
  } catch (const EDatabaseError& e) {
    EXPECT_FALSE(c.Connected());
    return e.Message();
  }
  return "";
}

// A database with one table t(Id, Name, Num) over an open connection and query.
struct Db {
  testing_support::TempDir dir;
  std::string path = dir.File("t.mdb");
  TDbConnection conn{nullptr};
  TDbQuery q{nullptr};
  Db() {
    TDbConnection::CreateDatabase(Cs(path));
    conn.SetConnectionString(Cs(path));
    q.SetConnection(&conn);
    Run({"CREATE TABLE t (Id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, Name varchar(50) COLLATE NOCASE, Num int)"});
  }
  void Run(std::initializer_list<std::string> lines) {
    q.Close();
    q.SQL().Clear();
    for (auto& l : lines) q.SQL().Add(l);
    q.ExecSQL();
  }
  void Select(const std::string& sql, const char* param = nullptr, const std::string& value = "") {
    q.Close();
    q.SQL().Clear();
    q.ClearParams();
    q.SQL().Add(sql);
    if (param) q.SetParam(param, value);
    q.Open();
  }
  void Insert(const std::string& name, int num) {
    Select("select * from t where 1=0");
    q.Append();
    q.FieldByName("Name").SetAsString(name);
    q.FieldByName("Num").SetAsInteger(num);
    q.Post();
  }
};

}  // namespace

TEST(DbConnection, ReadsPathAndPasswordOutOfTheConnectionString) {
  struct Case {
    const char* cs;
    const char* key;
    const char* value;
  } cases[] = {
      {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\a\\b.mdb;Jet OLEDB:Database Password=mbqe274#;", "Data Source",
       "C:\\a\\b.mdb"},
      {"Provider=X;Data Source=C:\\a\\b.mdb;Jet OLEDB:Database Password=mbqe274#;", "jet oledb:database password",
       "mbqe274#"},
      {"Provider=X; Data Source =C:\\中文\\b.mdb", "Data Source", "C:\\中文\\b.mdb"},
      {"Provider=X;Data Source=C:\\b.mdb;", "Jet OLEDB:Database Password", ""},
      {"Provider=X;Data Source=a=b.mdb", "Data Source", "a=b.mdb"},
      // Quoted values keep their ';' (mended: a path was cut there).
      {"Provider=X;Data Source=\"C:\\a;b\\c.mdb\";Jet OLEDB:Database Password=p;", "Data Source", "C:\\a;b\\c.mdb"},
      {"Provider=X;Data Source=\"C:\\a;b\\c.mdb\";Jet OLEDB:Database Password=p;", "Jet OLEDB:Database Password", "p"},
      {"Provider=X;Data Source= 'it''s;x' ;", "Data Source", "it's;x"},
  };
  for (const Case& c : cases) EXPECT_EQ(TDbConnection::ConnectionStringValue(c.cs, c.key), c.value) << c.cs;
}

TEST(DbConnection, OpensOnlyItsOwnFilesWithTheRightPassword) {
  testing_support::TempDir dir;
  std::string good = dir.File("good.mdb");
  TDbConnection::CreateDatabase(Cs(good));
  EXPECT_EQ(OpenError(Cs(good)), "");
  EXPECT_EQ(OpenError(Cs(good, "MBQE274#")), "Not a valid password.");
  EXPECT_EQ(OpenError(Cs(good, "")), "Not a valid password.");

  datatest::WriteBytes(dir.File("zero.mdb"), "");
  std::string noise;
  for (int i = 0; i < 5000; ++i) noise += (char)(i * 7919 % 251);
  datatest::WriteBytes(dir.File("noise.mdb"), noise);
  datatest::WriteBytes(dir.File("foreign.mdb"), "");
  datatest::RawExec(dir.File("foreign.mdb"), "CREATE TABLE x (a)");
  for (const char* name : {"zero.mdb", "noise.mdb", "foreign.mdb"}) {
    EXPECT_NE(OpenError(Cs(dir.File(name))).find("Unrecognized database format"), std::string::npos) << name;
  }
  // Opening must not have changed the damaged files.
  EXPECT_EQ(datatest::ReadBytes(dir.File("noise.mdb")), noise);
  EXPECT_EQ(datatest::ReadBytes(dir.File("zero.mdb")), "");

  EXPECT_NE(OpenError(Cs(dir.File("missing.mdb"))), "");
  EXPECT_FALSE(sys::FileExists(dir.File("missing.mdb")));
  EXPECT_NE(OpenError("Provider=Microsoft.Jet.OLEDB.4.0;"), "");
}

TEST(DbConnection, TakingOverAConnectionMovesItsOpenFile) {
  Db db;
  db.Insert("甲", 1);
  TDbConnection keeper(nullptr);
  keeper.SetConnectionString(Cs(db.dir.File("other.mdb")));
  keeper.Adopt(db.conn);
  EXPECT_FALSE(db.conn.Connected());
  ASSERT_TRUE(keeper.Connected());
  EXPECT_EQ(keeper.ConnectionString(), Cs(db.path));
  TDbQuery q(nullptr);
  q.SetConnection(&keeper);
  q.SQL().Add("select Name from t");
  q.Open();
  EXPECT_EQ(q.FieldByName("Name").AsString(), "甲");
  q.Close();
  keeper.Adopt(keeper);  // itself: stays as it is
  EXPECT_TRUE(keeper.Connected());
}

TEST(DbConnection, CreateRefusesAnExistingFileAndAMissingFolder) {
  testing_support::TempDir dir;
  std::string path = dir.File("a.mdb");
  datatest::WriteBytes(path, "keep");
  EXPECT_THROW(TDbConnection::CreateDatabase(Cs(path)), EDatabaseError);
  EXPECT_EQ(datatest::ReadBytes(path), "keep");
  EXPECT_THROW(TDbConnection::CreateDatabase(Cs(dir.File("no\\such\\a.mdb"))), EDatabaseError);
  EXPECT_FALSE(sys::DirectoryExists(dir.File("no")));
}

TEST(DbConnection, ListsUserTablesOnly) {
  Db db;
  db.Run({"CREATE TABLE Zeta (Id INTEGER PRIMARY KEY AUTOINCREMENT, a)"});
  db.Insert("x", 1);  // makes sqlite_sequence
  TStringList names;
  db.conn.GetTableNames(names);
  ASSERT_EQ(names.Count(), 2);
  EXPECT_EQ(names[0], "t");
  EXPECT_EQ(names[1], "Zeta");
}

TEST(DbQuery, ValuesTravelAsParametersAndTextIsStoredAsUtf8) {
  Db db;
  const std::string values[] = {"O'Brien", "a'); DROP TABLE t; --", "中文网站", "\"quoted\"", ""};
  for (const std::string& v : values) db.Insert(v, 7);
  for (const std::string& v : values) {
    db.Select("select * from t where Name=:Name", "name", v);
    ASSERT_EQ(db.q.RecordCount(), 1) << v;
    EXPECT_EQ(db.q.FieldByName("NAME").AsString(), v);
    EXPECT_EQ(db.q.FieldByName("num").AsInteger(), 7);
  }
  // "中文网站" in UTF-8, as other SQLite programs read it.
  EXPECT_EQ(RawRows(db.path, "select hex(Name) from t where Id=3"),
            std::vector<std::string>{"E4B8ADE69687E7BD91E7AB99"});
}

TEST(DbQuery, TextComparesWithoutRegardToCase) {
  Db db;
  db.Insert("WWW.Example.COM", 1);
  db.Select("select * from t where Name=:n", "n", "www.example.com");
  EXPECT_EQ(db.q.RecordCount(), 1);
}

TEST(DbQuery, AppendAndEditStoreRowsAndKeepTheCursorOnThem) {
  Db db;
  db.Insert("first", 1);
  db.Insert("second", 2);
  EXPECT_EQ(db.q.FieldByName("Id").AsInteger(), 2);  // the posted row, with its new number
  EXPECT_EQ(db.q.FieldByName("Name").AsString(), "second");

  db.Select("select Num, Name from t order by Id");
  db.q.Next();
  db.q.Edit();
  db.q.FieldByName("Num").SetAsInteger(20);
  db.q.Post();
  EXPECT_EQ(db.q.FieldByName("Num").AsInteger(), 20);
  EXPECT_EQ(RawRows(db.path, "select Id, Name, Num from t order by Id"),
            (std::vector<std::string>{"1|first|1", "2|second|20"}));

  db.q.First();
  db.q.Edit();
  db.q.FieldByName("Name").SetAsString("changed");
  db.q.Cancel();
  EXPECT_EQ(db.q.FieldByName("Name").AsString(), "first");
}

TEST(DbQuery, PastTheLastRowFieldsAreEmpty) {
  Db db;
  db.Select("select * from t where 1=0");
  EXPECT_TRUE(db.q.Eof());
  EXPECT_EQ(db.q.FieldByName("Name").AsString(), "");
  EXPECT_EQ(db.q.FieldByName("Num").AsInteger(), 0);
  EXPECT_THROW(db.q.Edit(), EDatabaseError);
}

TEST(DbQuery, MisuseIsRefusedWithAnError) {
  Db db;
  db.Insert("a", 1);
  db.Select("select * from t");
  EXPECT_THROW(db.q.FieldByName("Nope"), EDatabaseError);
  EXPECT_THROW(db.q.FieldByName("Name").SetAsString("x"), EDatabaseError);  // not editing

  db.Select("select a.Name, b.Num from t a, t b");  // two tables: rows can be read only
  EXPECT_FALSE(db.q.CanModify());
  EXPECT_THROW(db.q.Append(), EDatabaseError);

  db.Select("select Name || 'x' as Shown, Num from t");
  db.q.Edit();
  EXPECT_THROW(db.q.FieldByName("Shown").SetAsString("y"), EDatabaseError);
  db.q.Cancel();

  db.q.Close();
  db.q.SQL().Clear();
  db.q.SQL().Add("select * from t where Name=:Missing");
  EXPECT_THROW(db.q.Open(), EDatabaseError);

  db.q.SQL().Clear();
  db.q.SQL().Add("delete from t where Id=2; drop table t");
  EXPECT_THROW(db.q.ExecSQL(), EDatabaseError);
  EXPECT_EQ(RawRows(db.path, "select count(*) from t"), std::vector<std::string>{"1"});

  TDbQuery lone(nullptr);
  lone.SQL().Add("select 1");
  EXPECT_THROW(lone.Open(), EDatabaseError);
}

TEST(DbQuery, ExecuteReportsChangedRows) {
  Db db;
  db.Insert("a", 1);
  db.Insert("b", 1);
  db.q.Close();
  db.q.SQL().Clear();
  db.q.SQL().Add("update t set Num=:n");
  db.q.SetParam("n", (int64_t)5);
  EXPECT_EQ(db.q.ExecSQL(), 2);
}

TEST(DbConnection, AnIdleDatabaseCopiesWhole) {
  Db db;
  db.Insert("kept", 1);
  db.Select("select * from t");
  // No transaction stays open and the journal is the rollback kind.
  EXPECT_TRUE(sqlite3_get_autocommit(db.conn.Handle()));
  EXPECT_EQ(RawRows(db.path, "PRAGMA journal_mode"), std::vector<std::string>{"delete"});
  EXPECT_FALSE(sys::FileExists(db.path + "-journal"));
  std::string copy = db.dir.File("copy.mdb");
  datatest::WriteBytes(copy, datatest::ReadBytes(db.path));
  EXPECT_EQ(RawRows(copy, "select Name from t"), std::vector<std::string>{"kept"});
  EXPECT_EQ(OpenError(Cs(copy)), "");
}
