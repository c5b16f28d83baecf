// The one application object of a test program, made and initialised on first use.
#pragma once
#include "platform/forms/Forms.h"

namespace testing_support {

inline TApplication& TestApplication() {
  static TApplication app;
  if (!Application) {
    Application = &app;
    app.Initialize();
  }
  return app;
}

}  // namespace testing_support
