#include "platform/db/Connection.h"

#include <sqlite3.h>

#include <memory>

#include "platform/db/DbError.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr const char* kSourceKey = "Data Source";
constexpr const char* kPasswordKey = "Jet OLEDB:Database Password";

std::string ErrorText(sqlite3* db) { return sys::Utf8ToAnsi(db ? sqlite3_errmsg(db) : "out of memory"); }

// Runs one statement that returns nothing; raises on failure.
void Exec(sqlite3* db, const char* sql) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
    std::string msg = sys::Utf8ToAnsi(err ? err : "unknown error");
    sqlite3_free(err);
    throw EDatabaseError(msg);
  }
}

// The program's databases are small and seldom busy: each connection allocates its page
// cache a page at a time and takes its small blocks from the heap, instead of setting aside
// some 130 KB of page slots and lookaside blocks at its opening. Runs before the library's
// first use; later it is refused, harmlessly.
int OpenFile(const std::string& path, int flags, sqlite3** db) {
  static const bool configured = [] {
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
    return true;
  }();
  (void)configured;
  return sqlite3_open_v2(sys::AnsiToUtf8(path).c_str(), db, flags, nullptr);
}

struct OwnedDb {
  sqlite3* db = nullptr;
  ~OwnedDb() { sqlite3_close_v2(db); }
  sqlite3* Release() {
    sqlite3* d = db;
    db = nullptr;
    return d;
  }
};

// The password stored in the file, or false when the file is not a database of ours.
bool StoredPassword(sqlite3* db, std::string& password) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT Value FROM MSysDbInfo WHERE Name='Password'", -1, &st, nullptr) != SQLITE_OK)
    return false;
  bool found = sqlite3_step(st) == SQLITE_ROW;
  if (found) {
    const unsigned char* text = sqlite3_column_text(st, 0);
    password = sys::Utf8ToAnsi(text ? reinterpret_cast<const char*>(text) : "");
  }
  sqlite3_finalize(st);
  return found;
}

}  // namespace

TDbConnection::TDbConnection(TComponent* owner) : TComponent(owner) {}

TDbConnection::~TDbConnection() { Close(); }

void TDbConnection::SetConnectionString(const std::string& s) {
  Close();
  connectionString_ = s;
}

std::string TDbConnection::ConnectionStringValue(const std::string& cs, const std::string& key) {
  size_t pos = 0;
  while (pos < cs.size()) {
    size_t eq = cs.find('=', pos), semi = cs.find(';', pos);
    if (eq == std::string::npos) return "";
    if (semi < eq) {  // a part without a value
      pos = semi + 1;
      continue;
    }
    std::string name = sys::Trim(cs.substr(pos, eq - pos));
    size_t v = eq + 1;
    while (v < cs.size() && cs[v] == ' ') ++v;
    std::string value;
    size_t end;
    if (v < cs.size() && (cs[v] == '"' || cs[v] == '\'')) {
      // Quoted: ';' belongs to the value, a doubled quote stands for one. No trail byte of
      // code page 936 is a quote or ';', so this walks the text byte by byte safely.
      char quote = cs[v];
      size_t i = v + 1;
      for (; i < cs.size(); ++i) {
        if (cs[i] == quote) {
          if (i + 1 < cs.size() && cs[i + 1] == quote) {
            value += quote;
            ++i;
            continue;
          }
          break;
        }
        value += cs[i];
      }
      end = cs.find(';', i);
    } else {
      end = cs.find(';', eq + 1);
      value = cs.substr(eq + 1, (end == std::string::npos ? cs.size() : end) - eq - 1);
    }
    if (sys::SameText(name, key)) return value;
    if (end == std::string::npos) return "";
    pos = end + 1;
  }
  return "";
}

