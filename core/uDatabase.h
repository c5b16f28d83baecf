// The two local databases: their descriptor records, opening and creating them, and the
// check that completes an older file with the tables and columns it lacks.
// Contract: descriptors are plain values; the connections belong to the global data module.
// GUI thread only.
#pragma once
#include <string>

class TDbConnection;
class TDbQuery;

// One local database: where it is, how it is named to the user, and whether it opened.
struct TDatabaseInfo {
  std::string Path;
  std::string Caption;
  std::string Password;
  std::string ConnectionString;
  bool Opened = false;
  bool IsSystem = false;
};

// Seed rows of the server lines besides the service's web server (deployment values).
inline constexpr const char* kLocalLineAddress = "192.168.0.100";
inline constexpr const char* kSecondLineHost = "line2.karvell.example";

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>;Jet OLEDB:Database Password=<password>;"
// (a value holding ';' goes in double quotes)
std::string DatabaseConnectionString(const std::string& path, const std::string& password);

// Completes the descriptor's connection string, creates the file (and its folder) when it is
// missing or adds what an existing file lacks, then tries to open it; sets Opened and
// returns it. A failure to open shows "连接本地数据库出错,请检查数据库设置!".
bool OpenOrCreateDatabase(TDatabaseInfo& db);
// The same; when it opens, `keep` (if given) takes over the tested connection.
bool OpenOrCreateDatabase(TDatabaseInfo& db, TDbConnection* keep);
// Makes the file with the tables and seed rows of one schema. Fails silently: the open
// that follows reports it.
void CreateLocalDatabase(bool isSystem, const std::string& path, const std::string& password);
// Adds the missing tables (with their seeds) and the missing columns of JsScriptPath to an
// existing file; stops silently at the first failure.
void CheckLocalDatabase(bool isSystem, const std::string& path, const std::string& password);

// The start routine's database steps, for the program in `programFolder`: fills SystemDb
// and PersonalDb, opens or creates both files (a failure is written to the error log), and
// through the global data module connects them and reads the query addresses, the
// quick-reply phrases and the domain reminder. Start-up goes on whatever fails here.
void StartLocalDatabases(const std::string& programFolder);

// True when the open data set has a field of exactly that name (case-sensitive).
bool FieldExists(TDbQuery& dataSet, const std::string& name);
