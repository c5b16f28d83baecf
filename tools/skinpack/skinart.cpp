// skinart builtin|coded FOLDER: draws our own skin artwork and writes its ini and bitmaps
// into the folder, ready for skinpack.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tools/skinpack/HostFiles.h"
#include "tools/skinpack/SkinArt.h"

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "builtin") && std::strcmp(argv[1], "coded"))) {
    std::fprintf(stderr, "usage: skinart builtin|coded FOLDER\n");
    return 2;
  }
  try {
    auto theme = std::strcmp(argv[1], "coded") ? skinart::Theme::Builtin : skinart::Theme::Coded;
    std::filesystem::create_directories(argv[2]);
    for (const auto& f : skinart::MakeSkin(theme)) hostfiles::Write(std::filesystem::path(argv[2]) / f.name, f.bytes);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinart: %s\n", e.what());
    return 1;
  }
  return 0;
}
