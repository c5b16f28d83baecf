// Accessors of the friend record and the layout of the trade record.
#include "core/ServiceRecords.h"

#include "core/WireFormat.h"

namespace fr = layout::friend_rec;

TFriendRecord::TFriendRecord(const uint8_t* raw) { std::copy(raw, raw + fr::kSize, bytes_.begin()); }

std::string TFriendRecord::CompanyName() const { return ReadFixed(&bytes_[fr::kCompany], fr::kCompanySize - 1); }
std::string TFriendRecord::NumberText() const { return ReadFixed(&bytes_[fr::kNumberText], fr::kNumberTextSize - 1); }
uint32_t TFriendRecord::Number() const { return ReadU32(&bytes_[fr::kNumber]); }
std::string TFriendRecord::NickName() const { return ReadFixed(&bytes_[fr::kNickName], fr::kNickNameSize - 1); }
std::string TFriendRecord::WebAddress() const { return ReadFixed(&bytes_[fr::kWebAddress], fr::kWebAddressSize - 1); }
std::string TFriendRecord::Email() const { return ReadFixed(&bytes_[fr::kEmail], fr::kEmailSize - 1); }
std::string TFriendRecord::Flags() const { return ReadFixed(&bytes_[fr::kFlags], fr::kFlagsSize - 1); }

void TFriendRecord::SetCompanyName(std::string_view v) { WriteFixed(&bytes_[fr::kCompany], v, fr::kCompanySize - 1); }
void TFriendRecord::SetNumberText(std::string_view v) { WriteFixed(&bytes_[fr::kNumberText], v, fr::kNumberTextSize - 1); }
void TFriendRecord::SetNumber(uint32_t v) { WriteU32(&bytes_[fr::kNumber], v); }
void TFriendRecord::SetNickName(std::string_view v) { WriteFixed(&bytes_[fr::kNickName], v, fr::kNickNameSize - 1); }
void TFriendRecord::SetWebAddress(std::string_view v) { WriteFixed(&bytes_[fr::kWebAddress], v, fr::kWebAddressSize - 1); }
void TFriendRecord::SetEmail(std::string_view v) { WriteFixed(&bytes_[fr::kEmail], v, fr::kEmailSize - 1); }
void TFriendRecord::SetFlags(std::string_view v) { WriteFixed(&bytes_[fr::kFlags], v, fr::kFlagsSize - 1); }

const std::array<TTradeField, 20> kTradeFields = {{
    {0, 10, &TTradeInfo::Category},
    {11, 100, &TTradeInfo::Title},
    {112, 200, &TTradeInfo::Name},
    {313, 20, &TTradeInfo::Province},
    {334, 40, &TTradeInfo::City},
    {375, 50, &TTradeInfo::District},
    {426, 50, &TTradeInfo::MainCategory},
    {477, 50, &TTradeInfo::SubCategory},
    {528, 10, &TTradeInfo::Validity},
    {539, 50, &TTradeInfo::Price},
    {590, 50, &TTradeInfo::Packing},
    {641, 10, &TTradeInfo::Quantity},
    {652, 50, &TTradeInfo::ProductSpecs},
    // the zero-padded description lies at 703..1203
    {1204, 20, &TTradeInfo::ContactName},
    {1225, 50, &TTradeInfo::Company},
    {1276, 50, &TTradeInfo::Phone},
    {1327, 20, &TTradeInfo::Fax},
    {1348, 20, &TTradeInfo::Email},
    {1369, 20, &TTradeInfo::WebAddress},
    {1390, 10, &TTradeInfo::OwnAccount},
}};

std::string TTradeInfo::Pack() const {
  std::string out(layout::trade::kSize, '\0');
  auto* p = reinterpret_cast<uint8_t*>(out.data());
  for (const TTradeField& f : kTradeFields) {
    const std::string& v = this->*f.Member;
    WriteFixed(p + f.Offset, (f.Member == &TTradeInfo::Quantity && v.empty()) ? "0" : v, f.Max);
  }
  WritePadded(p + layout::trade::kDescription, Description, layout::trade::kDescriptionSize);
  return out;
}

TTradeInfo TTradeInfo::Unpack(const uint8_t* raw) {
  TTradeInfo t;
  for (const TTradeField& f : kTradeFields) t.*f.Member = ReadFixed(raw + f.Offset, f.Max);
  t.Description = ReadPadded(raw + layout::trade::kDescription, layout::trade::kDescriptionSize);
  return t;
}
