#include "core/uDataOperate.h"

#include <functional>
#include <initializer_list>

#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/rtl/Base64.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

TData* Data = nullptr;
TNetBackUrl CurrentNetBackUrl;
std::string DomainName;
int HintDateNumber = 0;

namespace {

// Every operation starts over: close the shared query and give it its own statement.
TDbQuery& Prepare(TDbQuery* q, std::initializer_list<std::string> lines) {
  q->Close();
  q->SQL().Clear();
  q->ClearParams();
  for (const std::string& line : lines) q->SQL().Add(line);
  return *q;
}

std::string Text(TDbQuery& q, const char* field) { return q.FieldByName(field).AsString(); }

void Set(TDbQuery& q, const char* field, const std::string& value) { q.FieldByName(field).SetAsString(value); }

// Fills the first row of the open query, or a new row when it has none, and posts it. Only
// the storing is guarded: its failure is logged with `failure` appended, and swallowed.
void StoreRow(TDbQuery& q, const char* failure, const std::function<void(bool isNew)>& fill) {
  try {
    bool isNew = q.IsEmpty();
    if (isNew)
      q.Append();
    else
      q.Edit();
    fill(isNew);
    q.Post();
  } catch (const std::exception& e) {
    q.Cancel();
    WriteErrorLog(std::string(e.what()) + failure);
  }
}

// Dates as text sort like the dates themselves.
std::string DateText(TDateTime t) { return dt::DateToStr(t); }

}  // namespace

TData::TData(TComponent* owner) : TDataModule(owner) {
  SetName("Data");
  ADOConnection = New<TDbConnection>(this);
  ADOConnection->SetName("ADOConnection");
  Adodb = New<TDbQuery>(this);
  Adodb->SetName("Adodb");
  Adodb->SetConnection(ADOConnection);
  ADOSecond = New<TDbQuery>(this);
  ADOSecond->SetName("ADOSecond");
  AdoConnSecond = New<TDbConnection>(this);
  AdoConnSecond->SetName("AdoConnSecond");
  ADOSecond->SetConnection(AdoConnSecond);
  OnCreate = TNotifyEvent(this, &TData::DataModuleCreate);
}

TData::~TData() {
  if (Data == this) Data = nullptr;
}

void TData::DataModuleCreate(TObject*) {
  // A file that opened at start may be gone or locked by now; the program goes on without it.
  for (auto [db, connection] : {std::pair{&SystemDb, ADOConnection}, std::pair{&PersonalDb, AdoConnSecond}}) {
    if (!db->Opened) continue;
    try {
      connection->SetConnectionString(db->ConnectionString);
      connection->Open();
    } catch (const std::exception& e) {
      WriteErrorLog(std::string(e.what()) + "TData.DataModuleCreate出错");
    }
  }
}

std::string TData::ReadConfig(const std::string& sectionName, const std::string& keyName) {
  TDbQuery& q =
      Prepare(Adodb, {"select * from config where SectionName=:SectionName and KeyName=:KeyName order by Id"});
  q.SetParam("SectionName", sectionName);
  q.SetParam("KeyName", keyName);
  q.Open();
  std::string value = Text(q, "KeyValue");
  q.Close();
  return value;
}

void TData::ReadHostList(std::vector<THostLine>& lines) {
  TDbQuery& q = Prepare(Adodb, {"select * from hostlist order by id"});
  q.Open();
  if (q.IsEmpty()) return;
  lines.clear();
  for (; !q.Eof(); q.Next()) lines.push_back({Text(q, "Hostname"), Text(q, "HostDescription")});
}

std::string TData::GetAddress() {
  std::string line;
  ReadLineConfig(line);
  TDbQuery& q = Prepare(Adodb, {"select * from HostList where HostDescription=:Line order by Id"});
  q.SetParam("Line", line);
  try {
    q.Open();
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "Tdata.GetAddress:string,出错");
    throw;
  }
  return Text(q, "HostName");
}

void TData::ReadLineConfig(std::string& line) {
  TDbQuery& q = Prepare(ADOSecond, {"select * from SelfConfig where KeyName='Line' order by Id"});
  q.Open();
  if (!q.IsEmpty()) line = Text(q, "KeyValue");
}

