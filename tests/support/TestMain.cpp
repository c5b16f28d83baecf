// Entry point of every test executable: records the GUI thread before any test runs.
#include <gtest/gtest.h>

#include "platform/rtl/Thread.h"

int main(int argc, char** argv) {
  TThread::InitMainThread();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
