// What the stand-in server knows: its accounts with their friends, and the region and
// category tables it sends after a login. LoadDemoData gives the data set of the run
// command: accounts 10001 and 10002 (password "demo", friends of each other), 10003
// (password "demo", nobody's friend, to be found and asked) and the service's own 10000.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/ServiceReplies.h"

namespace stub {

struct TAccount {
  uint32_t Number = 0;
  std::string PassHash;  // MD5 text of the password, as the client sends it
  std::string NickName;
  std::string Company;
  std::string WebAddress;  // "http://..."
  std::string Email;
  std::string Phone;
  std::string Fax;
  std::string Flags;       // flag text of its friend record
  std::set<uint32_t> Friends;
  uint8_t LoginResult = 0;  // a value other than 0 refuses every login with that result
};

// An account with the MD5 text of `password`.
TAccount MakeAccount(uint32_t number, const std::string& password, const std::string& nickName,
                     const std::string& company);

struct TServiceData {
  std::vector<TAccount> Accounts;
  TRegionTables Regions;
  std::vector<TCategoryEntry> Categories;
  std::string NewestVersion;  // "a.b.c.d"; a client below it gets the update flag

  TAccount* Find(uint32_t number);
  TAccount* Find(const std::string& numberText);
};

TServiceData DemoData();

}  // namespace stub
