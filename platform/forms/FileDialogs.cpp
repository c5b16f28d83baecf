#include "platform/forms/FileDialogs.h"

#include <windows.h>
#include <commdlg.h>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/LateBound.h"

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) { RegisterFileDialogs(); }

bool TOpenDialog::Execute() { return Run(false); }

bool TOpenDialog::Run(bool save) {
  // The system wants the filter's parts separated by NULs and ended by two.
  std::string filter = Filter;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');
  char name[MAX_PATH] = {};
  FileName.copy(name, sizeof name - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = name;
  ofn.nMaxFile = sizeof name;
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  static const auto open = LateBound<decltype(&GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
  static const auto saveAs = LateBound<decltype(&GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA");
  const auto run = save ? saveAs : open;
  if (!run || !run(&ofn)) return false;
  FileName = name;
  return true;
}

void RegisterFileDialogs() {
  static bool done = false;
  if (done) return;
  done = true;
  auto text = [](const char* name, std::string TOpenDialog::*field) {
    return MakeProp<TOpenDialog>(name, TPropType::String, [field](const TOpenDialog* d) { return d->*field; },
                                 [field](TOpenDialog* d, const TPropValue& v) { d->*field = std::get<std::string>(v); });
  };
  RegisterProperties(TOpenDialog::StaticClass(), {text("Title", &TOpenDialog::Title), text("FileName", &TOpenDialog::FileName),
                                                  text("Filter", &TOpenDialog::Filter),
                                                  text("DefaultExt", &TOpenDialog::DefaultExt)});
  RegisterComponentClass<TOpenDialog>();
  RegisterComponentClass<TSaveDialog>();
}
