// The trade window: posts a supply or demand offer to the service as one 1401-byte record
// (protocol 53) and reports the answer. Region and industry come from the tables the server
// sends after login (51, 52), which the main window keeps in the globals below; the lists
// cascade by code, kept as each item's data, so equal names (several "市辖区") stay apart.
// Contract: the program block makes one owned by the application (TradeFrm); the main window's
// button shows its own modally and frees it when the call returns. The region and industry
// globals belong to the main window and outlive every instance. GUI thread only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/ServiceReplies.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Memo.h"
#include "platform/forms/RadioGroup.h"
#include "platform/forms/StdCtrls.h"

class TTradeFrm : public TForm {
  KARV_CLASS(TTradeFrm, TForm)
 public:
  explicit TTradeFrm(TComponent* owner);

  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TRadioGroup* yInfoCategory = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* yName = nullptr;
  TLabel* Label3 = nullptr;
  TRadioGroup* yVaidateDate = nullptr;
  TLabel* Label4 = nullptr;
  TEdit* yTitle = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label6 = nullptr;
  TComboBox* yProvince = nullptr;
  TComboBox* yCity = nullptr;
  TComboBox* yState = nullptr;
  TLabel* Label7 = nullptr;
  TLabel* Label8 = nullptr;
  TComboBox* yBigList = nullptr;
  TComboBox* ySmallList = nullptr;
  TLabel* Label9 = nullptr;
  TEdit* yProduceNumber = nullptr;
  TLabel* Label10 = nullptr;
  TEdit* yWarpDescription = nullptr;
  TLabel* Label11 = nullptr;
  TEdit* yPriceDescription = nullptr;
  TLabel* Label12 = nullptr;
  TEdit* yProduceGuiGe = nullptr;
  TLabel* Label13 = nullptr;
  TLabel* Label14 = nullptr;
  TLabel* Label15 = nullptr;
  TMemo* yTotalDescription = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TLabel* Label16 = nullptr;
  TEdit* yUserName = nullptr;
  TLabel* Label17 = nullptr;
  TEdit* yCompanyName = nullptr;
  TLabel* Label18 = nullptr;
  TEdit* yPhone = nullptr;
  TLabel* Label19 = nullptr;
  TEdit* yFx = nullptr;
  TLabel* Label20 = nullptr;
  TEdit* yEmail = nullptr;
  TLabel* Label21 = nullptr;
  TEdit* yUrl = nullptr;
  TButton* ySave = nullptr;
  TButton* yClear = nullptr;

  void FormShow(TObject* Sender);
  void yProvinceClick(TObject* Sender);
  void yCityClick(TObject* Sender);
  void yBigListClick(TObject* Sender);
  void yProduceNumberKeyPress(TObject* Sender, char& Key);
  void ySaveClick(TObject* Sender);
  void yClearClick(TObject* Sender);
  void HandleTradeSaveResult(TObject* Sender, const uint8_t* Frame, int32_t Held);
  TPublishedTable Published() override;

  // The record of the form as it would be sent.
  TTradeInfo BuildTradeInfo() const;

 protected:
  void BeforeDestruction() override;
};

// Provinces, cities and districts (protocol 51) and industries (52), as the server last sent them.
extern std::vector<TRegionEntry> RegionTable1, RegionTable2, RegionTable3;
extern std::vector<TCategoryEntry> IndustryTable;
extern TTradeFrm* TradeFrm;
