// A web page as the browser-pane stand-in reads it: decoded by the charset that the first
// line (a Content-Type value) or the page names, then its body text and title.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/web/HtmlText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view all(reinterpret_cast<const char*>(data), size);
  size_t nl = all.find('\n');
  std::string_view contentType = nl == std::string_view::npos ? std::string_view() : all.substr(0, nl);
  std::string_view page = nl == std::string_view::npos ? all : all.substr(nl + 1);
  std::wstring text = html::DecodePage(page, contentType);
  (void)html::BodyText(text);
  (void)html::TitleText(text);
  return 0;
}
