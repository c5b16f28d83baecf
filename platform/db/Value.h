// One value of a field or a parameter: nothing, an integer, a real number or a text.
// Text is held in code page 936; it becomes UTF-8 only on its way into SQLite.
// A plain value; safe on any thread.
#pragma once
#include <cstdint>
#include <string>

class TDbValue {
 public:
  enum class Kind { Null, Integer, Float, Text };

  TDbValue() = default;
  static TDbValue FromInteger(int64_t v);
  static TDbValue FromFloat(double v);
  static TDbValue FromText(std::string v);

  Kind GetKind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  // "" for nothing; numbers as decimal text.
  std::string AsString() const;
  // 0 for nothing; a text must be a whole decimal number, or EDatabaseError is raised.
  int64_t AsInt64() const;
  int AsInteger() const { return (int)AsInt64(); }
  double AsFloat() const;
  bool operator==(const TDbValue& o) const;

 private:
  Kind kind_ = Kind::Null;
  int64_t int_ = 0;
  double float_ = 0;
  std::string text_;
};
