// Accounts and tables of the stand-in server, and its demo data set.
#include "tools/serviceserver/ServiceData.h"

#include "core/MD5.h"
#include "platform/rtl/SysUtils.h"

namespace stub {

TAccount MakeAccount(uint32_t number, const std::string& password, const std::string& nickName,
                     const std::string& company) {
  TAccount a;
  a.Number = number;
  a.PassHash = MD5Print(MD5String(password));
  a.NickName = nickName;
  a.Company = company;
  return a;
}

TAccount* TServiceData::Find(uint32_t number) {
  for (TAccount& a : Accounts)
    if (a.Number == number) return &a;
  return nullptr;
}

TAccount* TServiceData::Find(const std::string& numberText) {
  for (TAccount& a : Accounts)
    if (sys::IntToStr(a.Number) == numberText) return &a;
  return nullptr;
}

TServiceData DemoData() {
  TServiceData d;
  TAccount service = MakeAccount(10000, "service", "Veskaran客服", "Veskaran");
  service.Flags = "1";
  TAccount one = MakeAccount(10001, "demo", "演示一号", "卡维尔演示一公司");
  one.WebAddress = "http://www.demo-one.example";
  one.Email = "one@demo-one.example";
  one.Phone = "010-12345678";
  one.Fax = "010-12345679";
  TAccount two = MakeAccount(10002, "demo", "演示二号", "卡维尔演示二公司");
  two.WebAddress = "http://demo-two.example";
  two.Email = "two@demo-two.example";
  two.Phone = "020-87654321";
  TAccount three = MakeAccount(10003, "demo", "演示三号", "卡维尔演示三公司");
  three.WebAddress = "http://www.demo-three.example";
  one.Friends = {10002};
  two.Friends = {10001};
  d.Accounts = {service, one, two, three};

  d.Regions.Provinces = {{1, 0, 11, "北京"}, {2, 0, 44, "广东"}};
  d.Regions.Cities = {{1, 11, 1101, "北京市"}, {2, 44, 4401, "广州市"}, {3, 44, 4403, "深圳市"}};
  d.Regions.Districts = {{1, 1101, 110105, "朝阳区"}, {2, 4401, 440106, "天河区"}, {3, 4403, 440305, "南山区"}};
  d.Categories = {{1, 1, -1, "机械"}, {2, 2, -1, "电子"}, {3, 101, 1, "机床"}, {4, 201, 2, "元器件"}};
  return d;
}

}  // namespace stub
