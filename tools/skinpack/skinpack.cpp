// skinpack FOLDER OUT: packs one ini and the BMP files of a folder into a skin file (the
// packed form without the leading byte count). The ini becomes the first member, the
// bitmaps follow in name order.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "tools/skinpack/HostFiles.h"
#include "tools/skinpack/SkinPacker.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skinpack FOLDER OUT\n");
    return 2;
  }
  try {
    std::vector<fs::path> inis, bitmaps;
    for (const auto& e : fs::directory_iterator(argv[1])) {
      if (!e.is_regular_file()) continue;
      std::string ext = e.path().extension().string();
      std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
      if (ext == ".ini") inis.push_back(e.path());
      else if (ext == ".bmp") bitmaps.push_back(e.path());
    }
    if (inis.size() != 1) {
      std::fprintf(stderr, "skinpack: %s must hold exactly one .ini file\n", argv[1]);
      return 1;
    }
    std::sort(bitmaps.begin(), bitmaps.end());
    std::vector<skinpack::Member> members;
    members.push_back({inis[0].filename().string(), hostfiles::Read(inis[0])});
    for (const auto& b : bitmaps) members.push_back({b.filename().string(), hostfiles::Read(b)});
    std::string archive = skinpack::BuildArchive(members);
    std::string packed = skinpack::Encode(archive);
    hostfiles::Write(argv[2], packed);
    std::printf("skinpack: %zu members, %zu bytes unpacked, %zu packed\n", members.size(), archive.size(), packed.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
  return 0;
}
