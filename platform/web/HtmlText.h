// Plain text of an HTML page, the way a browser's innerText gives it, for the browser-pane
// stand-in: the page's bytes are decoded by their charset, tags, scripts and styles are
// dropped, entities decoded, white space collapsed outside <pre>, and block elements and
// <br> end lines ("\r\n").
// Pure functions over bytes; safe on any thread.
#pragma once
#include <string>
#include <string_view>

namespace html {

// The Windows code page of a charset label ("utf-8", "GB2312", ...), or 0 when unknown.
unsigned CodePageOfCharset(std::string_view label);

// The page as UTF-16: decoded by the charset of the Content-Type header, else of a META tag
// in the page, else as code page 936.
std::wstring DecodePage(std::string_view bytes, std::string_view contentType);

// The inner text of the document's body (the whole document when it has no <body>).
std::wstring BodyText(std::wstring_view page);

// The text of the <title> element, white space collapsed; empty when there is none.
std::wstring TitleText(std::wstring_view page);

}  // namespace html
