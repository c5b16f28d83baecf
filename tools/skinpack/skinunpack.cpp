// skinunpack SKIN [FOLDER]: decodes a skin file, lists its members and, given a folder,
// writes them there. Accepts the packed form with or without the leading byte count.
#include <cstdio>
#include <filesystem>

#include "skin/SkinArchive.h"
#include "skin/SkinLzh.h"
#include "tools/skinpack/HostFiles.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: skinunpack SKIN [FOLDER]\n");
    return 2;
  }
  try {
    std::string packed = hostfiles::Read(argv[1]), archive;
    skinarchive::Index index;
    bool ok = TLZH::Decode(packed, archive) && skinarchive::Parse(archive, index) == skinarchive::ParseError::None;
    if (!ok && packed.size() > 4) {  // a form property: byte count first
      packed.erase(0, 4);
      ok = TLZH::Decode(packed, archive) && skinarchive::Parse(archive, index) == skinarchive::ParseError::None;
    }
    if (!ok) {
      std::fprintf(stderr, "skinunpack: %s is not a skin\n", argv[1]);
      return 1;
    }
    std::printf("%zu bytes unpacked, %zu members, data at %zu\n", archive.size(), index.names.size(), index.dataOffset);
    size_t at = index.dataOffset;
    for (size_t i = 0; i < index.names.size(); ++i) {
      std::printf("%8u  %s\n", index.sizes[i], index.names[i].c_str());
      if (argc == 3) {
        std::filesystem::create_directories(argv[2]);
        hostfiles::Write(std::filesystem::path(argv[2]) / index.names[i], archive.substr(at, index.sizes[i]));
      }
      at += index.sizes[i];
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinunpack: %s\n", e.what());
    return 1;
  }
  return 0;
}
