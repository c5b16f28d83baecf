// Loading the archive of a packed skin and looking members up.
#include "skin/SkinReader.h"

#include <windows.h>

#include "platform/rtl/Seams.h"
#include "platform/rtl/SysUtils.h"
#include "skin/SkinArchive.h"
#include "skin/SkinLzh.h"

const char* const kOldSkinFormatMessage = "Old skin format\rPlease use a skin of the current format.";

bool TSkinReader::Load(std::string_view packed) {
  std::string archive;
  skinarchive::Index index;
  if (!TLZH::Decode(packed, archive) || skinarchive::Parse(archive, index) != skinarchive::ParseError::None) {
    std::string title = sys::ChangeFileExt(sys::ExtractFileName(sys::ExeName()), "");
    seams::Dialogs().Ask(nullptr, kOldSkinFormatMessage, title, MB_OK | MB_ICONINFORMATION);
    return false;
  }
  names_.Clear();
  for (const std::string& n : index.names) names_.Add(sys::LowerCase(n));
  sizes_ = std::move(index.sizes);
  header_ = archive.substr(0, skinarchive::kHeaderSize);
  dataOffset_ = index.dataOffset;
  data_ = std::move(archive);  // members are read from dataOffset_ on
  return true;
}

void TSkinReader::Copy(int index, size_t offset, std::string& target) const {
  target.assign(data_, dataOffset_ + offset, sizes_[index]);
}

void TSkinReader::ExtractFile(const std::string& name, std::string& target) const {
  target.clear();
  const std::string folded = sys::LowerCase(name);
  size_t offset = 0;
  for (int i = 0; i < names_.Count(); ++i) {
    if (names_[i] == folded) {
      Copy(i, offset, target);
      return;
    }
    offset += sizes_[i];
  }
}

void TSkinReader::ExtractFileLike(const std::string& fragment, std::string& target, std::string& name) const {
  target.clear();
  size_t offset = 0;
  for (int i = 0; i < names_.Count(); ++i) {
    if (names_[i].find(fragment) != std::string::npos) {
      Copy(i, offset, target);
      name = names_[i];
      return;
    }
    offset += sizes_[i];
  }
}