std::string TDbConnection::ConnectionStringText(const std::string& value) {
  bool plain = value.find(';') == std::string::npos && (value.empty() || (value[0] != '"' && value[0] != '\''));
  if (plain) return value;
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void TDbConnection::Open() {
  if (db_) return;
  std::string path = ConnectionStringValue(connectionString_, kSourceKey);
  if (path.empty()) throw EDatabaseError("The connection string names no database file");
  OwnedDb h;
  int rc = OpenFile(path, SQLITE_OPEN_READWRITE, &h.db);
  if (rc != SQLITE_OK) throw EDatabaseError("Could not find file '" + path + "': " + ErrorText(h.db));
  sqlite3_busy_timeout(h.db, timeoutSeconds_ * 1000);
  std::string stored;
  if (!StoredPassword(h.db, stored)) throw EDatabaseError("Unrecognized database format '" + path + "'.");
  if (stored != ConnectionStringValue(connectionString_, kPasswordKey)) throw EDatabaseError("Not a valid password.");
  // A plain file copy of an idle database must be whole: keep the rollback journal.
  Exec(h.db, "PRAGMA journal_mode=DELETE");
  db_ = h.Release();
}

void TDbConnection::Adopt(TDbConnection& other) {
  if (&other == this) return;
  Close();
  connectionString_ = other.connectionString_;
  db_ = other.db_;
  other.db_ = nullptr;
  if (db_) sqlite3_busy_timeout(db_, timeoutSeconds_ * 1000);
}

void TDbConnection::Close() {
  if (!db_) return;
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

sqlite3* TDbConnection::Handle() const {
  if (!db_) throw EDatabaseError("Operation is not allowed when the connection is closed");
  return db_;
}

void TDbConnection::CheckWhole() {
  sqlite3* db = Handle();
  using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;
  auto prepare = [db](const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) throw EDatabaseError(ErrorText(db));
    return Statement(raw, sqlite3_finalize);
  };
  // The check reads every page once. Through the usual cache they would all stay in memory
  // (the heap keeps what the cache gives back), and the program needs few of them.
  Statement size = prepare("PRAGMA cache_size");
  std::string usual = sqlite3_step(size.get()) == SQLITE_ROW ? std::to_string(sqlite3_column_int(size.get(), 0)) : "";
  size.reset();
  Exec(db, "PRAGMA cache_size=8");
  struct Restore {
    sqlite3* db;
    const std::string& usual;
    ~Restore() {
      if (!usual.empty()) sqlite3_exec(db, ("PRAGMA cache_size=" + usual).c_str(), nullptr, nullptr, nullptr);
    }
  } restore{db, usual};
  Statement st = prepare("PRAGMA quick_check(1)");
  if (sqlite3_step(st.get()) != SQLITE_ROW) throw EDatabaseError(ErrorText(db));
  const unsigned char* verdict = sqlite3_column_text(st.get(), 0);
  std::string text = verdict ? reinterpret_cast<const char*>(verdict) : "";
  if (text != "ok") throw EDatabaseError("The database file is damaged: " + sys::Utf8ToAnsi(text));
}

void TDbConnection::GetTableNames(TStringList& names) {
  Open();
  names.Clear();
  sqlite3_stmt* st = nullptr;
  const char* sql =
      "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
      "AND name NOT LIKE 'MSys%' ORDER BY name COLLATE NOCASE";
  if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) throw EDatabaseError(ErrorText(db_));
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW)
    names.Add(sys::Utf8ToAnsi(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))));
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) throw EDatabaseError(ErrorText(db_));
}

void TDbConnection::CreateDatabase(const std::string& cs) {
  std::string path = ConnectionStringValue(cs, kSourceKey);
  if (path.empty()) throw EDatabaseError("The connection string names no database file");
  if (sys::FileExists(path)) throw EDatabaseError("Database already exists.");
  OwnedDb h;
  if (OpenFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &h.db) != SQLITE_OK)
    throw EDatabaseError("Could not create file '" + path + "': " + ErrorText(h.db));
  try {
    Exec(h.db, "PRAGMA journal_mode=DELETE");
    Exec(h.db, "CREATE TABLE MSysDbInfo (Name TEXT PRIMARY KEY, Value TEXT)");
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h.db, "INSERT INTO MSysDbInfo VALUES ('Password', ?)", -1, &st, nullptr) != SQLITE_OK)
      throw EDatabaseError(ErrorText(h.db));
    std::string pw = sys::AnsiToUtf8(ConnectionStringValue(cs, kPasswordKey));
    sqlite3_bind_text(st, 1, pw.c_str(), (int)pw.size(), SQLITE_TRANSIENT);
    int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) throw EDatabaseError(ErrorText(h.db));
  } catch (...) {
    // A half-made file would later read as damaged; leave nothing behind.
    sqlite3_close_v2(h.Release());
    sys::RemoveFile(path + "-journal");
    sys::RemoveFile(path);
    throw;
  }
}
