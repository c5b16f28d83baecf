// Line mode: received bytes are gathered and handed out one line at a time (up to and
// including LineEnd), with a line-length limit, echo and simple line editing. With line
// mode off the bytes pass through unchanged.
// Contract: owned by its component owner like every socket; the gathered line is the socket's
// own. Runs on the thread that made the socket, inside its message loop.
#pragma once
#include <vector>

#include "socket/SocksSocket.h"

using TLineLimitEvent = TEvent<void(TObject* Sender, int32_t RcvdLength, bool& ClearData)>;

class TCustomLineSocket : public TCustomSocksSocket {
  KARV_CLASS(TCustomLineSocket, TCustomSocksSocket)
 public:
  explicit TCustomLineSocket(TComponent* owner);
  ~TCustomLineSocket() override;

  const std::string& LineEnd() const { return lineEnd_; }
  void SetLineEnd(const std::string& v) { lineEnd_ = v; }
  bool LineMode() const { return lineMode_; }
  virtual void SetLineMode(bool value);
  int32_t LineLimit() const { return lineLimit_; }
  void SetLineLimit(int32_t v) { lineLimit_ = v; }
  bool LineEcho() const { return lineEcho_; }
  void SetLineEcho(bool v) { lineEcho_ = v; }
  bool LineEdit() const { return lineEdit_; }
  void SetLineEdit(bool v) { lineEdit_ = v; }

  TLineLimitEvent OnLineLimitExceeded;

  // Queues the text and LineEnd; returns the text's length plus 2, 0 for an empty text, or
  // -1 when the socket is not connected (with OnError assigned; otherwise it raises).
  virtual int32_t SendLine(const std::string& text);

 protected:
  virtual void FireLineLimitExceeded(int32_t rcvdLength, bool& clearData);
  // Edits the bytes behind `oldCount` in place; returns the first position that changed.
  virtual int ApplyLineEditing(int oldCount);

  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  int32_t GetRcvdCount() override;
  int RecvRaw(void* buffer, int size) override;
  bool FireDataAvailable(uint16_t errCode) override;
  void FireSessionClosed(uint16_t errCode) override;

 private:
  char* Held() { return rcvBuf_.data() + head_; }
  void MakeRoom(int more);
  void Consume(int n);
  void ScanLines(int searchFrom);
  void DeliverLine();
  void DeliverHeld();
  void OfferHeldAgain();

  std::vector<char> rcvBuf_;  // held bytes are rcvBuf_[head_ .. head_ + rcvCnt_)
  int head_ = 0;
  int rcvCnt_ = 0;
  std::string lineEnd_ = "\r\n";
  bool lineMode_ = false;
  int lineLength_ = 0;  // unread bytes of the current line at the front of the buffer
  int32_t lineLimit_ = 65536;
  bool lineEcho_ = false, lineEdit_ = false;
  bool lineReceived_ = false, lineFound_ = false, lineClearData_ = false;
};
