// The background file copier of the backup and restore windows: a queue of copy jobs and
// one worker thread that copies them in 2048-byte blocks. Its events (size, progress,
// messages, the end of each job) are delivered on the GUI thread only.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/rtl/Event.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Thread.h"

class TLocalCopy;

class TLocalBackThread final : public TThread {
 public:
  // Starts at once, at idle priority.
  explicit TLocalBackThread(TLocalCopy* owner);
  ~TLocalBackThread() override;

  // Each runs on the GUI thread through Synchronize.
  void DoFileSize();
  void DoProgress();
  void DoMessage();
  void DoConfirm();
  void DoFinish();

 protected:
  void Execute() override;

 private:
  bool ParseJob(const std::string& job);
  bool CopyOne(const std::string& src, const std::string& dst);
  void Report(const std::string& msg);

  TLocalCopy* FOwner;
  std::string FSrc, FDst, FMsg;
  int64_t FSize = 0;
  int64_t FPosition = 0;
  bool FResult = false;
  bool FContinue = true;
};

class TLocalCopy : public TObject {
  KARV_CLASS(TLocalCopy, TObject)
 public:
  TLocalCopy() = default;
  // Stops the worker and waits for it; no event fires after this starts.
  ~TLocalCopy() override;

  // Queues "src<$:$>dst" in lower case unless it is queued already; false (with a message)
  // when the source does not exist.
  bool AddJob(const std::string& src, const std::string& dst);
  // Starts a worker over the queue, or says that one is still running.
  void Start();
  bool IsBusy() const;
  void DoMessage(const std::string& msg);

  TEvent<void(TObject*, const std::string&)> OnMessage;
  TEvent<void(TObject*, const std::string&, const std::string&, bool&)> OnConfirm;
  TEvent<void(TObject*, int64_t)> OnFileSize;
  TEvent<void(TObject*, int64_t)> OnProgress;
  TEvent<void(TObject*, bool)> OnFinish;

 private:
  friend class TLocalBackThread;
  // Queue access from both threads; the worker marks itself done under the same lock
  // when it finds the queue empty, so a job added later needs a new Start.
  bool TakeFirst(std::string& job);
  void RemoveFirst();

  mutable std::mutex lock_;
  TStringList FList;
  std::unique_ptr<TLocalBackThread> FThread;
  bool workerDone_ = true;
};

// The copier of the backup window, replaced at each showing.
extern std::unique_ptr<TLocalCopy> LocalCopy;
