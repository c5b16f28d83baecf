// The user lists of one session.
#include "core/UserManager.h"

#include <cerrno>
#include <cstdlib>

#include "core/uHelpers.h"
#include "platform/rtl/SysUtils.h"

TChatRecvInfo CurrentMsg;

namespace {
// The account number a decimal text names; false for anything else.
bool ParseNumber(const std::string& text, uint32_t& out) {
  if (text.empty() || text.size() > 10) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
  if (v > 0xFFFFFFFFull) return false;
  out = uint32_t(v);
  return true;
}
}  // namespace

bool TUserManager::HasUser(const std::string& number) const {
  for (const TCustomerRecord& c : Customers)
    if (c.Number == number) return true;
  return false;
}

bool TUserManager::AddUser() {
  if (HasUser(CurrentMsg.Number)) return false;
  Customers.push_back({CurrentMsg.Number, CurrentMsg.Name, 0});
  return true;
}

bool TUserManager::RemoveUser(const std::string& number) {
  for (size_t i = Customers.size(); i-- > 0;)
    if (Customers[i].Number == number) {
      Customers.erase(Customers.begin() + i);
      return true;
    }
  return false;
}

bool TUserManager::AddEnterpriseFriend(const uint8_t* record) {
  try {
    if (!record) return false;
    TFriendRecord r(record);
    if (MarkFriendOnline(sys::IntToStr(r.Number()))) return false;
    Friends.push_back(r);
    return true;
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "添加企业好友出现异常");
    return false;
  }
}

bool TUserManager::MarkFriendOnline(const std::string& number) {
  uint32_t n;
  if (!ParseNumber(number, n)) return false;
  for (TFriendRecord& f : Friends)
    if (f.Number() == n) {
      f.SetState(1);
      return true;
    }
  return false;
}

void TUserManager::SetFriendOffline(uint32_t number) {
  for (size_t i = Friends.size(); i-- > 0;)
    if (Friends[i].Number() == number) Friends[i].SetState(0);
}

void TUserManager::SetDeleteFriend(uint32_t number) {
  try {
    for (size_t i = Friends.size(); i-- > 0;)
      if (Friends[i].Number() == number) Friends.erase(Friends.begin() + i);
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TUserManager.SetDeleteFriend，出错");
  }
}

const TFriendRecord* TUserManager::FindFriend(const std::string& number) const {
  for (const TFriendRecord& f : Friends)
    if (sys::IntToStr(f.Number()) == number) return &f;
  return nullptr;
}

void TUserManager::GetUserName(const std::string& number, std::string& name) const {
  if (const TFriendRecord* f = FindFriend(number)) name = f->NickName();
}

void TUserManager::GetUserFlags(const std::string& number, std::string& flags) const {
  if (const TFriendRecord* f = FindFriend(number)) flags = f->Flags();
}

bool TUserManager::AddReceiveMsg() {
  try {
    ReceiveMsgList.push_back(
        {{CurrentMsg.Sender, CurrentMsg.Text, CurrentMsg.Time}, CurrentMsg.Flag, CurrentMsg.Kind, CurrentMsg.Second});
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TUserManager::ClearSessionLists() {
  Customers.clear();
  Friends.clear();
  Requests.clear();
}
