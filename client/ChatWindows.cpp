// The list of open chat windows; see ChatWindows.h.
#include "client/ChatWindows.h"

#include <algorithm>

#include "platform/forms/Forms.h"

TCustomForm* ChatFrm = nullptr;

std::string GetChatCaption(const std::string& number, bool enterpriseFriend) {
  return (enterpriseFriend ? "与企业好友" : "与咨询客户") + number + "交流中";
}

namespace chat_windows {
namespace {
// The program's own windows; entries live exactly as long as their windows.
std::vector<TCustomForm*>& Windows() {
  static std::vector<TCustomForm*> list;
  return list;
}
}  // namespace

void Register(TCustomForm* window) {
  auto& list = Windows();
  if (window && std::find(list.begin(), list.end(), window) == list.end()) list.push_back(window);
}

void Unregister(TCustomForm* window) {
  auto& list = Windows();
  list.erase(std::remove(list.begin(), list.end(), window), list.end());
  if (ChatFrm == window) ChatFrm = nullptr;
}

TCustomForm* Find(const std::string& number, bool enterpriseFriend) {
  std::string caption = GetChatCaption(number, enterpriseFriend);
  for (TCustomForm* w : Windows())
    if (w->Caption() == caption) return w;
  return nullptr;
}

const std::vector<TCustomForm*>& All() { return Windows(); }

}  // namespace chat_windows
