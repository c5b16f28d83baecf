// The waiting form; see uWait.h.
#include "client/uWait.h"

TWaitFrm* WaitFrm = nullptr;

TPublishedTable TWaitFrm::Published() { return {KARV_FIELDS(TWaitFrm, Label1)}; }