void TData::SaveLineConfig1(const TLineConfig& config) {
  // The row of this key, not whatever row comes first: ReadLineConfig looks for it by key.
  TDbQuery& q = Prepare(ADOSecond, {"select Id,KeyName,KeyValue  from SelfConfig where KeyName=:KeyName order by Id"});
  q.SetParam("KeyName", config.KeyName);
  q.Open();
  StoreRow(q, "Tdata.SaveLineConfig1,出错", [&](bool isNew) {
    if (isNew) Set(q, "KeyName", config.KeyName);
    Set(q, "KeyValue", config.KeyValue);
  });
}

void TData::ReadShortMessages(TStringList& list) {
  TDbQuery& q = Prepare(ADOSecond, {"select * from Shortmessage order by Id"});
  q.Open();
  for (; !q.Eof(); q.Next()) list.Add(Text(q, "ShortWord"));
}

void TData::SaveShorMessage(const std::string& word) {
  TDbQuery& q = Prepare(ADOSecond, {"Select * from ShortMessage where ShortWord=:ShortWord"});
  q.SetParam("ShortWord", word);
  q.Open();
  if (!q.IsEmpty()) return;
  StoreRow(q, "Tdata.SaveShorMessage,出错", [&](bool) { Set(q, "ShortWord", word); });
}

void TData::ReadDomainHintDate() {
  TDbQuery& q = Prepare(ADOSecond, {"select * from DomainCallDate order by Id limit 1"});
  q.Open();
  DomainName = Text(q, "DomainName");
  HintDateNumber = q.FieldByName("HintDateNumber").AsInteger();
}

void TData::SaveDomaniHintDate(const std::string& domainName, int hintDateNumber) {
  // One reminder row: ReadDomainHintDate reads the first, so a changed domain goes there.
  TDbQuery& q = Prepare(ADOSecond, {"select * from DomainCallDate order by Id limit 1"});
  q.Open();
  StoreRow(q, "Tdata.SaveDomaniHintDate,出错", [&](bool) {
    q.FieldByName("HintDateNumber").SetAsInteger(hintDateNumber);
    Set(q, "DomainName", domainName);
  });
}

void TData::ReadChatMsg(const std::string& friendNumber, std::vector<TChatRecord>& msgs) {
  TDbQuery& q = Prepare(ADOSecond,
                        {"select * from ChatMsg where FriendNumber=:FriendNumber", "and ChatDate>=:Since order by Id"});
  q.SetParam("FriendNumber", friendNumber);
  q.SetParam("Since", DateText(dt::Now() - 30));
  q.Open();
  msgs.clear();
  for (; !q.Eof(); q.Next()) {
    TChatRecord r;
    r.ChatMsg = Text(q, "ChatMsg");
    msgs.push_back(r);
  }
}

void TData::SaveChatMsg(const TChatRecord& record) {
  TDbQuery& q = Prepare(ADOSecond, {"select * from ChatMsg where 1=0"});
  q.Open();
  StoreRow(q, "TData.SaveChatMsg出错", [&](bool) {
    Set(q, "ChatDate", dt::DateTimeToStr(record.ChatDate));
    Set(q, "ChatMsg", record.ChatMsg);
    Set(q, "FriendNumber", record.FriendNumber);
  });
}

void TData::ReadLoginNames(std::string& names) {
  TDbQuery& q = Prepare(ADOSecond, {"select * from SelfInfo order by Id"});
  q.Open();
  names.clear();
  for (; !q.Eof(); q.Next()) names += Text(q, "Username") + ",";
}

void TData::EditUserInfo(TSelfInfo& info, bool load) {
  if (load) {
    TDbQuery& q = Prepare(ADOSecond, {"select * from SelfInfo order by id desc limit 1"});
    q.Open();
    info.Username = Text(q, "Username");
    info.UserPass = Text(q, "UserPass");
    info.IsSave = Text(q, "IsSave");
    info.HistoryLoginName = Text(q, "HistoryLoginName");
    info.JsScript = Text(q, "JsScript");
    return;
  }
  TDbQuery& q = Prepare(ADOSecond, {"select * from SelfInfo where username=:Username order by Id"});
  q.SetParam("Username", info.Username);
  q.Open();
  StoreRow(q, "TData.EditUserInfo出错", [&](bool isNew) {
    if (isNew) Set(q, "Username", info.Username);
    Set(q, "UserPass", info.UserPass);
    Set(q, "IsSave", info.IsSave);
    Set(q, "HistoryLoginName", info.HistoryLoginName);
  });
}

