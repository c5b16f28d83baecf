// A worker thread whose code can run a call on the GUI thread and wait for it
// (Synchronize), so that no event handler runs on the worker.
#pragma once
#include <atomic>
#include <functional>
#include <mutex>

class TThread {
 public:
  TThread() = default;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;
  // Asks the thread to stop and waits for it; a derived class must do the same in its own
  // destructor before its members go away.
  virtual ~TThread();

  void Start();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Waits until the thread has ended. On the GUI thread this keeps serving Synchronize calls
  // and the message queue, so a worker waiting on the GUI thread cannot deadlock it.
  void WaitFor();
  bool Running() const { return handle_ != nullptr && !finished_; }
  // Waits until the thread has ended, running only the Synchronize calls it makes meanwhile:
  // no other window's messages are dispatched, so nothing is re-entered while its caller is
  // being torn down.
  void WaitForSynchronizeOnly();
  // Hands the thread object to the thread itself, which frees it when Execute returns. False
  // (and nothing changed) when the thread has already ended; the caller then still owns it.
  // For an owner that cannot wait: the worker is blocked in a Synchronize that the caller runs.
  bool FreeOnEnd();

  // Runs `fn` on the GUI thread and returns when it is done; called on the GUI thread it runs at once.
  static void Synchronize(const std::function<void()>& fn);
  // Records the calling thread as the GUI thread and makes its hidden sync window.
  static void InitMainThread();
  static bool IsMainThread();

 protected:
  virtual void Execute() = 0;

 private:
  static unsigned long __stdcall ThreadProc(void* self);
  void* handle_ = nullptr;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::mutex endLock_;
  bool freeOnEnd_ = false;
};
