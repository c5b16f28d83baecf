#include "platform/db/Query.h"

#include <sqlite3.h>

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr const char* kRowidColumn = "__rowid__";

std::string ErrorText(sqlite3* db) { return sys::Utf8ToAnsi(sqlite3_errmsg(db)); }

// One prepared statement, finalised when it goes out of scope.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) : db_(db) {
    const char* tail = nullptr;
    std::string utf8 = sys::AnsiToUtf8(sql);
    if (sqlite3_prepare_v2(db, utf8.c_str(), (int)utf8.size(), &st_, &tail) != SQLITE_OK)
      throw EDatabaseError(ErrorText(db));
    if (!st_) throw EDatabaseError("The statement is empty");
    // One statement per call, so that nothing can be smuggled in after it.
    for (; tail && *tail; ++tail)
      if ((unsigned char)*tail > ' ' && *tail != ';')
        throw EDatabaseError("Characters found after end of SQL statement.");
  }
  ~Statement() { sqlite3_finalize(st_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return st_; }
  void Bind(int index, const TDbValue& v) {
    int rc = SQLITE_OK;
    switch (v.GetKind()) {
      case TDbValue::Kind::Null:
        rc = sqlite3_bind_null(st_, index);
        break;
      case TDbValue::Kind::Integer:
        rc = sqlite3_bind_int64(st_, index, v.AsInt64());
        break;
      case TDbValue::Kind::Float:
        rc = sqlite3_bind_double(st_, index, v.AsFloat());
        break;
      case TDbValue::Kind::Text: {
        std::string utf8 = sys::AnsiToUtf8(v.AsString());
        rc = sqlite3_bind_text(st_, index, utf8.data(), (int)utf8.size(), SQLITE_TRANSIENT);
        break;
      }
    }
    if (rc != SQLITE_OK) throw EDatabaseError(ErrorText(db_));
  }
  // Steps once; true while a row is there.
  bool Step() {
    int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw EDatabaseError(ErrorText(db_));
  }
  TDbValue Column(int i) const {
    switch (sqlite3_column_type(st_, i)) {
      case SQLITE_NULL:
        return TDbValue();
      case SQLITE_INTEGER:
        return TDbValue::FromInteger(sqlite3_column_int64(st_, i));
      case SQLITE_FLOAT:
        return TDbValue::FromFloat(sqlite3_column_double(st_, i));
      default: {
        const char* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, i));
        return TDbValue::FromText(sys::Utf8ToAnsi(std::string(p ? p : "", sqlite3_column_bytes(st_, i))));
      }
    }
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* st_ = nullptr;
};

// The columns of a table as declared, or nothing when there is no such table.
std::vector<std::string> TableColumns(sqlite3* db, const std::string& table) {
  std::vector<std::string> cols;
  Statement st(db, "PRAGMA table_info(" + sqltext::QuoteIdentifier(table) + ")");
  while (st.Step()) cols.push_back(st.Column(1).AsString());
  return cols;
}

}  // namespace

const TDbValue& TField::Value() const { return query_->CurrentValue(index_); }

void TField::SetValue(const TDbValue& v) { query_->SetFieldValue(index_, v); }

TDbQuery::TDbQuery(TComponent* owner) : TComponent(owner) {}

TDbQuery::~TDbQuery() = default;

void TDbQuery::SetConnection(TDbConnection* c) {
  Close();
  connection_ = c;
}

void TDbQuery::Notification(TComponent* component, TOperation op) {
  if (op == TOperation::opRemove && component == connection_) {
    Close();
    connection_ = nullptr;
  }
}

void TDbQuery::SetParam(const std::string& name, const TDbValue& v) { params_[sys::LowerCase(name)] = v; }

std::string TDbQuery::Statement() const {
  std::string text;
  for (int i = 0; i < sql_.Count(); ++i) text += (i ? "\r\n" : "") + sql_[i];
  return text;
}

