// The "系统设置" dialog: a tree of six entries beside the page it shows. It edits the quick
// phrases, the server line and the domain-expiry reminder, shows the message hot key, opens
// the backup window, and ends the program to let the restore tool put the backup back.
// GUI thread only. The application makes one at start; the login dialog makes and frees its
// own.
#pragma once
#include <string>
#include <vector>

#include "core/uDataOperate.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/TreeView.h"

class TfrmServerHost : public TForm {
  KARV_CLASS(TfrmServerHost, TForm)
 public:
  explicit TfrmServerHost(TComponent* owner);

  TPanel* Panel1 = nullptr;
  TTreeView* yTrewView = nullptr;
  TButton* btnOK = nullptr;
  TButton* BtnCancel = nullptr;
  TGroupBox* PanelConfig = nullptr;
  TLabel* Label1 = nullptr;
  TListBox* ListBoxShortMessage = nullptr;
  TEdit* yShortChar = nullptr;
  TButton* btnAdd = nullptr;
  TGroupBox* PanelNet = nullptr;
  TComboBox* yLineChoice = nullptr;
  TGroupBox* PanelDomain = nullptr;
  TLabel* Label3 = nullptr;
  TEdit* yCallDate = nullptr;
  TLabel* Label4 = nullptr;
  TEdit* yDomain = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* lblExample = nullptr;
  TGroupBox* GroupShortCut = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* yShortCut = nullptr;

  void FormShow(TObject* Sender);
  void btnOKClick(TObject* Sender);
  void BtnCancelClick(TObject* Sender);
  void yTrewViewClick(TObject* Sender);
  void btnAddClick(TObject* Sender);
  // The part after the first "www.", or "" when the text holds none.
  static std::string StripWww(const std::string& text);
  TPublishedTable Published() override;

 private:
  // Hides every page and shows `page` at its place.
  void ShowPage(TControl* page);
  void OpenBackup();
  void StartRestore();
};

// The server lines of the system database, read when the settings window shows.
extern std::vector<THostLine> HostLines;
