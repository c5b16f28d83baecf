// The background file copier of the backup and restore windows: a queue of copy jobs and
// one worker thread that copies them in 2048-byte blocks. Its events (size, progress,
// messages, the end of each job) are delivered on the GUI thread only. A copier may be freed
// from inside one of its own events: the worker is then stopped and left to end by itself.
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

// The job queue, shared by the copier and its worker so that a worker left behind by a freed
// copier still has it.
struct TCopyQueue {
  std::mutex lock;
  TStringList list;
  bool workerDone = true;
  // Marks the worker done under the lock when the queue is empty, so a job added later
  // needs a new Start.
  bool TakeFirst(std::string& job);
  void RemoveFirst();
};

class TLocalBackThread final : public TThread {
 public:
  // Starts at once, at idle priority.
  TLocalBackThread(TLocalCopy* owner, std::shared_ptr<TCopyQueue> queue);
  ~TLocalBackThread() override;
  // GUI thread: true while one of the owner's events runs (the worker waits for it).
  bool InEvent() const { return inEvent_ > 0; }
  // GUI thread: no event reaches the owner any more.
  void Orphan() { FOwner = nullptr; }

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
  // Runs `step` on the GUI thread unless the worker was told to stop.
  void Sync(void (TLocalBackThread::*step)());
  template <class Ev, class... A>
  void Fire(Ev TLocalCopy::*event, A&&... args);

  TLocalCopy* FOwner;  // read and cleared on the GUI thread only
  std::shared_ptr<TCopyQueue> queue_;
  int inEvent_ = 0;
  std::string FSrc, FDst, FMsg;
  int64_t FSize = 0;
  int64_t FPosition = 0;
  bool FResult = false;
  bool FContinue = true;
};

class TLocalCopy : public TObject {
  KARV_CLASS(TLocalCopy, TObject)
 public:
  TLocalCopy();
  // Stops the worker; no event fires after this starts. It waits for the worker, serving
  // only the worker's synchronised calls, unless it runs inside one of this copier's events
  // (the worker is waiting for it then): that worker stops and frees itself.
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
  std::shared_ptr<TCopyQueue> queue_;
  std::unique_ptr<TLocalBackThread> FThread;
};

// The copier of the backup window, replaced at each showing.
extern std::unique_ptr<TLocalCopy> LocalCopy;
