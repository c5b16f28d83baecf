#include "platform/forms/FormReader.h"

#include <cctype>
#include <map>

#include "platform/forms/Controls.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::map<std::string, TComponentFactory>& Factories() {
  static std::map<std::string, TComponentFactory> f;
  return f;
}

enum class Tok { End, Ident, String, Number, Symbol, Binary };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // identifier, string bytes (already code page 936), symbol, hex bytes
  int64_t number = 0;
  int line = 0;
};

class Lexer {
 public:
  explicit Lexer(const std::string& s) : s_(s) {}

  Token Next() {
    SkipBlanks();
    Token t;
    t.line = line_;
    if (p_ >= s_.size()) return t;
    char c = s_[p_];
    if (std::isalpha((unsigned char)c) || c == '_') {
      size_t b = p_;
      while (p_ < s_.size() && (std::isalnum((unsigned char)s_[p_]) || s_[p_] == '_' || s_[p_] == '.')) ++p_;
      t.kind = Tok::Ident;
      t.text = s_.substr(b, p_ - b);
      return t;
    }
    if (std::isdigit((unsigned char)c) || c == '-' || c == '$') {
      size_t b = p_;
      ++p_;
      while (p_ < s_.size() && std::isalnum((unsigned char)s_[p_])) ++p_;
      t.kind = Tok::Number;
      t.text = s_.substr(b, p_ - b);
      try {
        t.number = sys::StrToInt(t.text);
      } catch (const Exception&) {
        Fail(t.line, "invalid number " + t.text);
      }
      return t;
    }
    if (c == '\'' || c == '#') {
      t.kind = Tok::String;
      std::string utf8;
      while (p_ < s_.size() && (s_[p_] == '\'' || s_[p_] == '#')) {
        if (s_[p_] == '#') {
          size_t b = ++p_;
          while (p_ < s_.size() && std::isdigit((unsigned char)s_[p_])) ++p_;
          if (b == p_) Fail(line_, "character code expected");
          utf8 += (char)std::stoi(s_.substr(b, p_ - b));
          continue;
        }
        ++p_;
        for (;;) {
          if (p_ >= s_.size() || s_[p_] == '\n') Fail(t.line, "unterminated string");
          if (s_[p_] == '\'') {
            if (p_ + 1 < s_.size() && s_[p_ + 1] == '\'') {
              utf8 += '\'';
              p_ += 2;
              continue;
            }
            ++p_;
            break;
          }
          utf8 += s_[p_++];
        }
      }
      t.text = sys::Utf8ToAnsi(utf8);
      return t;
    }
    if (c == '{') {
      ++p_;
      std::string bytes;
      int nibble = -1;
      while (p_ < s_.size() && s_[p_] != '}') {
        char h = s_[p_++];
        if (h == '\n') ++line_;
        if (std::isspace((unsigned char)h)) continue;
        if (!std::isxdigit((unsigned char)h)) Fail(line_, "invalid binary data");
        int v = std::isdigit((unsigned char)h) ? h - '0' : (std::tolower(h) - 'a' + 10);
        if (nibble < 0) nibble = v;
        else {
          bytes += (char)(nibble * 16 + v);
          nibble = -1;
        }
      }
      if (p_ >= s_.size() || nibble >= 0) Fail(t.line, "unterminated binary data");
      ++p_;
      t.kind = Tok::Binary;
      t.text = bytes;
      return t;
    }
    t.kind = Tok::Symbol;
    t.text = std::string(1, c);
    ++p_;
    return t;
  }

  [[noreturn]] static void Fail(int line, const std::string& what) {
    throw Exception("line " + std::to_string(line) + ": " + what);
  }

 private:
  void SkipBlanks() {
    while (p_ < s_.size()) {
      char c = s_[p_];
      if (c == '\n') ++line_;
      if (std::isspace((unsigned char)c)) {
        ++p_;
      } else if (c == '/' && p_ + 1 < s_.size() && s_[p_ + 1] == '/') {
        while (p_ < s_.size() && s_[p_] != '\n') ++p_;
      } else {
        break;
      }
    }
  }
  const std::string& s_;
  size_t p_ = 0;
  int line_ = 1;
};

struct Fixup {
  TObject* target;
  std::string prop;
  std::string componentName;
  int line;
};

class Reader {
 public:
  Reader(TComponent* root, const std::string& text, const TPublishedTable& published)
      : root_(root), lex_(text), published_(published) {}

  void Run() {
    Advance();
    ReadObject(nullptr);
    if (tok_.kind != Tok::End) Lexer::Fail(tok_.line, "text after the last end");
    for (const auto& f : fixups_) {
      TComponent* c = sys::SameText(root_->Name(), f.componentName) ? root_ : root_->FindComponent(f.componentName);
      if (!c) Lexer::Fail(f.line, "component " + f.componentName + " not found");
      SetPropValue(f.target, f.prop, TPropValue(static_cast<TObject*>(c)));
    }
    for (const auto& e : published_)
      if (!e.IsHandler && !assigned_.count(sys::LowerCase(e.Name)))
        throw Exception("field " + e.Name + " has no component in the description");
    for (TComponent* c : created_) {
      c->SetLoading(false);
      c->Loaded();
    }
    root_->Loaded();
  }

