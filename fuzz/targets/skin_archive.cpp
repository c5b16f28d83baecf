// The unpacked skin archive: its index, then every member looked up by name and by part of
// a name, as the skin loader does. The same bytes, packed by the build machine's coder, also
// go through the whole reader, as a skin file does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/SkinArchive.h"
#include "skin/SkinReader.h"
#include "tools/skinpack/SkinPacker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view archive(reinterpret_cast<const char*>(data), size);
  skinarchive::Index index;
  if (skinarchive::Parse(archive, index) == skinarchive::ParseError::None) {
    if (index.names.size() != index.sizes.size() || index.dataOffset > size) std::abort();
    uint64_t total = 0;
    for (uint32_t s : index.sizes) total += s;
    if (total > size - index.dataOffset) std::abort();
    // Each member's bytes, read where the reader reads them.
    size_t at = index.dataOffset;
    for (uint32_t s : index.sizes) {
      volatile char sink = 0;
      if (s) sink = archive[at + s - 1];
      (void)sink;
      at += s;
    }
  }
  TSkinReader reader;
  if (reader.Load(skinpack::Encode(archive))) {
    std::string member, name;
    for (int i = 0; i < reader.Count(); ++i) {
      reader.ExtractFile(reader.Names()[i], member);
      if (member.size() != reader.Size(i) && reader.Names().IndexOf(reader.Names()[i]) == i) std::abort();
    }
    reader.ExtractFileLike(".ini", member, name);
    reader.ExtractFile("skin.ini", member);
  }
  return 0;
}
