// A WHOIS page's text: the expiry date read from it, then read as a date the way the main
// window's reminder does. A date the reader gives must be one the reminder can read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "webtools/NetParseText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string body(reinterpret_cast<const char*>(data), size);
  std::string expiry = ReadWhoisExpiry(body);
  TDateTime date = 0;
  if (!expiry.empty() && (expiry.size() != 10 || expiry[4] != '-' || expiry[7] != '-')) std::abort();
  (void)ParseExpiry(expiry, date);
  (void)ParseExpiry(body, date);
  return 0;
}