 private:
  void Advance() { tok_ = lex_.Next(); }
  bool IsIdent(const char* word) const { return tok_.kind == Tok::Ident && sys::SameText(tok_.text, word); }
  void Expect(const char* sym) {
    if (tok_.kind != Tok::Symbol || tok_.text != sym) Lexer::Fail(tok_.line, std::string("'") + sym + "' expected");
    Advance();
  }
  std::string ExpectIdent(const char* what) {
    if (tok_.kind != Tok::Ident) Lexer::Fail(tok_.line, std::string(what) + " expected");
    std::string s = tok_.text;
    Advance();
    return s;
  }

  void ReadObject(TComponent* container) {
    if (!IsIdent("object")) Lexer::Fail(tok_.line, "'object' expected");
    int line = tok_.line;
    Advance();
    std::string name = ExpectIdent("component name");
    Expect(":");
    std::string cls = ExpectIdent("class name");
    TComponent* obj;
    if (!container) {
      if (!root_->InheritsFrom(cls)) Lexer::Fail(line, "the description is of " + cls + ", not of " + root_->ClassName());
      obj = root_;
      obj->SetName(name);
    } else {
      auto it = Factories().find(sys::LowerCase(cls));
      if (it == Factories().end()) Lexer::Fail(line, "class " + cls + " not found");
      obj = it->second(root_);
      obj->SetLoading(true);
      obj->SetName(name);
      created_.push_back(obj);
      if (auto* ctl = dynamic_cast<TControl*>(obj)) {
        if (auto* parent = dynamic_cast<TWinControl*>(container)) ctl->SetParent(parent);
      } else {
        obj->SetParentComponent(container);
      }
      AssignField(name, obj, line);
    }
    while (!IsIdent("end")) {
      if (tok_.kind == Tok::End) Lexer::Fail(tok_.line, "'end' expected");
      if (IsIdent("object")) {
        ReadObject(obj);
        continue;
      }
      ReadProperty(obj);
    }
    Advance();
  }

  void AssignField(const std::string& name, TComponent* c, int line) {
    for (const auto& e : published_) {
      if (e.IsHandler || !sys::SameText(e.Name, name)) continue;
      if (!e.Assign(root_, c)) Lexer::Fail(line, "field " + name + " does not fit class " + c->ClassName());
      assigned_[sys::LowerCase(name)] = true;
    }
  }

  void ReadProperty(TObject* obj) {
    int line = tok_.line;
    std::string path = ExpectIdent("property name");
    Expect("=");
    TObject* target = obj;
    std::string prop = path;
    // "Items.Strings = ( ... )" names the list property itself.
    if (prop.size() > 8 && sys::SameText(prop.substr(prop.size() - 8), ".Strings")) prop.resize(prop.size() - 8);
    // "Font.Name": walk the object properties to the last part.
    for (size_t dot; (dot = prop.find('.')) != std::string::npos;) {
      std::string head = prop.substr(0, dot);
      if (!FindProperty(target, head)) Lexer::Fail(line, "property " + head + " does not exist in " + target->ClassName());
      TObject* next = GetObjectProp(target, head);
      if (!next) Lexer::Fail(line, "property " + head + " is not an object");
      target = next;
      prop = prop.substr(dot + 1);
    }
    const TPropInfo* info = FindProperty(target, prop);
    if (!info) Lexer::Fail(line, "property " + prop + " does not exist in " + target->ClassName());
    try {
      ReadValue(target, *info, line);
    } catch (const Exception& e) {
      std::string m = e.Message();
      if (m.rfind("line ", 0) == 0) throw;
      Lexer::Fail(line, m);
    }
  }

