// A query over a TDbConnection and the data set of its rows. Its statement is the lines of
// SQL joined by line breaks; values reach it only as named parameters (":Name"), never as
// quoted text. Open reads every row at once (the tables here are small); a select over one
// table gives an editable data set: Append or Edit, set fields by name, Post. Field names
// are found without regard to case.
// The query owns its rows and statement; the connection is borrowed and must outlive it. One
// thread at a time.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/Value.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/StringList.h"

class TDbConnection;
class TDbQuery;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TField {
 public:
  const std::string& FieldName() const { return name_; }
  // The value of the current row (or of the row being edited); nothing past the last row.
  const TDbValue& Value() const;
  bool IsNull() const { return Value().IsNull(); }
  std::string AsString() const { return Value().AsString(); }
  int AsInteger() const { return Value().AsInteger(); }
  int64_t AsLargeInt() const { return Value().AsInt64(); }
  // Only while the data set is being edited or appended to.
  void SetValue(const TDbValue& v);
  void SetAsString(const std::string& v) { SetValue(TDbValue::FromText(v)); }
  void SetAsInteger(int64_t v) { SetValue(TDbValue::FromInteger(v)); }
  void Clear() { SetValue(TDbValue()); }

 private:
  friend class TDbQuery;
  TField(TDbQuery* q, int index, std::string name) : query_(q), index_(index), name_(std::move(name)) {}
  TDbQuery* query_;
  int index_;
  std::string name_;
  std::string column_;  // the table's column behind the field; "" when it cannot be written
};

class TDbQuery : public TComponent {
  KARV_CLASS(TDbQuery, TComponent)
 public:
  explicit TDbQuery(TComponent* owner);
  ~TDbQuery() override;

  TDbConnection* Connection() const { return connection_; }
  void SetConnection(TDbConnection* c);
  TStringList& SQL() { return sql_; }

  void SetParam(const std::string& name, const std::string& text) { SetParam(name, TDbValue::FromText(text)); }
  void SetParam(const std::string& name, int64_t v) { SetParam(name, TDbValue::FromInteger(v)); }
  void SetParam(const std::string& name, const TDbValue& v);
  void ClearParams() { params_.clear(); }

  // Runs the select and reads its rows; nothing happens when already open. Opens the
  // connection when it is closed.
  void Open();
  // Leaves the data set; a pending Append or Edit is dropped.
  void Close();
  // Runs a statement that returns no rows; the result is the number of rows it changed.
  int ExecSQL();

  bool Active() const { return state_ != TDataSetState::dsInactive; }
  TDataSetState State() const { return state_; }
  bool Eof() const { return cursor_ >= rows_.size(); }
  bool IsEmpty() const { return rows_.empty(); }
  int RecordCount() const { return (int)rows_.size(); }
  void First();
  void Next();
  // True when Append and Edit are possible: the select reads a single table.
  bool CanModify() const { return !table_.empty(); }

  int FieldCount() const { return (int)fields_.size(); }
  TField& Fields(int i) { return *fields_.at(i); }
  TField* FindField(const std::string& name);
  // Raises EDatabaseError when there is no such field.
  TField& FieldByName(const std::string& name);

  // A new row, empty until fields are set; Post stores it and makes it the current row.
  void Append();
  // Changes the current row; Post stores the fields that were set.
  void Edit();
  void Post();
  void Cancel();

  void Notification(TComponent* component, TOperation op) override;

 private:
  friend class TField;
  struct Row {
    int64_t rowid = 0;
    std::vector<TDbValue> values;
  };
  const TDbValue& CurrentValue(int index) const;
  void SetFieldValue(int index, const TDbValue& v);
  std::string Statement() const;
  Row ReadRow(int64_t rowid);
  void CheckActive() const;

  TDbConnection* connection_ = nullptr;
  TStringList sql_;
  std::map<std::string, TDbValue> params_;  // by lower-case name
  TDataSetState state_ = TDataSetState::dsInactive;
  std::vector<std::unique_ptr<TField>> fields_;
  std::vector<Row> rows_;
  size_t cursor_ = 0;
  std::string table_;  // the single table behind an editable data set
  std::vector<TDbValue> buffer_;
  std::vector<bool> modified_;
};
