// The trade window; see uTrade.h.
#include "client/uTrade.h"

#include <cstdint>

#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/SysUtils.h"

std::vector<TRegionEntry> RegionTable1, RegionTable2, RegionTable3;
std::vector<TCategoryEntry> IndustryTable;
TTradeFrm* TradeFrm = nullptr;

namespace {

// Days of the five validity choices, in their order.
const char* const kValidityDays[] = {"10", "20", "30", "90", "180"};

// Codes are 32-bit on the wire and kept unsigned as item data: a signed round trip through
// a 32-bit pointer turned codes from 2^31 up negative, and their children were never found.
void* CodeData(uint32_t code) { return reinterpret_cast<void*>(static_cast<uintptr_t>(code)); }

// The code kept with the chosen item, or false when none is chosen.
bool ChosenCode(const TComboBox* list, uint32_t& code) {
  int i = list->ItemIndex();
  if (i < 0) return false;
  code = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(list->Items().Objects(i)));
  return true;
}

// The names of the entries under `parent`, each with its own code as item data.
template <class Entry, class Parent>
void FillChildren(TComboBox* list, const std::vector<Entry>& table, Parent parent) {
  for (const Entry& e : table)
    if (uint32_t(e.Parent) == uint32_t(parent)) list->Items().Add(e.Name, CodeData(uint32_t(e.Own)));
}

// The chosen item's text, or "".
std::string ChosenText(const TComboBox* list) {
  int i = list->ItemIndex();
  return i < 0 ? std::string() : list->Items()[i];
}

void FirstItem(TComboBox* list) { list->SetItemIndex(list->Items().Count() > 0 ? 0 : -1); }

}  // namespace

TTradeFrm::TTradeFrm(TComponent* owner) : TForm(owner) {}

TPublishedTable TTradeFrm::Published() {
  using F = TTradeFrm;
  return {KARV_FIELDS(F, GroupBox1, Label1, yInfoCategory, Label2, yName, Label3),
          KARV_FIELDS(F, yVaidateDate, Label4, yTitle, Label5, Label6, yProvince),
          KARV_FIELDS(F, yCity, yState, Label7, Label8, yBigList, ySmallList, Label9),
          KARV_FIELDS(F, yProduceNumber, Label10, yWarpDescription, Label11, yPriceDescription, Label12),
          KARV_FIELDS(F, yProduceGuiGe, Label13, Label14, Label15, yTotalDescription, GroupBox2, Label16),
          KARV_FIELDS(F, yUserName, Label17, yCompanyName, Label18, yPhone, Label19),
          KARV_FIELDS(F, yFx, Label20, yEmail, Label21, yUrl, ySave, yClear),
          KARV_HANDLERS(F, FormShow, yProvinceClick, yCityClick),
          KARV_HANDLERS(F, yBigListClick, yProduceNumberKeyPress, ySaveClick, yClearClick)};
}

void TTradeFrm::BeforeDestruction() {
  if (ServiceClient) ServiceClient->OnTradeSaveResult.ClearIfOwner(this);
  if (TradeFrm == this) TradeFrm = nullptr;
  TForm::BeforeDestruction();
}

void TTradeFrm::FormShow(TObject*) {
  yProvince->Items().Clear();
  for (const TRegionEntry& e : RegionTable1) yProvince->Items().Add(e.Name, CodeData(e.Own));
  yBigList->Items().Clear();
  FillChildren(yBigList, IndustryTable, -1);
  if (ServiceClient) ServiceClient->OnTradeSaveResult = TPacketEvent(this, &TTradeFrm::HandleTradeSaveResult);
  yCompanyName->SetText(LoginReply.Company);
  yPhone->SetText(LoginReply.Phone);
  yFx->SetText(LoginReply.Fax);
  yEmail->SetText(LoginReply.Email);
  yUrl->SetText(SiteUrl);
}

void TTradeFrm::yProvinceClick(TObject*) {
  uint32_t code;
  if (!ChosenCode(yProvince, code)) return;
  yCity->Items().Clear();
  yState->Items().Clear();
  FillChildren(yCity, RegionTable2, code);
}

