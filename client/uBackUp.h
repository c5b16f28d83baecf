// The "备份个人信息" window: copies the personal database into the Bak folder beside the
// program through the backup copier, with a progress bar. Its copier lives while the window
// is shown; closing the window during a copy stops the copy and waits for it, so no worker
// outlives the window and no half-written backup is left. In restore mode it is the one
// window of the restore tool, which copies the backup back over the personal database.
// Contract: the application owns it (DataBackFrm); the window owns its copier, whose events
// reach it on the GUI thread only. GUI thread only.
#pragma once
#include <cstdint>
#include <string>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/StdCtrls.h"

class TDataBackFrm : public TForm {
  KARV_CLASS(TDataBackFrm, TForm)
 public:
  explicit TDataBackFrm(TComponent* owner);

  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* lblPostion = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* lblWaitBackup = nullptr;
  TEdit* yFileName = nullptr;
  TButton* btnSelectFile = nullptr;
  TButton* btnBackUp = nullptr;
  TButton* BitBtn3 = nullptr;
  TButton* btnClose = nullptr;  // the restore tool's "取消"
  TProgressBar* ProgressFile = nullptr;

  std::string BackupPath;
  std::string LocalPath;

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void btnBackUpClick(TObject* Sender);
  void btnSelectFileClick(TObject* Sender);
  void BitBtn3Click(TObject* Sender);
  void btnCloseClick(TObject* Sender);
  void CopyMessage(TObject* Sender, const std::string& Msg);
  void CopyFileSize(TObject* Sender, int64_t Size);
  void CopyProgress(TObject* Sender, int64_t Position);
  void CopyFinish(TObject* Sender, bool Success);
  // The file's last-written time, local, in the system's short date and time formats.
  std::string GetBackFileDate(const std::string& path);
  TPublishedTable Published() override;

 protected:
  void BeforeDestruction() override;

 private:
  // Frees the copier when this window made it: stops a running copy and waits for it.
  void DropCopier();
  // Restore mode (uBackUpRestore.cpp): checks and confirms the backup, then copies it once
  // the personal database is free.
  void RestoreClick();
  void WaitForFreeDatabase(TObject* Sender);
  void StartRestoreCopy();
  void RestoreFinished(bool success);
  TTimer* freeWait_ = nullptr;
  unsigned long freeWaitEnd_ = 0;
};

// 0 backup, 1 restore; set by whoever opens the window, before showing it.
extern uint8_t DataBackMode;
extern TDataBackFrm* DataBackFrm;

// Closes every statement the data modules hold on the local databases, and with
// `connections` their connections too, so the files can be copied whole.
void CloseLocalDatabases(bool connections);
