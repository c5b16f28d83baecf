#include "platform/db/Value.h"

#include <cmath>
#include <cstdlib>

#include "platform/db/DbError.h"
#include "platform/rtl/SysUtils.h"

TDbValue TDbValue::FromInteger(int64_t v) {
  TDbValue r;
  r.kind_ = Kind::Integer;
  r.int_ = v;
  return r;
}

TDbValue TDbValue::FromFloat(double v) {
  TDbValue r;
  r.kind_ = Kind::Float;
  r.float_ = v;
  return r;
}

TDbValue TDbValue::FromText(std::string v) {
  TDbValue r;
  r.kind_ = Kind::Text;
  r.text_ = std::move(v);
  return r;
}

std::string TDbValue::AsString() const {
  switch (kind_) {
    case Kind::Null:
      return "";
    case Kind::Integer:
      return sys::IntToStr(int_);
    case Kind::Float:
      return sys::Format("%.15g", float_);
    case Kind::Text:
      return text_;
  }
  return "";
}

int64_t TDbValue::AsInt64() const {
  switch (kind_) {
    case Kind::Null:
      return 0;
    case Kind::Integer:
      return int_;
    case Kind::Float:
      return (int64_t)std::trunc(float_);
    case Kind::Text: {
      std::string t = sys::Trim(text_);
      char* end = nullptr;
      long long v = t.empty() ? 0 : std::strtoll(t.c_str(), &end, 10);
      if (t.empty() || *end != '\0') throw EDatabaseError("'" + text_ + "' is not a valid integer value");
      return v;
    }
  }
  return 0;
}

double TDbValue::AsFloat() const {
  if (kind_ == Kind::Float) return float_;
  if (kind_ == Kind::Text) {
    std::string t = sys::Trim(text_);
    char* end = nullptr;
    double v = t.empty() ? 0 : std::strtod(t.c_str(), &end);
    if (t.empty() || *end != '\0') throw EDatabaseError("'" + text_ + "' is not a valid floating point value");
    return v;
  }
  return (double)AsInt64();
}

bool TDbValue::operator==(const TDbValue& o) const {
  return kind_ == o.kind_ && int_ == o.int_ && float_ == o.float_ && text_ == o.text_;
}
