// The message block of a copy-data record: read, its formatted text read as the chat window
// does, its time shown, its log excerpts made; a block that reads must also write back and
// read again to the same fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "client/MessageBlock.h"
#include "platform/rtl/DateTime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<TMessageBlock> block = ReadMessageBlock(data, size);
  if (!block) return 0;
  (void)ReadBlockText(*block);
  (void)dt::DateTimeToStr(block->Time);
  (void)FormattedLogExcerpt(block->Formatted, block->Friend == 0);
  (void)LogExcerpt(block->DisplayName);
  if (block->Formatted.size() + block->DisplayName.size() + kMessageBlockOverhead > kMessageBlockCapacity) return 0;
  std::string again = BuildMessageBlock(*block);
  std::optional<TMessageBlock> back = ReadMessageBlock(again.data(), again.size());
  if (!back || back->DisplayName != block->DisplayName || back->Friend != block->Friend ||
      back->Online != block->Online || back->Formatted != block->Formatted ||
      std::memcmp(&back->Time, &block->Time, sizeof(TDateTime)) != 0)
    std::abort();
  return 0;
}
