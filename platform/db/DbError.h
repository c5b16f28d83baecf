// The error every database operation raises; its message is text in code page 936.
// A plain value; safe on any thread.
#pragma once
#include "platform/rtl/Exception.h"

class EDatabaseError : public Exception {
  using Exception::Exception;
};
