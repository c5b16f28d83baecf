// Whole-file reading and writing for the build machine's skin tools.
// Pure functions over files; errors are thrown, never swallowed.
#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace hostfiles {

inline std::string Read(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + p.string());
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void Write(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  if (!f || !f.write(bytes.data(), (std::streamsize)bytes.size())) throw std::runtime_error("cannot write " + p.string());
}

}  // namespace hostfiles
