// A connection to one database file, named by a connection string in the form
// "Provider=...;Data Source=<path>;Jet OLEDB:Database Password=<password>;". The file is an
// SQLite database whose password is kept in the table MSysDbInfo; opening checks it, so a
// wrong password, a damaged header and a file of another kind all fail to open (damage
// further in takes CheckWhole).
// The connection owns its SQLite handle and closes it with itself; queries borrow it. One
// thread at a time.
#pragma once
#include <string>

#include "platform/rtl/Component.h"

class TStringList;
struct sqlite3;

class TDbConnection : public TComponent {
  KARV_CLASS(TDbConnection, TComponent)
 public:
  explicit TDbConnection(TComponent* owner);
  ~TDbConnection() override;

  const std::string& ConnectionString() const { return connectionString_; }
  // Closes the connection first when it is open.
  void SetConnectionString(const std::string& s);
  // Seconds to wait for a file that another connection holds locked.
  int ConnectionTimeout() const { return timeoutSeconds_; }
  void SetConnectionTimeout(int seconds) { timeoutSeconds_ = seconds; }

  // Opens the existing file; raises EDatabaseError when it is missing, damaged, not one of
  // ours, or the password does not match.
  void Open();
  void Close();
  bool Connected() const { return db_ != nullptr; }
  // Takes over the other connection's open file and its connection string (closing this
  // one's first); the other is left closed. This connection's timeout applies from now on.
  void Adopt(TDbConnection& other);
  void SetConnected(bool on) { on ? Open() : Close(); }

  // Raises EDatabaseError when SQLite's quick check finds the open file damaged: a file whose
  // first pages are sound still opens, whatever lies behind them.
  void CheckWhole();
  // The names of the user tables, in name order (opens the connection when needed).
  void GetTableNames(TStringList& names);
  // The open handle; raises when the connection is closed.
  sqlite3* Handle() const;

  // Makes a new database file with its password; raises when the file exists or cannot be
  // made (for example because its folder is missing).
  static void CreateDatabase(const std::string& connectionString);
  // One value of the connection string by its key (without regard to case), or "". A value
  // may be put in double or single quotes.
  static std::string ConnectionStringValue(const std::string& connectionString, const std::string& key);
  // A value as it goes into a connection string: as it is, or quoted when it holds a ';'
  // (a folder may be named so) or begins with a quote.
  static std::string ConnectionStringText(const std::string& value);

 private:
  std::string connectionString_;
  int timeoutSeconds_ = 15;
  sqlite3* db_ = nullptr;
};
