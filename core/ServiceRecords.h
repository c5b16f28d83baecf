// The fixed-size records of the service protocol and their byte layouts, pinned here in one
// place: the 200-byte friend record, the 1401-byte trade record, the 367-byte stored friend
// request, the 576-byte offline message, the 538-byte waiting customer message and the
// region and category entries; plus the request records the windows fill.
// Contract: records are plain values that own their texts; builders and readers work on the
// caller's bytes only during the call. Any thread.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/DateTime.h"

namespace layout {

// Friend record. Text fields are fixed strings whose size counts the length byte, so a
// 50-byte field holds at most 49 bytes of text.
namespace friend_rec {
inline constexpr size_t kSize = 200;
inline constexpr size_t kCompany = 0, kCompanySize = 50;
inline constexpr size_t kNumberText = 50, kNumberTextSize = 30;
inline constexpr size_t kNumber = 84;  // u32; bytes 80..83 are unused
inline constexpr size_t kNickName = 88, kNickNameSize = 30;
inline constexpr size_t kWebAddress = 118, kWebAddressSize = 30;
inline constexpr size_t kEmail = 148, kEmailSize = 30;
inline constexpr size_t kState = 178;
inline constexpr size_t kFlags = 179, kFlagsSize = 21;
}  // namespace friend_rec

// Stored friend request (protocol 47 entry).
namespace stored_req {
inline constexpr size_t kSize = 367;
inline constexpr size_t kRequester = 0;  // u32
inline constexpr size_t kTime = 4;       // date-time
inline constexpr size_t kText = 12, kTextMax = 154;  // fixed string: length byte + 154
inline constexpr size_t kRecord = 167;   // friend record
}  // namespace stored_req

// Offline message of an enterprise friend (protocol 49 entry). The listed field sizes add
// up to 575 of the 576 bytes; the byte the list leaves out is the one after the font name
// (567), which puts the font size at 568 and the colour at 572 as the main window reads them.
namespace offline_msg {
inline constexpr size_t kSize = 576;
inline constexpr size_t kSender = 0;  // u32; 4..7 unused
inline constexpr size_t kTime = 8;
inline constexpr size_t kText = 16, kTextSize = 500;  // zero-padded
inline constexpr size_t kShown = 516;
inline constexpr size_t kFontName = 517, kFontNameSize = 50;  // zero-padded; 567 unused
inline constexpr size_t kFontSize = 568;                      // 569..571 unused
inline constexpr size_t kColour = 572;
}  // namespace offline_msg

// Waiting message of a consulting customer (protocol 35 entry).
namespace waiting_msg {
inline constexpr size_t kSize = 538;
inline constexpr size_t kText = 0, kTextSize = 500;
inline constexpr size_t kSender = 500, kSenderSize = 30;
inline constexpr size_t kTime = 530;
}  // namespace waiting_msg

// Region entry (protocol 51) and category entry (protocol 52).
namespace region {
inline constexpr size_t kSize = 33;
inline constexpr size_t kValue = 0, kParent = 4, kOwn = 8, kName = 12, kNameMax = 20;
}  // namespace region
namespace category {
inline constexpr size_t kSize = 63;
inline constexpr size_t kValue = 0, kOwn = 4, kParent = 8, kName = 12, kNameMax = 50;
}  // namespace category

// Trade record (protocol 53 body): fixed strings, except the description, a zero-padded
// text area without length byte.
namespace trade {
inline constexpr size_t kSize = 1401;
inline constexpr size_t kDescription = 703, kDescriptionSize = 500;
}  // namespace trade

}  // namespace layout

// One entry of the user lists as the server sends it.
class TFriendRecord {
 public:
  using Bytes = std::array<uint8_t, layout::friend_rec::kSize>;

  TFriendRecord() { bytes_.fill(0); }
  explicit TFriendRecord(const uint8_t* raw);

  std::string CompanyName() const;
  std::string NumberText() const;
  uint32_t Number() const;
  std::string NickName() const;
  std::string WebAddress() const;
  std::string Email() const;
  uint8_t State() const { return bytes_[layout::friend_rec::kState]; }
  std::string Flags() const;

  void SetCompanyName(std::string_view v);
  void SetNumberText(std::string_view v);
  void SetNumber(uint32_t v);
  void SetNickName(std::string_view v);
  void SetWebAddress(std::string_view v);
  void SetEmail(std::string_view v);
  void SetState(uint8_t v) { bytes_[layout::friend_rec::kState] = v; }
  void SetFlags(std::string_view v);

  const Bytes& Raw() const { return bytes_; }
  const uint8_t* Data() const { return bytes_.data(); }

 private:
  Bytes bytes_;
};

// Protocol 29 source fields; the chat window fills the global ChatSendInfo.
struct TChatSendInfo {
  std::string Receiver;
  std::string Content;
  std::string Sender;
  std::string FontName;
  int32_t FontSize = 0;
  int32_t FontColor = 0;
};

// Protocol 32 source fields, in wire order; the password is plain and hashed when sent.
struct TRegisterInfo {
  std::string CompanyName;
  std::string DisplayName;
  std::string Password;
  std::string Email;
  std::string WebAddress;
  std::string MacAddress;
};

// Protocol 53 record as texts; Pack lays it out in its 1401 bytes.
struct TTradeInfo {
  std::string Category;      // "0" supply, "1" demand, "2" urgent demand
  std::string Title;
  std::string Name;
  std::string Province;
  std::string City;
  std::string District;
  std::string MainCategory;
  std::string SubCategory;
  std::string Validity;      // days: "10", "20", "30", "90", "180"
  std::string Price;
  std::string Packing;
  std::string Quantity;      // sent as "0" when empty
  std::string ProductSpecs;
  std::string Description;   // at most 500 bytes, no length byte
  std::string ContactName;
  std::string Company;
  std::string Phone;
  std::string Fax;
  std::string Email;
  std::string WebAddress;
  std::string OwnAccount;

  std::string Pack() const;
  // Reads the 1401-byte layout back (the server's side).
  static TTradeInfo Unpack(const uint8_t* raw);
};

// Offset and text size of every fixed-string field of the trade record, in layout order.
struct TTradeField {
  size_t Offset;
  size_t Max;
  std::string TTradeInfo::*Member;
};
extern const std::array<TTradeField, 20> kTradeFields;