int TData::SaveNetBackUrl(int mode, int urlType) {
  if (mode < 0 || mode > 2 || urlType < 0 || urlType > 2) return 0;
  const TNetBackUrl& u = CurrentNetBackUrl;
  static const char* const kChangeFailures[] = {"信息:更改后台网址记录出现异常", "信息:更改常用网址记录出现异常",
                                                "信息:更改Ftp记录出现异常"};
  const char* failure = mode == 0   ? "信息:添加记录出现异常"
                        : mode == 1 ? kChangeFailures[urlType]
                                    : "信息:删除记录出现异常";
  TDbQuery* q = ADOSecond;
  try {
    if (mode == 0) {
      Prepare(q, {"select * from NetBackRecord where EnterpriseId=:EnterpriseId", " and NetSiteName=:NetSiteName",
                  " and NetSiteAddress=:NetSiteAddress", " and NetUrlType=:NetUrlType"});
      q->SetParam("EnterpriseId", u.EnterpriseId);
      q->SetParam("NetSiteName", u.NetSiteName);
      q->SetParam("NetSiteAddress", u.NetSiteAddress);
      q->SetParam("NetUrlType", (int64_t)urlType);
      q->Open();
      if (!q->IsEmpty()) return 1;
      q->Append();
      Set(*q, "NetSiteName", u.NetSiteName);
      Set(*q, "NetSiteAddress", u.NetSiteAddress);
      Set(*q, "UserName", u.UserName);
      Set(*q, "UserPass", u.UserPass);
      Set(*q, "PostDate", DateText(dt::Now()));
      Set(*q, "EnterpriseId", u.EnterpriseId);
      q->FieldByName("NetUrlType").SetAsInteger(urlType);
      Set(*q, "Port", u.Port);
      q->Post();
    } else if (mode == 1) {
      Prepare(q, {"select id,EnterpriseId,Port,NetSiteName,NetSiteAddress,UserName,UserPass,PostDate,NetUrlType from "
                  "NetBackRecord where EnterpriseId=:EnterpriseId",
                  "and Id=:Id", " and NetUrlType=:NetUrlType"});
      q->SetParam("EnterpriseId", u.EnterpriseId);
      q->SetParam("Id", (int64_t)u.Id);
      q->SetParam("NetUrlType", (int64_t)urlType);
      q->Open();
      // A row deleted meanwhile is a failure, not a new row without its enterprise.
      q->Edit();
      Set(*q, "NetSiteName", u.NetSiteName);
      Set(*q, "NetSiteAddress", u.NetSiteAddress);
      if (urlType != 1) {
        Set(*q, "UserName", u.UserName);
        Set(*q, "UserPass", u.UserPass);
      }
      Set(*q, "PostDate", DateText(dt::Now()));
      if (urlType == 2) Set(*q, "Port", u.Port);
      q->Post();
    } else {
      Prepare(q, {"delete from NetBackRecord where EnterpriseId=:EnterpriseId", "and Id=:Id"});
      q->SetParam("EnterpriseId", u.EnterpriseId);
      q->SetParam("Id", (int64_t)u.Id);
      q->ExecSQL();
    }
  } catch (const std::exception& e) {
    q->Cancel();
    WriteErrorLog(std::string(e.what()) + "函数名:function TData.SaveNetBackUrl" + failure);
    return 2;
  }
  return 0;
}

void TData::ReadNetBackUrls(const std::string& enterpriseId, const std::string& urlType,
                            std::vector<TNetBackUrl>& urls) {
  TDbQuery& q = Prepare(ADOSecond, {"select * from NetBackRecord where EnterpriseId=:EnterpriseId",
                                    "and NetUrlType=:NetUrlType order by id"});
  q.SetParam("EnterpriseId", enterpriseId);
  q.SetParam("NetUrlType", urlType);
  q.Open();
  urls.clear();
  for (; !q.Eof(); q.Next()) {
    TNetBackUrl u;
    u.EnterpriseId = enterpriseId;
    u.NetSiteAddress = Text(q, "NetSiteAddress");
    u.NetSiteName = Text(q, "NetSiteName");
    u.UserName = Text(q, "UserName");
    u.UserPass = base64::Decode(Text(q, "UserPass"));
    u.PostDate = Text(q, "PostDate");
    u.NetUrlType = Text(q, "NetUrlType");
    u.Id = q.FieldByName("Id").AsInteger();
    u.Port = Text(q, "Port");
    urls.push_back(u);
  }
}