static void BindParams(Statement& st, const std::map<std::string, TDbValue>& params) {
  int n = sqlite3_bind_parameter_count(st.get());
  for (int i = 1; i <= n; ++i) {
    const char* name = sqlite3_bind_parameter_name(st.get(), i);
    if (!name) throw EDatabaseError("Parameters must be named");
    std::string key = sys::LowerCase(sys::Utf8ToAnsi(name + 1));
    auto it = params.find(key);
    if (it == params.end()) throw EDatabaseError("Parameter '" + key + "' has no value");
    st.Bind(i, it->second);
  }
}

void TDbQuery::Open() {
  if (Active()) return;
  if (!connection_) throw EDatabaseError(Name() + ": Missing Connection or ConnectionString");
  connection_->Open();
  sqlite3* db = connection_->Handle();
  std::string sql = Statement();

  // A select over one table also fetches each row's identifier, which editing needs.
  std::string table;
  std::vector<std::string> columns;
  sqltext::SingleTableSelect single;
  std::unique_ptr<::Statement> st;
  if (sqltext::FindSingleTable(sql, single)) {
    columns = TableColumns(db, single.table);
    if (!columns.empty()) {
      try {
        st = std::make_unique<::Statement>(
            db, sql.substr(0, single.afterSelect) + " rowid AS " + kRowidColumn + "," + sql.substr(single.afterSelect));
        table = single.table;
      } catch (const EDatabaseError&) {
        // Not an ordinary table after all (a view, say): read-only rows.
      }
    }
  }
  if (!st) st = std::make_unique<::Statement>(db, sql);
  int first = table.empty() ? 0 : 1;
  int count = sqlite3_column_count(st->get());
  if (count <= first) throw EDatabaseError("The statement does not return a result set");

  BindParams(*st, params_);
  std::vector<std::unique_ptr<TField>> fields;
  for (int i = first; i < count; ++i) {
    std::unique_ptr<TField> f(new TField(this, i - first, sys::Utf8ToAnsi(sqlite3_column_name(st->get(), i))));
    for (const std::string& c : columns)
      if (sys::SameText(c, f->name_)) {
        f->column_ = c;
        break;
      }
    fields.push_back(std::move(f));
  }
  std::vector<Row> rows;
  while (st->Step()) {
    Row r;
    if (first) r.rowid = sqlite3_column_int64(st->get(), 0);
    for (int i = first; i < count; ++i) r.values.push_back(st->Column(i));
    rows.push_back(std::move(r));
  }
  fields_ = std::move(fields);
  rows_ = std::move(rows);
  table_ = table;
  cursor_ = 0;
  state_ = TDataSetState::dsBrowse;
}

void TDbQuery::Close() {
  state_ = TDataSetState::dsInactive;
  fields_.clear();
  rows_.clear();
  cursor_ = 0;
  table_.clear();
  buffer_.clear();
  modified_.clear();
}

int TDbQuery::ExecSQL() {
  if (!connection_) throw EDatabaseError(Name() + ": Missing Connection or ConnectionString");
  connection_->Open();
  sqlite3* db = connection_->Handle();
  ::Statement st(db, Statement());
  BindParams(st, params_);
  while (st.Step()) {
  }
  return sqlite3_changes(db);
}

void TDbQuery::CheckActive() const {
  if (!Active()) throw EDatabaseError(Name() + ": Cannot perform this operation on a closed dataset");
}

void TDbQuery::First() {
  CheckActive();
  if (state_ != TDataSetState::dsBrowse) Cancel();
  cursor_ = 0;
}

void TDbQuery::Next() {
  CheckActive();
  if (state_ != TDataSetState::dsBrowse) Post();
  if (cursor_ < rows_.size()) ++cursor_;
}

TField* TDbQuery::FindField(const std::string& name) {
  for (auto& f : fields_)
    if (sys::SameText(f->name_, name)) return f.get();
  return nullptr;
}

TField& TDbQuery::FieldByName(const std::string& name) {
  TField* f = FindField(name);
  if (!f) throw EDatabaseError(Name() + ": Field '" + name + "' not found");
  return *f;
}

const TDbValue& TDbQuery::CurrentValue(int index) const {
  static const TDbValue kNothing;
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return buffer_.at(index);
  if (cursor_ < rows_.size()) return rows_[cursor_].values.at(index);
  return kNothing;
}

