// TDomainHintFrm: the small always-on-top pop-up that reminds the user that the
// enterprise's domain expires soon. ShowHint makes a new pop-up at the right edge of the
// work area, just below it, and a short-lived thread of its own paces it up into view,
// 15 pixels every 30 ms; the moves themselves are posted to the window and made on the GUI
// thread. Closing frees the pop-up.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/forms/Buttons.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/StdCtrls.h"

class TDomainHintFrm : public TForm {
  KARV_CLASS(TDomainHintFrm, TForm)
 public:
  explicit TDomainHintFrm(TComponent* owner);
  ~TDomainHintFrm() override;

  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* yDomainName = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* yDomainDate = nullptr;
  TBitBtn* BitBtn1 = nullptr;

  // A new pop-up, shown and sliding in; it belongs to the application and frees itself
  // when closed.
  static TDomainHintFrm* ShowHint(const std::string& domain, const std::string& expireDate);

  void BitBtn1Click(TObject* Sender);
  void FormClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  TPublishedTable Published() override;
  void WndProc(TMessage& m) override;

  // The tops a slide sets, one a step: up from `startTop` by 15 pixels while the top is
  // still below `inViewTop`, where the pop-up is fully in view.
  static std::vector<int> SlideSteps(int startTop, int inViewTop);

  // 0 while sliding in, 1 once arrived.
  int SlideState() const { return slideState_; }
  int CurrentTop() const { return currentTop_; }
  bool Sliding() const { return slideThread_.joinable(); }

 protected:
  void CreateParams(TCreateParams& p) override;
  HWND ParentHandleForCreate() override { return nullptr; }

 private:
  void PaintBackground();
  void StartSlide();
  void StopSlide();
  static RECT WorkArea();

  std::atomic<int> slideState_{0};
  std::atomic<int> currentTop_{0};
  HBITMAP background_ = nullptr;
  bool painting_ = false;
  std::thread slideThread_;
  HANDLE stopSlide_ = nullptr;
};

// The pop-up the program block makes at start (never shown); reminders make their own.
extern TDomainHintFrm* DomainHintFrm;
