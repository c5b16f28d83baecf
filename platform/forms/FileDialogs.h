// The system's open and save dialogs over GetOpenFileName and GetSaveFileName.
// Modal over the active window; GUI thread only.
#pragma once
#include <string>

#include "platform/rtl/Component.h"

class TOpenDialog : public TComponent {
  KARV_CLASS(TOpenDialog, TComponent)
 public:
  explicit TOpenDialog(TComponent* owner);
  std::string Title;
  std::string FileName;    // shown first; the chosen file after Execute returned true
  std::string Filter;      // "description|pattern|description|pattern"
  std::string DefaultExt;  // without the dot
  // Shows the dialog modally to the active window; true when a file was chosen.
  virtual bool Execute();

 protected:
  bool Run(bool save);
};

class TSaveDialog : public TOpenDialog {
  KARV_CLASS(TSaveDialog, TOpenDialog)
 public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
  bool Execute() override { return Run(true); }
};

void RegisterFileDialogs();
