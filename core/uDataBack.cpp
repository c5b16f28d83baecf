#include "core/uDataBack.h"

#include <windows.h>

#include "platform/rtl/SysUtils.h"

std::unique_ptr<TLocalCopy> LocalCopy;

namespace {

constexpr const char* kSeparator = "<$:$>";
constexpr DWORD kBlockSize = 2048;

struct FileHandle {
  HANDLE h = INVALID_HANDLE_VALUE;
  ~FileHandle() { Close(); }
  void Close() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }
};

}  // namespace

// ---- TLocalCopy

TLocalCopy::TLocalCopy() : queue_(std::make_shared<TCopyQueue>()) {}

TLocalCopy::~TLocalCopy() {
  OnMessage.Clear();
  OnConfirm.Clear();
  OnFileSize.Clear();
  OnProgress.Clear();
  OnFinish.Clear();
  if (!FThread) return;
  FThread->Orphan();
  FThread->Terminate();
  // Inside one of our events the worker waits for this very call: waiting for it would
  // never end, so it stops at its next step and frees itself.
  if (FThread->InEvent() && FThread->FreeOnEnd()) {
    FThread.release();  // owned by the worker now
    return;
  }
  FThread->WaitForSynchronizeOnly();
}

bool TLocalCopy::AddJob(const std::string& src, const std::string& dst) {
  if (!sys::FileExists(src)) {
    DoMessage("提示: 个人信息数据库文件丢失(" + src + ")");
    return false;
  }
  std::string job = sys::LowerCase(src + kSeparator + dst);
  std::lock_guard<std::mutex> g(queue_->lock);
  if (queue_->list.IndexOf(job) < 0) queue_->list.Add(job);
  return true;
}

bool TLocalCopy::IsBusy() const {
  std::lock_guard<std::mutex> g(queue_->lock);
  return FThread && !queue_->workerDone;
}

void TLocalCopy::Start() {
  if (IsBusy()) {
    DoMessage("提示：当前操作正在进行，请稍后...");
    return;
  }
  // The old worker has finished its last job and is returning. Only its own calls are
  // served meanwhile: any other handler run here could free this copier.
  if (FThread) FThread->WaitForSynchronizeOnly();
  {
    std::lock_guard<std::mutex> g(queue_->lock);
    queue_->workerDone = false;
  }
  FThread = std::make_unique<TLocalBackThread>(this, queue_);
}

void TLocalCopy::DoMessage(const std::string& msg) {
  // A copy: the handler may free this copier.
  auto handler = OnMessage;
  if (handler) handler(this, msg);
}

bool TCopyQueue::TakeFirst(std::string& job) {
  std::lock_guard<std::mutex> g(lock);
  if (list.Count() == 0) {
    workerDone = true;
    return false;
  }
  job = list[0];
  return true;
}

void TCopyQueue::RemoveFirst() {
  std::lock_guard<std::mutex> g(lock);
  if (list.Count() > 0) list.Delete(0);
}

// ---- TLocalBackThread

TLocalBackThread::TLocalBackThread(TLocalCopy* owner, std::shared_ptr<TCopyQueue> queue)
    : FOwner(owner), queue_(std::move(queue)) {
  Start();
}

TLocalBackThread::~TLocalBackThread() {
  Terminate();
  WaitFor();
}

void TLocalBackThread::Execute() {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
  std::string job;
  while (!Terminated() && queue_->TakeFirst(job)) {
    FResult = false;
    try {
      if (ParseJob(job) && FContinue) FResult = CopyOne(FSrc, FDst);
    } catch (...) {
      FResult = false;
    }
    queue_->RemoveFirst();
    Sync(&TLocalBackThread::DoFinish);
  }
}

void TLocalBackThread::Sync(void (TLocalBackThread::*step)()) {
  if (!Terminated()) Synchronize([this, step] { (this->*step)(); });
}

void TLocalBackThread::Report(const std::string& msg) {
  FMsg = msg;
  Sync(&TLocalBackThread::DoMessage);
}

bool TLocalBackThread::ParseJob(const std::string& job) {
  size_t at = job.find(kSeparator);
  if (at == std::string::npos) return false;
  FSrc = job.substr(0, at);
  FDst = job.substr(at + 5);
  Sync(&TLocalBackThread::DoConfirm);
  if (!sys::FileExists(FSrc)) {
    Report("错误: 个个信息数据库文件丢失(" + FSrc + ")");
    return false;
  }
  std::string folder = sys::ExtractFilePath(FDst);
  if (!folder.empty() && !sys::DirectoryExists(folder) && !sys::ForceDirectories(folder)) {
    Report("提示:无法创建目标文件夹(" + folder + ")");
    return false;
  }
  return true;
}

bool TLocalBackThread::CopyOne(const std::string& src, const std::string& dst) {
  FileHandle in;
  in.h = CreateFileA(src.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (in.h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(in.h, &size)) return false;
  FSize = size.QuadPart;
  Sync(&TLocalBackThread::DoFileSize);

  // The copy goes to a file beside the destination and replaces it only once it is whole,
  // so a failed or stopped copy leaves the old destination as it was.
  std::string folder = sys::ExtractFilePath(dst);
  char tmpName[MAX_PATH];
  if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "cpy", 0, tmpName)) return false;
  // Removed on every way out, an exception from an event handler included, unless it has
  // become the destination.
  struct TempFile {
    std::string path;
    ~TempFile() {
      if (!path.empty()) DeleteFileA(path.c_str());
    }
  } tmp{tmpName};
  FileHandle out;
  out.h = CreateFileA(tmp.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool whole = false;
  if (out.h != INVALID_HANDLE_VALUE) {
    char buffer[kBlockSize];
    int64_t remaining = FSize;
    bool failed = false;
    while (remaining > 0 && !Terminated() && !failed) {
      DWORD want = remaining < kBlockSize ? (DWORD)remaining : kBlockSize, got = 0, written = 0;
      // A read that yields nothing before the end (the file shrank) would never finish.
      if (!ReadFile(in.h, buffer, want, &got, nullptr) || got == 0 ||
          !WriteFile(out.h, buffer, got, &written, nullptr) || written != got) {
        failed = true;
        break;
      }
      remaining -= got;
      FPosition += got;
      Sync(&TLocalBackThread::DoProgress);
    }
    whole = !failed && remaining == 0 && FSize > 0 && FlushFileBuffers(out.h);
    out.Close();
  }
  in.Close();
  if (!whole || !MoveFileExA(tmp.path.c_str(), dst.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return false;
  tmp.path.clear();
  return true;
}

template <class Ev, class... A>
void TLocalBackThread::Fire(Ev TLocalCopy::*event, A&&... args) {
  if (!FOwner) return;
  // A copy of the handler: it may free the copier, and with it the event.
  Ev handler = FOwner->*event;
  if (!handler) return;
  ++inEvent_;
  try {
    handler(FOwner, std::forward<A>(args)...);
  } catch (...) {
    --inEvent_;
    throw;
  }
  --inEvent_;
}

void TLocalBackThread::DoFileSize() { Fire(&TLocalCopy::OnFileSize, FSize); }

void TLocalBackThread::DoProgress() { Fire(&TLocalCopy::OnProgress, FPosition); }

void TLocalBackThread::DoMessage() { Fire(&TLocalCopy::OnMessage, FMsg); }

void TLocalBackThread::DoConfirm() {
  FContinue = true;
  Fire(&TLocalCopy::OnConfirm, FSrc, FDst, FContinue);
}

void TLocalBackThread::DoFinish() { Fire(&TLocalCopy::OnFinish, FResult); }
