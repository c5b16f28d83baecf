// The program's own list of its open chat windows. A chat window registers itself when it is
// made and unregisters when it is destroyed; the main window finds the window of a partner
// only in this list, by the chat-window caption, so no other process's window can answer.
// ChatFrm is the last chat window created; only the window it names clears it.
// Contract: the list borrows the windows (each frees itself) and never outlives one it
// holds, since a window leaves it when destroyed. GUI thread only.
#pragma once
#include <string>
#include <vector>

class TCustomForm;

// The last chat window created (the main window sets it), or nullptr.
extern TCustomForm* ChatFrm;

// "与企业好友" / "与咨询客户" + number + "交流中".
std::string GetChatCaption(const std::string& number, bool enterpriseFriend);

namespace chat_windows {

void Register(TCustomForm* window);
// Removes the window and clears ChatFrm when it names this window.
void Unregister(TCustomForm* window);
// The registered window whose caption is the chat caption of that partner and kind.
TCustomForm* Find(const std::string& number, bool enterpriseFriend);
// Every registered window, oldest first.
const std::vector<TCustomForm*>& All();

}  // namespace chat_windows
