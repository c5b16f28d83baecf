// Every reply reader on its own: the first byte is the protocol number, the rest the body.
#include <cstddef>
#include <cstdint>

#include "ReplyReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fuzzing::ReadReply(data[0], TBody{data + 1, size - 1});
  return 0;
}
