// The backup window; see uBackUp.h.
#include "client/uBackUp.h"

#include "core/uDataBack.h"
#include "core/uDataOperate.h"
#include "core/uSocketSvrClient.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/forms/FileDialogs.h"
#include "platform/rtl/SysUtils.h"

uint8_t DataBackMode = 0;
TDataBackFrm* DataBackFrm = nullptr;

namespace {
std::string ProgramFolder() { return sys::ExtractFilePath(sys::ParamStr(0)); }

void CloseModule(TData* d, bool connections) {
  if (!d) return;
  for (TDbQuery* q : {d->Adodb, d->ADOSecond})
    if (q) q->Close();
  if (!connections) return;
  for (TDbConnection* c : {d->ADOConnection, d->AdoConnSecond})
    if (c) c->Close();
}
}  // namespace

void CloseLocalDatabases(bool connections) {
  CloseModule(Data, connections);
  if (ServiceClient && ServiceClient->DataModule != Data) CloseModule(ServiceClient->DataModule, connections);
}

TDataBackFrm::TDataBackFrm(TComponent* owner) : TForm(owner) {}

TPublishedTable TDataBackFrm::Published() {
  using F = TDataBackFrm;
  TPublishedTable table = {
      KARV_FIELDS(F, GroupBox1, Label1, lblPostion, Label3),
      KARV_FIELDS(F, lblWaitBackup, yFileName, btnSelectFile, btnBackUp, ProgressFile),
      KARV_HANDLERS(F, FormShow, FormClose, btnBackUpClick, btnSelectFileClick, BitBtn3Click, btnCloseClick)};
  // The restore tool's description names its cancel button btnClose.
  table.push_back(DataBackMode == 0 ? KARV_FIELD(F, BitBtn3) : KARV_FIELD(F, btnClose));
  return table;
}

void TDataBackFrm::DropCopier() {
  if (LocalCopy && LocalCopy->OnFinish.Owner() == this) LocalCopy.reset();
}

void TDataBackFrm::BeforeDestruction() {
  DropCopier();
  if (DataBackFrm == this) DataBackFrm = nullptr;
  TForm::BeforeDestruction();
}

void TDataBackFrm::FormClose(TObject*, TCloseAction&) { DropCopier(); }

void TDataBackFrm::FormShow(TObject*) {
  ProgressFile->SetPosition(0);
  LocalPath = ProgramFolder() + "DataConfig\\LocalConfig.mdb";
  LocalCopy = std::make_unique<TLocalCopy>();
  LocalCopy->OnMessage = TEvent<void(TObject*, const std::string&)>(this, &TDataBackFrm::CopyMessage);
  LocalCopy->OnFileSize = TEvent<void(TObject*, int64_t)>(this, &TDataBackFrm::CopyFileSize);
  LocalCopy->OnProgress = TEvent<void(TObject*, int64_t)>(this, &TDataBackFrm::CopyProgress);
  LocalCopy->OnFinish = TEvent<void(TObject*, bool)>(this, &TDataBackFrm::CopyFinish);
  if (DataBackMode == 0) {
    lblPostion->SetCaption("备份进度");
    lblWaitBackup->SetCaption("准备备份");
  } else {
    lblPostion->SetCaption("还原进度");
    lblWaitBackup->SetCaption("准备还原");
  }
}

void TDataBackFrm::btnBackUpClick(TObject*) {
  if (!LocalCopy) return;
  if (DataBackMode != 0) {
    RestoreClick();
    return;
  }
  std::string folder = ProgramFolder() + "Bak\\";
  if (!sys::DirectoryExists(folder)) sys::ForceDirectories(folder);
  BackupPath = folder + "LocalConfig.mdb";
  // The copy is read while the program runs: no statement may hold the file meanwhile.
  CloseLocalDatabases(false);
  LocalCopy->AddJob(LocalPath, BackupPath);
  LocalCopy->Start();
  lblWaitBackup->SetCaption("开始备份");
}

void TDataBackFrm::btnSelectFileClick(TObject*) {
  if (DataBackMode == 0) {
    TOwned<TSaveDialog> dialog(new TSaveDialog(nullptr));
    dialog->Title = "保存文件";
    dialog->FileName = "LocalConfig.mdb";
    dialog->Filter = "数据库文件(*.mdb)|*.mdb";
    if (!dialog->Execute()) return;
    std::string name = dialog->FileName;
    if (name.find("mdb") == std::string::npos) name += ".mdb";
    yFileName->SetText(name);
  } else {
    TOwned<TOpenDialog> dialog(new TOpenDialog(nullptr));
    dialog->Title = "打开";
    dialog->Filter = "数据库文件(*.mdb)|*.mdb";
    if (dialog->Execute()) yFileName->SetText(dialog->FileName);
  }
}

void TDataBackFrm::BitBtn3Click(TObject*) { Close(); }

void TDataBackFrm::btnCloseClick(TObject*) { Close(); }

void TDataBackFrm::CopyMessage(TObject*, const std::string&) {}

void TDataBackFrm::CopyFileSize(TObject*, int64_t Size) { ProgressFile->SetMax((int)(uint32_t)Size); }

void TDataBackFrm::CopyProgress(TObject*, int64_t Position) { ProgressFile->SetPosition((int)Position); }

void TDataBackFrm::CopyFinish(TObject*, bool Success) {
  if (DataBackMode != 0) {
    RestoreFinished(Success);
    return;
  }
  if (!Success) return;
  ProgressFile->SetPosition(0);
  lblWaitBackup->SetCaption("备份完成");
}