void TTradeFrm::yCityClick(TObject*) {
  uint32_t code;
  if (!ChosenCode(yCity, code)) return;
  yState->Items().Clear();
  FillChildren(yState, RegionTable3, code);
}

void TTradeFrm::yBigListClick(TObject*) {
  uint32_t code;
  if (!ChosenCode(yBigList, code)) return;
  // The sub-categories of the last choice only.
  ySmallList->Items().Clear();
  FillChildren(ySmallList, IndustryTable, code);
}

void TTradeFrm::yProduceNumberKeyPress(TObject*, char& Key) {
  bool digit = Key >= '0' && Key <= '9';
  if (!digit && Key != 8 && Key != 13 && Key != 27) Key = 0;
}

TTradeInfo TTradeFrm::BuildTradeInfo() const {
  auto trimmed = [](const TEdit* e) { return sys::Trim(e->Text()); };
  TTradeInfo t;
  t.Category = sys::IntToStr(yInfoCategory->ItemIndex());
  t.Title = yTitle->Text();
  t.Name = yName->Text();
  t.Province = ChosenText(yProvince);
  t.City = ChosenText(yCity);
  t.District = ChosenText(yState);
  t.MainCategory = ChosenText(yBigList);
  t.SubCategory = ChosenText(ySmallList);
  int validity = yVaidateDate->ItemIndex();
  t.Validity = validity >= 0 && validity < 5 ? kValidityDays[validity] : "";
  t.Price = trimmed(yPriceDescription);
  t.Packing = trimmed(yWarpDescription);
  t.Quantity = yProduceNumber->Text().empty() ? "0" : yProduceNumber->Text();
  t.ProductSpecs = trimmed(yProduceGuiGe);
  t.Description = sys::Trim(yTotalDescription->Text());
  t.ContactName = trimmed(yUserName);
  t.Company = trimmed(yCompanyName);
  t.Phone = trimmed(yPhone);
  t.Fax = trimmed(yFx);
  t.Email = trimmed(yEmail);
  t.WebAddress = trimmed(yUrl);
  t.OwnAccount = LoginData.Username;
  return t;
}

void TTradeFrm::ySaveClick(TObject*) {
  struct Check {
    bool failed;
    const char* message;
  };
  const Check checks[] = {
      {yInfoCategory->ItemIndex() < 0, "请选择发布信息种类"}, {ChosenText(yProvince).empty(), "请选择产品所在地区"},
      {ChosenText(yBigList).empty(), "请选择产品大类"},         {yVaidateDate->ItemIndex() < 0, "请选择信息有效期"},
      {yUserName->Text().empty(), "姓名不能为空"},          {yCompanyName->Text().empty(), "公司名称不能为空"},
      {yPhone->Text().empty(), "电话不能为空"},
  };
  for (const Check& c : checks)
    if (c.failed) {
      ShowMsg("", c.message);
      return;
    }
  try {
    TradeInfo = BuildTradeInfo();
    if (!ServiceClient) throw Exception("no connection");
    ServiceClient->SendTradeInfo();
  } catch (const std::exception&) {
    ShowMsg("", "贸易信息上传失败");
  }
}

void TTradeFrm::HandleTradeSaveResult(TObject*, const uint8_t* Frame, int32_t Held) {
  if (ReplyRecord<uint8_t>(Frame, Held) != 1) {
    ShowMsg("", "贸易信息上传失败");
    return;
  }
  ShowMsg("", "贸易信息上传成功");
  yClearClick(this);
}

void TTradeFrm::yClearClick(TObject*) {
  for (TComboBox* list : {yProvince, yCity, yState, yBigList, ySmallList}) FirstItem(list);
  for (TEdit* e : {yName, yTitle, yProduceNumber, yWarpDescription, yPriceDescription, yProduceGuiGe, yUserName,
                   yCompanyName, yPhone, yFx, yEmail, yUrl})
    e->SetText("");
  yTotalDescription->SetText("");
}
