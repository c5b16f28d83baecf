#include "widgets/Widgets.h"

#include "widgets/BitBtnEx.h"
#include "widgets/StyleLabel.h"
#include "widgets/TrayNotifyIcon.h"

void RegisterWidgets() {
  RegisterTrayNotifyIcon();
  RegisterBitBtnEx();
  RegisterStyleLabel();
}
