// TSaveNetFrm ("书签"): the user's own web addresses, kept in the personal database under
// the logged-in account, one page per kind: back-end addresses of the user's sites with
// user name and password, common addresses, and FTP accounts. Rows are read and written
// only through TData; an address opens in the system's browser through the shell seam.
// Created once by the main window and kept.
#pragma once
#include <string>
#include <vector>

#include "core/uDataOperate.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/ListView.h"
#include "platform/forms/StdCtrls.h"

class TSaveNetFrm : public TForm {
  KARV_CLASS(TSaveNetFrm, TForm)
 public:
  explicit TSaveNetFrm(TComponent* owner);
  ~TSaveNetFrm() override;

  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* yNetSiteName = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* yNetAddress = nullptr;
  TButton* btnTransNet = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TEdit* yUserName = nullptr;
  TLabel* Label5 = nullptr;
  TEdit* yUserPass = nullptr;
  TLabel* Label6 = nullptr;
  TEdit* yOkPass = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TListView* yListNetBackUrl = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TLabel* Label7 = nullptr;
  TEdit* yNetName = nullptr;
  TLabel* Label8 = nullptr;
  TEdit* yNetUrl = nullptr;
  TButton* btnNetUrl = nullptr;
  TLabel* Label9 = nullptr;
  TGroupBox* GroupBox4 = nullptr;
  TListView* yListViewNetUrl = nullptr;
  TTabSheet* TabSheet3 = nullptr;
  TGroupBox* GroupBox5 = nullptr;
  TLabel* Label10 = nullptr;
  TEdit* yFtpName = nullptr;
  TLabel* Label11 = nullptr;
  TEdit* yFtpAddress = nullptr;
  TLabel* Label12 = nullptr;
  TEdit* yFtpPort = nullptr;
  TLabel* Label13 = nullptr;
  TEdit* yFtpUserName = nullptr;
  TLabel* Label14 = nullptr;
  TEdit* yFtpPassword = nullptr;
  TLabel* Label15 = nullptr;
  TEdit* yOkFtpPass = nullptr;
  TGroupBox* GroupBox6 = nullptr;
  TListView* yListViewFtp = nullptr;
  TPanel* Panel1 = nullptr;
  TLabel* Label16 = nullptr;
  TLabel* Label17 = nullptr;
  TButton* btnNewAdd = nullptr;
  TButton* btnDelete = nullptr;
  TButton* btnCancel = nullptr;

  void FormShow(TObject* Sender);
  void btnNewAddClick(TObject* Sender);
  void btnDeleteClick(TObject* Sender);
  void btnCancelClick(TObject* Sender);
  void PageControl1Change(TObject* Sender);
  void btnTransNetClick(TObject* Sender);
  void btnNetUrlClick(TObject* Sender);
  void yListNetBackUrlClick(TObject* Sender);
  void yListViewNetUrlClick(TObject* Sender);
  void yListViewFtpClick(TObject* Sender);
  void yUserPassKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void yNetUrlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void yFtpPasswordKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void yListNetBackUrlColumnClick(TObject* Sender, int Column);
  void yListViewNetUrlColumnClick(TObject* Sender, int Column);
  void yListViewFtpColumnClick(TObject* Sender, int Column);
  TPublishedTable Published() override;

  int CurrentId() const { return currentId_; }

 private:
  struct Kind;
  const Kind& KindOf(int urlType) const;
  TListView* ListOf(int urlType) const;
  // Reads the account's rows of that kind and shows them.
  void FillList(int urlType);
  void TakeFromList(int urlType);
  // Fills the current saved address from the page's edits.
  void FillCurrent(int urlType);
  // The checks and the save of one kind; false when a check stopped it.
  void AddOrChange(int urlType);
  void ClearEdits(int urlType, bool withConfirmation, bool withPort);
  void OpenAddress(const std::string& address);
  void SortList(TListView* list, int column);
  bool Confirm(const std::string& question);

  std::vector<TNetBackUrl> rows_;
  int currentId_ = 0;
};

// Direction of the next column sort, shared by the three lists: false sorts descending.
extern bool SortAscending;

extern TSaveNetFrm* SaveNetFrm;