void TDbQuery::SetFieldValue(int index, const TDbValue& v) {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
    throw EDatabaseError(Name() + ": Dataset not in edit or insert mode");
  if (fields_.at(index)->column_.empty())
    throw EDatabaseError(Name() + ": Field '" + fields_[index]->name_ + "' cannot be modified");
  buffer_.at(index) = v;
  modified_.at(index) = true;
}

void TDbQuery::Append() {
  CheckActive();
  if (!CanModify()) throw EDatabaseError(Name() + ": Cannot modify a read-only dataset");
  if (state_ != TDataSetState::dsBrowse) Post();
  buffer_.assign(fields_.size(), TDbValue());
  modified_.assign(fields_.size(), false);
  state_ = TDataSetState::dsInsert;
}

void TDbQuery::Edit() {
  CheckActive();
  if (state_ != TDataSetState::dsBrowse) return;
  if (!CanModify()) throw EDatabaseError(Name() + ": Cannot modify a read-only dataset");
  if (Eof()) throw EDatabaseError(Name() + ": Cannot edit: there is no current record");
  buffer_ = rows_[cursor_].values;
  modified_.assign(fields_.size(), false);
  state_ = TDataSetState::dsEdit;
}

void TDbQuery::Cancel() {
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) state_ = TDataSetState::dsBrowse;
  buffer_.clear();
  modified_.clear();
}

TDbQuery::Row TDbQuery::ReadRow(int64_t rowid) {
  std::string sql = "SELECT ";
  std::vector<int> read;
  for (size_t i = 0; i < fields_.size(); ++i)
    if (!fields_[i]->column_.empty()) {
      sql += (read.empty() ? "" : ",") + sqltext::QuoteIdentifier(fields_[i]->column_);
      read.push_back((int)i);
    }
  Row r{rowid, buffer_};
  if (read.empty()) return r;
  ::Statement st(connection_->Handle(), sql + " FROM " + sqltext::QuoteIdentifier(table_) + " WHERE rowid=?");
  st.Bind(1, TDbValue::FromInteger(rowid));
  if (st.Step())
    for (size_t k = 0; k < read.size(); ++k) r.values[read[k]] = st.Column((int)k);
  return r;
}

void TDbQuery::Post() {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  if (!connection_) throw EDatabaseError(Name() + ": Missing Connection or ConnectionString");
  sqlite3* db = connection_->Handle();
  std::vector<int> changed;
  for (size_t i = 0; i < fields_.size(); ++i)
    if (modified_[i]) changed.push_back((int)i);
  std::string table = sqltext::QuoteIdentifier(table_);

  if (state_ == TDataSetState::dsInsert) {
    std::string cols, marks;
    for (int i : changed) {
      cols += (cols.empty() ? "" : ",") + sqltext::QuoteIdentifier(fields_[i]->column_);
      marks += marks.empty() ? "?" : ",?";
    }
    ::Statement st(db, changed.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                                       : "INSERT INTO " + table + " (" + cols + ") VALUES (" + marks + ")");
    for (size_t k = 0; k < changed.size(); ++k) st.Bind((int)k + 1, buffer_[changed[k]]);
    st.Step();
    rows_.push_back(ReadRow(sqlite3_last_insert_rowid(db)));
    cursor_ = rows_.size() - 1;
  } else if (!changed.empty()) {
    std::string sets;
    for (int i : changed) sets += (sets.empty() ? "" : ",") + sqltext::QuoteIdentifier(fields_[i]->column_) + "=?";
    ::Statement st(db, "UPDATE " + table + " SET " + sets + " WHERE rowid=?");
    for (size_t k = 0; k < changed.size(); ++k) st.Bind((int)k + 1, buffer_[changed[k]]);
    st.Bind((int)changed.size() + 1, TDbValue::FromInteger(rows_[cursor_].rowid));
    st.Step();
    if (sqlite3_changes(db) != 1) throw EDatabaseError(Name() + ": Row cannot be located for updating");
    rows_[cursor_] = ReadRow(rows_[cursor_].rowid);
  }
  state_ = TDataSetState::dsBrowse;
  buffer_.clear();
  modified_.clear();
}
