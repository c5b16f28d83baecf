// Reads form descriptions: a text of nested objects with properties and handler names,
// e.g.
//   object LoginFrm: TLoginFrm
//     Caption = '登录'
//     Font.Name = '宋体'
//     OnShow = FormShow
//     object btnLogin: TButton
//       Caption = '登录'
//       OnClick = btnLoginClick
//     end
//   end
// Values: numbers (decimal, $hex, negative), 'strings' ('' for a quote, #13 codes, joined
// with +), identifiers (True/False, enumeration values, colours, component names), sets
// [a, b], string lists ( 'a' 'b' ), binary data { hex }. Texts are UTF-8 and become code
// page 936. Any name that does not resolve is an error naming the line.
// The components built belong to the root (their owner). Class registrations go into one
// process-wide table; register and read on the GUI thread only.
#pragma once
#include <functional>
#include <string>

#include "platform/rtl/Component.h"
#include "platform/forms/Forms.h"

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

void RegisterComponentClass(const std::string& className, TComponentFactory factory);
template <class T>
void RegisterComponentClass() {
  RegisterComponentClass(T::StaticClass()->Name, [](TComponent* owner) -> TComponent* { return new T(owner); });
}

// Builds the components of `text` into `root` (the form or data module the text describes)
// and wires fields and handlers through `published`. Throws Exception on any error.
void ReadComponentDescription(TComponent* root, const std::string& text, const TPublishedTable& published);
