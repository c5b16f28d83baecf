// The skin's ini text: every section listed, and every key of every line read as a string
// and as a number through the sections, as the skin data reader does.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/QuickIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TQuickIni ini;
  ini.LoadFromStream(std::string_view(reinterpret_cast<const char*>(data), size));
  TStringList sections;
  ini.ReadSections(sections);
  const TStringList& lines = ini.Lines();
  for (const auto& section : sections) {
    for (int i = 0; i < lines.Count() && i < 64; ++i) {
      std::string key = lines[i].substr(0, lines[i].find('='));
      (void)ini.ReadString(section.text, key, "def");
      (void)ini.ReadInteger(section.text, key, -1);
    }
  }
  return 0;
}