  void ReadValue(TObject* target, const TPropInfo& info, int line) {
    switch (tok_.kind) {
      case Tok::Number: {
        int64_t v = tok_.number;
        Advance();
        SetPropValue(target, info.Name, v);
        return;
      }
      case Tok::String: {
        std::string s = tok_.text;
        Advance();
        while (tok_.kind == Tok::Symbol && tok_.text == "+") {
          Advance();
          if (tok_.kind != Tok::String) Lexer::Fail(tok_.line, "string expected after +");
          s += tok_.text;
          Advance();
        }
        SetPropValue(target, info.Name, s);
        return;
      }
      case Tok::Binary: {
        std::string bytes = tok_.text;
        Advance();
        SetPropValue(target, info.Name, bytes);
        return;
      }
      case Tok::Ident: {
        std::string id = tok_.text;
        Advance();
        if (info.Type == TPropType::Event) {
          for (const auto& e : published_) {
            if (!e.IsHandler || !sys::SameText(e.Name, id)) continue;
            if (e.EventType != info.EventType) Lexer::Fail(line, "handler " + id + " does not fit event " + info.Name);
            info.SetEvent(target, e.Make(root_));
            return;
          }
          Lexer::Fail(line, "handler " + id + " not found in " + root_->ClassName());
        }
        if (info.Type == TPropType::Boolean) {
          if (!sys::SameText(id, "True") && !sys::SameText(id, "False")) Lexer::Fail(line, "True or False expected");
          SetPropValue(target, info.Name, sys::SameText(id, "True"));
          return;
        }
        if (info.Type == TPropType::Integer) {
          TColor c;
          if (IdentToColor(id, c)) return SetPropValue(target, info.Name, (int64_t)c);
          if (int cursor = CursorIdent(id); cursor != 1) return SetPropValue(target, info.Name, (int64_t)cursor);
          if (int charset = CharsetIdent(id); charset >= 0) return SetPropValue(target, info.Name, (int64_t)charset);
          Lexer::Fail(line, "invalid value " + id);
        }
        if (info.Type == TPropType::Object) {
          fixups_.push_back({target, info.Name, id, line});
          return;
        }
        SetPropValue(target, info.Name, id);
        return;
      }
      case Tok::Symbol:
        if (tok_.text == "[") {
          Advance();
          std::vector<std::string> items;
          while (!(tok_.kind == Tok::Symbol && tok_.text == "]")) {
            items.push_back(ExpectIdent("set element"));
            if (tok_.kind == Tok::Symbol && tok_.text == ",") Advance();
            else if (!(tok_.kind == Tok::Symbol && tok_.text == "]")) Lexer::Fail(tok_.line, "',' or ']' expected");
          }
          Advance();
          SetPropValue(target, info.Name, items);
          return;
        }
        if (tok_.text == "<") {
          ReadCollection(target, info, line);
          return;
        }
        if (tok_.text == "(") {
          Advance();
          std::vector<std::string> items;
          while (!(tok_.kind == Tok::Symbol && tok_.text == ")")) {
            if (tok_.kind != Tok::String) Lexer::Fail(tok_.line, "string expected in list");
            items.push_back(tok_.text);
            Advance();
          }
          Advance();
          SetPropValue(target, info.Name, items);
          return;
        }
        break;
      default:
        break;
    }
    Lexer::Fail(line, "value expected for " + info.Name);
  }

  // "< item ... end item ... end >": each item is appended and its properties are read.
  void ReadCollection(TObject* target, const TPropInfo& info, int line) {
    if (info.Type != TPropType::Collection || !info.AddItem) Lexer::Fail(line, info.Name + " is not a collection");
    Advance();
    while (!(tok_.kind == Tok::Symbol && tok_.text == ">")) {
      if (!IsIdent("item")) Lexer::Fail(tok_.line, "'item' or '>' expected");
      Advance();
      TObject* item = info.AddItem(target);
      while (!IsIdent("end")) {
        if (tok_.kind == Tok::End) Lexer::Fail(tok_.line, "'end' expected");
        ReadProperty(item);
      }
      Advance();
    }
    Advance();
  }

  // Cursor names of the screen object; 1 means "not a cursor name".
  static int CursorIdent(const std::string& id) {
    static const std::pair<const char*, int> names[] = {
        {"crDefault", 0}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4}, {"crSizeNESW", -6}, {"crSizeNS", -7},
        {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10}, {"crHourGlass", -11}, {"crNo", -18},
        {"crAppStart", -19}, {"crHelp", -20}, {"crHandPoint", -21}, {"crSizeAll", -22}};
    for (const auto& n : names)
      if (sys::SameText(n.first, id)) return n.second;
    return 1;
  }

  // Character-set names of a font; -1 means "not a character-set name".
  static int CharsetIdent(const std::string& id) {
    static const std::pair<const char*, int> names[] = {
        {"ANSI_CHARSET", ANSI_CHARSET},     {"DEFAULT_CHARSET", DEFAULT_CHARSET},
        {"SYMBOL_CHARSET", SYMBOL_CHARSET}, {"GB2312_CHARSET", GB2312_CHARSET},
        {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET}, {"OEM_CHARSET", OEM_CHARSET}};
    for (const auto& n : names)
      if (sys::SameText(n.first, id)) return n.second;
    return -1;
  }

  TComponent* root_;
  Lexer lex_;
  const TPublishedTable& published_;
  Token tok_;
  std::vector<TComponent*> created_;
  std::map<std::string, bool> assigned_;
  std::vector<Fixup> fixups_;
};

}  // namespace

void RegisterComponentClass(const std::string& className, TComponentFactory factory) {
  Factories()[sys::LowerCase(className)] = std::move(factory);
}

void ReadComponentDescription(TComponent* root, const std::string& text, const TPublishedTable& published) {
  try {
    Reader(root, text, published).Run();
  } catch (const Exception& e) {
    throw Exception("Error reading " + root->ClassName() + ": " + e.Message());
  }
}
