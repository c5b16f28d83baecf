/* A third baseline of the start-up benchmark: the login window's own windows made with
   plain Win32 calls and nothing of the program's. The same hidden application window, a
   dialog-framed window of the login's size, three nested panels, the user-number combo box,
   the password edit, the hidden server-address list, the check box, the four buttons and the
   two-part status bar, with their texts in the program's font; the first box gets the focus,
   and the window is then given a new frame size and a shaped region, as a skin does once it
   has the window. What this takes is the system's share of Client.exe's start. */
#include <windows.h>
#include <commctrl.h>

#include "TouchLibraries.h"

static HFONT font;

/* The innermost panel draws the three labels, as the program's panel draws its labels. */
static LRESULT CALLBACK PanelProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT && GetWindowLongPtrA(h, GWLP_ID) == 3) {
    static const char* labels[] = {"Karv号码", "登陆密码", "服务器地址"};
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HGDIOBJ old = SelectObject(dc, font);
    int i;
    SetBkMode(dc, TRANSPARENT);
    for (i = 0; i < 3; ++i) TextOutA(dc, 40, 68 + 32 * i, labels[i], lstrlenA(labels[i]));
    SelectObject(dc, old);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

static LRESULT CALLBACK LoginProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

static HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, HWND parent, int id) {
  HWND c = CreateWindowA(cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, w, h, parent, (HMENU)(INT_PTR)id,
                         GetModuleHandleA(NULL), NULL);
  if (c) SendMessageA(c, WM_SETFONT, (WPARAM)font, FALSE);
  return c;
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd, int show) {
  WNDCLASSA wc = {0};
  HWND app, window, panel, combo, status;
  int parts[2] = {300, -1};
  MSG msg;
  RECT r;
  HRGN region;
  (void)prev;
  (void)cmd;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = inst;
  wc.lpszClassName = "BareApplication";
  if (!RegisterClassA(&wc)) return 1;
  app = CreateWindowA("BareApplication", "Client", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, NULL, NULL, inst, NULL);
  if (!app) return 1;
  font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");

  wc.lpfnWndProc = LoginProc;
  wc.hCursor = LoadCursor(NULL, IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  wc.lpszClassName = "BareWindow";
  if (!RegisterClassA(&wc)) return 1;
  wc.lpfnWndProc = PanelProc;
  wc.lpszClassName = "BarePanel";
  if (!RegisterClassA(&wc)) return 1;
  window = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW, "BareWindow", "Karvell登陆",
                           WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, 300, 200, 356, 262, NULL, NULL, inst, NULL);
  if (!window || !TouchLibraries(window)) return 1;
  GetClientRect(window, &r);
  panel = Child("BarePanel", "", WS_CLIPCHILDREN, 0, 0, r.right, r.bottom - 19, window, 1);
  panel = Child("BarePanel", "", WS_CLIPCHILDREN, 0, 0, r.right, r.bottom - 19, panel, 2);
  panel = Child("BarePanel", "", WS_CLIPCHILDREN, 0, 0, r.right, r.bottom - 19, panel, 3);
  combo = Child("COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_TABSTOP | WS_VSCROLL, 110, 64, 170, 200, panel, 10);
  Child("EDIT", "", ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 110, 96, 170, 21, panel, 11);
  Child("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 110, 128, 170, 200, panel, 12);
  ShowWindow(GetDlgItem(panel, 12), SW_HIDE);
  SendDlgItemMessageA(panel, 12, CB_ADDSTRING, 0, (LPARAM) "www.karvell.example");
  SendDlgItemMessageA(panel, 12, CB_ADDSTRING, 0, (LPARAM) "192.168.0.1");
  Child("BUTTON", "记住密码", BS_AUTOCHECKBOX | WS_TABSTOP, 110, 130, 100, 17, panel, 13);
  Child("BUTTON", "登陆", BS_PUSHBUTTON | WS_TABSTOP, 20, 164, 75, 25, panel, 14);
  Child("BUTTON", "注册", BS_PUSHBUTTON | WS_TABSTOP, 100, 164, 75, 25, panel, 15);
  Child("BUTTON", "系统设置", BS_PUSHBUTTON | WS_TABSTOP, 180, 164, 75, 25, panel, 16);
  Child("BUTTON", "退出", BS_PUSHBUTTON | WS_TABSTOP, 260, 164, 75, 25, panel, 17);
  status = Child(STATUSCLASSNAMEA, "", 0, 0, 0, 0, 0, window, 20);
  if (!combo || !status) return 1;
  SendMessageA(status, SB_SETPARTS, 2, (LPARAM)parts);
  SendMessageA(status, SB_SETTEXTA, 0, (LPARAM) "正在准备登录服务器....");

  ShowWindow(window, show);
  SetFocus(combo);
  /* What a skin does once it has the window: its own frame size and shape. */
  SetWindowPos(window, NULL, 0, 0, 356 + 2, 262 + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  region = CreateRoundRectRgn(0, 0, 356 + 3, 262 + 3, 6, 6);
  SetWindowRgn(window, region, TRUE);
  UpdateWindow(window);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
