// Forms and the application object, for callers that want all of them: TCustomForm/TForm
// (Form.h), TDataModule (DataModule.h), TApplication and the global `Application`
// (Application.h), and the registration of the library's classes with the description reader.
#pragma once

#include "platform/forms/Application.h"
#include "platform/rtl/DataModule.h"
#include "platform/forms/Form.h"

// Registers the class library's own classes and their properties with the description reader
// (done once; TApplication::Initialize calls it).
void RegisterFormsClasses();
