// The send-queue block: sizes, filling, draining and reuse after a full drain.
#include <gtest/gtest.h>

#include <string>

#include "socket/SocketBuffer.h"

TEST(SocketBuffer, SizeBelowOneMeansDefault) {
  for (int size : {0, -5}) EXPECT_EQ(TBuffer(size).Size(), 1514) << size;
  EXPECT_EQ(TBuffer(1460).Size(), 1460);
}

TEST(SocketBuffer, FillsToTheEndAndIsReusedOnlyWhenDrained) {
  TBuffer b(1460);
  std::string src(2000, 'x');
  for (int i = 0; i < 2000; ++i) src[i] = (char)i;
  EXPECT_EQ(b.Write(src.data(), 2000), 1460);
  EXPECT_EQ(b.Write(src.data(), 10), 0);

  int32_t len = 0;
  const uint8_t* p = b.Peek(len);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(len, 1460);
  EXPECT_EQ(b.Remove(1000), 1000);
  p = b.Peek(len);
  EXPECT_EQ(len, 460);
  EXPECT_EQ(p[0], (uint8_t)src[1000]);
  EXPECT_EQ(b.Write(src.data(), 10), 0);  // room in front of ReadPos is not reused

  EXPECT_EQ(b.Remove(5000), 460);  // only what is pending
  EXPECT_EQ(b.ReadPos(), 0);
  EXPECT_EQ(b.WritePos(), 0);
  EXPECT_EQ(b.Peek(len), nullptr);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(b.Remove(1), 0);
  EXPECT_EQ(b.Write(src.data(), 1460), 1460);
}

TEST(SocketBuffer, ResizeKeepsPendingBytes) {
  TBuffer b(8);
  b.Write("abcdef", 6);
  b.Remove(2);
  b.SetSize(16);
  int32_t len;
  const uint8_t* p = b.Peek(len);
  EXPECT_EQ(std::string((const char*)p, len), "cdef");
  b.SetSize(4);  // shrinking below the written bytes keeps what fits
  p = b.Peek(len);
  EXPECT_EQ(std::string((const char*)p, len), "cd");
  EXPECT_EQ(b.Remove(-3), 0);
}

// Mend: a shrink that cuts away every unread byte used to leave both positions at the new
// end, so the block took nothing more.
TEST(SocketBuffer, MendShrinkingPastTheUnreadBytesDrainsTheBlock) {
  TBuffer b(8);
  b.Write("abcdefgh", 8);
  b.Remove(5);  // "fgh" unread, all beyond the new size
  b.SetSize(4);
  int32_t len;
  EXPECT_EQ(b.Peek(len), nullptr);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(b.ReadPos(), 0);
  EXPECT_EQ(b.WritePos(), 0);
  EXPECT_EQ(b.Write("wxyz!", 5), 4);
  const uint8_t* p = b.Peek(len);
  EXPECT_EQ(std::string((const char*)p, len), "wxyz");
}
