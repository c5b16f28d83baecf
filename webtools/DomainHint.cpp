// The domain-expiry reminder pop-up; see DomainHint.h.
#include "webtools/DomainHint.h"

#include "platform/forms/FormReader.h"
#include "platform/rtl/ThreadStack.h"

namespace {

// Posted by the slide thread: move the pop-up's top to WPARAM.
constexpr UINT WM_SLIDE_TO = WM_APP + 0x141;
constexpr int kSlideStep = 15;
constexpr int kSlidePauseMs = 30;
// The description's client area, set again on the real window: the frame a description
// is read with can differ from the one the system draws.
constexpr int kClientWidth = 255;
constexpr int kClientHeight = 100;

struct SlideJob {
  HWND window;
  HANDLE stop;
  std::vector<int> tops;  // one a step
  std::atomic<int>* top;
  std::atomic<int>* state;
};

void Slide(SlideJob job) {
  for (int top : job.tops) {
    if (WaitForSingleObject(job.stop, kSlidePauseMs) != WAIT_TIMEOUT) return;
    *job.top = top;
    PostMessageA(job.window, WM_SLIDE_TO, (WPARAM)top, 0);
  }
  if (WaitForSingleObject(job.stop, kSlidePauseMs) == WAIT_TIMEOUT) *job.state = 1;
}

}  // namespace

TDomainHintFrm* DomainHintFrm = nullptr;

TDomainHintFrm::TDomainHintFrm(TComponent* owner) : TForm(owner) {
  stopSlide_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

TDomainHintFrm::~TDomainHintFrm() {
  if (DomainHintFrm == this) DomainHintFrm = nullptr;
  StopSlide();
  if (background_) DeleteObject(background_);
  if (stopSlide_) CloseHandle(stopSlide_);
}

TPublishedTable TDomainHintFrm::Published() {
  using F = TDomainHintFrm;
  return {KARV_FIELDS(F, GroupBox1, Label1, yDomainName, Label2, yDomainDate, BitBtn1),
          KARV_HANDLERS(F, BitBtn1Click, FormClick, FormClose, FormDestroy)};
}

void TDomainHintFrm::CreateParams(TCreateParams& p) {
  TForm::CreateParams(p);
  p.Style |= WS_BORDER;
  p.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
}

RECT TDomainHintFrm::WorkArea() {
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

TDomainHintFrm* TDomainHintFrm::ShowHint(const std::string& domain, const std::string& expireDate) {
  auto* hint = CreateForm<TDomainHintFrm>(Application);
  // Topmost and a tool window (no task-bar button) before sizing, since the tool-window
  // frame is thinner: the client area keeps its size.
  HWND h = hint->Handle();
  ShowWindow(h, SW_HIDE);
  SetWindowLongPtrA(h, GWL_EXSTYLE, GetWindowLongPtrA(h, GWL_EXSTYLE) | WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  hint->SetClientSize(kClientWidth, kClientHeight);
  // Just below the work area, at its right edge, wherever the work area lies.
  RECT work = WorkArea();
  hint->SetBounds(work.right - hint->Width(), work.bottom, hint->Width(), hint->Height());
  hint->currentTop_ = work.bottom;
  hint->yDomainName->SetCaption(domain);
  hint->yDomainDate->SetCaption(expireDate);
  ShowWindow(h, SW_SHOW);
  SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  hint->PaintBackground();
  hint->StartSlide();
  hint->SetVisible(true);
  return hint;
}

void TDomainHintFrm::PaintBackground() {
  if (painting_) return;
  painting_ = true;
  RECT client;
  GetClientRect(Handle(), &client);
  int w = client.right, h = client.bottom;
  if (w > 0 && h > 0) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && bits) {
      int stride = ((w * 3) + 3) & ~3;
      auto* row0 = static_cast<uint8_t*>(bits);
      // A horizontal gradient from white to light grey in the first row...
      for (int x = 0; x < w; ++x) {
        uint8_t v = (uint8_t)(255 + (210 - 255) * x / w);
        row0[x * 3] = row0[x * 3 + 1] = row0[x * 3 + 2] = v;
      }
      // ...copied into every other row, then a grey frame along the edges.
      for (int y = 1; y < h; ++y) memcpy(row0 + y * stride, row0, stride);
      auto frame = [&](int x, int y) {
        uint8_t* p = row0 + y * stride + x * 3;
        p[0] = p[1] = p[2] = 119;
      };
      for (int x = 0; x < w; ++x) frame(x, 0), frame(x, h - 1);
      for (int y = 0; y < h; ++y) frame(0, y), frame(w - 1, y);
      if (background_) DeleteObject(background_);
      background_ = bmp;
    } else if (bmp) {
      DeleteObject(bmp);
    }
    InvalidateRect(Handle(), nullptr, TRUE);
  }
  painting_ = false;
}

std::vector<int> TDomainHintFrm::SlideSteps(int startTop, int inViewTop) {
  std::vector<int> tops;
  for (int top = startTop; top > inViewTop;) tops.push_back(top -= kSlideStep);
  return tops;
}

void TDomainHintFrm::StartSlide() {
  RECT work = WorkArea();
  SlideJob job{Handle(), stopSlide_, SlideSteps(currentTop_, (int)work.bottom - Height()), &currentTop_, &slideState_};
  ResetEvent(stopSlide_);
  try {
    slideThread_ = std::thread([job] {
      Slide(job);
      sys::ReleaseUnusedStack();
    });
  } catch (const std::exception&) {
    // Without its thread the pop-up stays where it is until it is closed.
  }
}

void TDomainHintFrm::StopSlide() {
  if (!slideThread_.joinable()) return;
  // The thread only sleeps on this event between posts, so it ends at once.
  SetEvent(stopSlide_);
  slideThread_.join();
}

void TDomainHintFrm::WndProc(TMessage& m) {
  if (m.Msg == WM_SLIDE_TO) {
    SetWindowPos(Handle(), nullptr, Left(), (int)m.WParam, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (m.Msg == WM_ERASEBKGND && background_) {
    HDC src = CreateCompatibleDC((HDC)m.WParam);
    HGDIOBJ old = SelectObject(src, background_);
    BitBlt((HDC)m.WParam, 0, 0, ClientWidth(), ClientHeight(), src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
    m.Result = 1;
    return;
  }
  TForm::WndProc(m);
}

void TDomainHintFrm::BitBtn1Click(TObject*) { Close(); }

void TDomainHintFrm::FormClick(TObject*) {
  StopSlide();
  // The GUI thread takes the position over from where the slide left it.
  RECT work = WorkArea();
  int top = currentTop_;
  MSG msg;
  while (PeekMessageA(&msg, Handle(), WM_SLIDE_TO, WM_SLIDE_TO, PM_REMOVE)) {
  }
  while (top < work.bottom) {
    top += kSlideStep;
    SetWindowPos(Handle(), nullptr, Left(), top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(Handle());
    Sleep(kSlidePauseMs);
  }
  currentTop_ = top;
  Close();
}

void TDomainHintFrm::FormClose(TObject*, TCloseAction& Action) { Action = TCloseAction::caFree; }

void TDomainHintFrm::FormDestroy(TObject*) { StopSlide(); }

