// The registry of the class library's own classes: every control unit registers its classes
// and properties with the description reader here, once.
#include "platform/forms/Forms.h"

#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/Image.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Menus.h"
#include "platform/forms/ActnList.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ListView.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/RadioGroup.h"
#include "platform/forms/Tabs.h"
#include "platform/forms/GlyphCheckBox.h"
#include "platform/forms/TreeView.h"

void RegisterFormsClasses() {
  RegisterControlProperties();
  RegisterStdCtrls();
  RegisterExtCtrls();
  RegisterButtons();
  RegisterImgList();
  RegisterMenus();
  RegisterListControls();
  RegisterComCtrls();
  RegisterTabs();
  RegisterGlyphCheckBox();
  RegisterMemos();
  RegisterGroupControls();
  RegisterImage();
  RegisterListView();
  RegisterDialogs();
  RegisterActions();
  RegisterTreeView();
  RegisterRadioGroup();
  RegisterFileDialogs();
}
