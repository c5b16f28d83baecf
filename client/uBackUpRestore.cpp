// The backup window in restore mode, the one window of the restore tool: it puts
// Bak\LocalConfig.mdb back over DataConfig\LocalConfig.mdb. The personal database is only
// ever replaced by a whole, checked copy: a backup that is not a sound personal database is
// refused before anything is copied, the copier writes a temporary file and renames it over
// the database only once it is complete, and the rename waits until the program that started
// the tool has let go of the database.
#include <windows.h>

#include "client/uBackUp.h"
#include "core/PersonalDbCheck.h"
#include "core/uDataBack.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Client ends as it starts the tool; its last steps (the log-out page) may take a while.
constexpr DWORD kFreeWaitMs = 10000;
constexpr int kFreePollMs = 200;

// Nobody holds the file open (or it does not exist yet): opening it without sharing works.
bool DatabaseFileFree(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    return true;
  }
  DWORD e = GetLastError();
  return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::string TDataBackFrm::GetBackFileDate(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  FILETIME local{};
  SYSTEMTIME t{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info) ||
      !FileTimeToLocalFileTime(&info.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &t))
    return "";
  char date[64] = {}, time[64] = {};
  if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, sizeof date)) return "";
  if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, time, sizeof time)) return date;
  return std::string(date) + " " + time;
}

void TDataBackFrm::RestoreClick() {
  auto tell = [this](const std::string& text, unsigned flags) {
    return seams::Dialogs().Ask(Handle(), text, "系统提示", flags);
  };
  BackupPath = sys::ExtractFilePath(sys::ParamStr(0)) + "Bak\\LocalConfig.mdb";
  if (!sys::FileExists(BackupPath)) {
    tell("备份文件不存在", MB_OK | MB_ICONQUESTION);
    return;
  }
  // Copied over the personal database, an empty or broken file would cost the user every
  // setting; the program would start with nothing.
  if (!IsPersonalDatabaseFile(BackupPath)) {
    tell("备份文件已损坏或不是个人配置文件，不能用于还原。", MB_OK | MB_ICONWARNING);
    return;
  }
  std::string question = "备份文件创建日期[" + GetBackFileDate(BackupPath) + "]\r\n" +
                         "执行还原操作将会覆盖个人配置文件。\r\n" + "确认要执行还原操作吗?";
  if (tell(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  btnBackUp->SetEnabled(false);  // until the copy has ended
  lblWaitBackup->SetCaption("开始还原");
  if (DatabaseFileFree(LocalPath)) {
    StartRestoreCopy();
    return;
  }
  if (!freeWait_) {
    freeWait_ = new TTimer(this);
    freeWait_->SetInterval(kFreePollMs);
    freeWait_->OnTimer = TNotifyEvent(this, &TDataBackFrm::WaitForFreeDatabase);
  }
  freeWaitEnd_ = GetTickCount() + kFreeWaitMs;
  freeWait_->SetEnabled(true);
}

void TDataBackFrm::WaitForFreeDatabase(TObject*) {
  if (DatabaseFileFree(LocalPath)) {
    freeWait_->SetEnabled(false);
    StartRestoreCopy();
  } else if ((long)(GetTickCount() - freeWaitEnd_) >= 0) {
    freeWait_->SetEnabled(false);
    seams::Dialogs().Ask(Handle(), "个人配置文件正在被使用，请退出客户端后再执行还原操作。", "系统提示",
                         MB_OK | MB_ICONWARNING);
    btnBackUp->SetEnabled(true);
  }
}

void TDataBackFrm::StartRestoreCopy() {
  if (!LocalCopy || !LocalCopy->AddJob(BackupPath, LocalPath)) {
    seams::Dialogs().Ask(Handle(), "备份文件不存在", "系统提示", MB_OK | MB_ICONQUESTION);
    btnBackUp->SetEnabled(true);
    return;
  }
  LocalCopy->Start();
}

void TDataBackFrm::RestoreFinished(bool success) {
  if (!success) {
    // The copier replaces the database only with a whole copy: it is as it was.
    seams::Dialogs().Ask(Handle(), "还原失败，个人配置文件没有改变。", "系统提示", MB_OK | MB_ICONWARNING);
    btnBackUp->SetEnabled(true);
    return;
  }
  // A rollback journal left by the old database would be played into the restored one at
  // its next opening and damage it.
  DeleteFileA((LocalPath + "-journal").c_str());
  ProgressFile->SetPosition(0);
  lblWaitBackup->SetCaption("还原完成");
  Application->Terminate();
}
