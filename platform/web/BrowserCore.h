// The non-visual core of the browser-pane stand-in (this Wine has no HTML engine): Navigate
// fetches the page with the HTTP client on a worker thread; the result is handed to the GUI
// thread through a hidden window, where the page's text becomes the body text, ReadyState
// reaches complete and the document-complete event fires. A load that fails or times out
// completes too, with an error text as its body, so no one waiting for "complete" waits forever.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/rtl/Event.h"
#include "platform/rtl/Object.h"

// The values of a browser's ready state.
enum class TReadyState { Uninitialized = 0, Loading = 1, Loaded = 2, Interactive = 3, Complete = 4 };

using TDocumentCompleteEvent = TEvent<void(TObject* sender, const std::string& url)>;

class TBrowserCore {
 public:
  // `sender` is handed to OnDocumentComplete (the pane that owns this core).
  explicit TBrowserCore(TObject* sender);
  // A load still running is abandoned; its event never fires.
  ~TBrowserCore();
  TBrowserCore(const TBrowserCore&) = delete;
  TBrowserCore& operator=(const TBrowserCore&) = delete;

  // Starts loading `url` and returns at once; a load still running is abandoned.
  void Navigate(const std::string& url);

  TReadyState ReadyState() const { return state_; }
  bool Busy() const { return state_ == TReadyState::Loading; }
  // The address asked for, and after completion the one that answered (redirects followed).
  const std::string& LocationURL() const { return location_; }
  // The inner text of the page's body, in code page 936.
  const std::string& BodyText() const { return bodyText_; }
  const std::string& Title() const { return title_; }
  // Of the last completed load: the status of the reply (0 when none came), and whether it failed.
  int StatusCode() const { return statusCode_; }
  bool LoadFailed() const { return failed_; }
  const std::string& ErrorText() const { return errorText_; }

  int Timeout = 30000;  // ms, for connecting and for each wait for data
  std::string UserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)";

  // On the GUI thread once a load has completed: first OnLoaded (the pane shows the text),
  // then OnDocumentComplete.
  std::function<void()> OnLoaded;
  TDocumentCompleteEvent OnDocumentComplete;

  struct Load;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // The window the loading threads report to.
  HWND NotifyWindow();
  void Completed(int id);
  void ReapFinished(bool all);

  TObject* sender_;
  HWND window_ = nullptr;
  TReadyState state_ = TReadyState::Uninitialized;
  std::string location_, bodyText_, title_, errorText_;
  int statusCode_ = 0;
  bool failed_ = false;
  int nextId_ = 0;
  std::shared_ptr<Load> current_;
  struct Worker {
    std::shared_ptr<Load> load;
    std::thread thread;
  };
  std::vector<Worker> workers_;
};
