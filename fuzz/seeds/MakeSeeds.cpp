// Writes the binary seed inputs of the fuzz targets into fuzz/corpus/TARGET/ from the same
// builders the tests use: the stand-in server's bodies and frames, the main window's message
// block writer, the skin packer and the bitmap file head. Text seeds are committed as files.
//   make_seeds CORPUS_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "client/MessageBlock.h"
#include "platform/graphics/BmpHeader.h"
#include "tools/serviceserver/ServiceBodies.h"
#include "tools/skinpack/SkinPacker.h"

namespace {

std::filesystem::path g_root;

void Put(const char* target, const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(g_root / target);
  std::ofstream(g_root / target / name, std::ios::binary).write(bytes.data(), (std::streamsize)bytes.size());
}

TFriendRecord Record(uint32_t number, const std::string& nick, uint8_t state) {
  return stub::SampleFriend(number, "company", nick, state);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds CORPUS_DIR\n");
    return 2;
  }
  g_root = argv[1];
  using namespace stub;
  const TDateTime when = 45123.75;
  const std::string formatted = BuildFormattedText(12, "SimSun", 0xFF, "hello");
  TStoredRequest stored;
  stored.Requester = 10003;
  stored.Time = when;
  stored.Text = "add me";
  stored.Record = Record(10003, "three", 1);
  struct Body {
    uint8_t proto;
    std::string bytes;
  };
  const std::vector<Body> bodies = {
      {12, ChatBody(0, 1, formatted, "10002", when)},
      {27, LoginReplyBody({0, "demo", 10001, 1, "http://www.demo.example", "2.0.0.1", "Karvell", "010-1", "010-2",
                           "a@demo.example", "x"})},
      {28, CustomerListBody({800123, 800124})},
      {32, RegisterReplyBody({0, 10005, 10005, "ok"})},
      {33, CustomerLeftBody("800123")},
      {35, WaitingMessagesBody(1, {{"hello", "800123", when}})},
      {37, FriendListBody({Record(10002, "two", 1)})},
      {38, FriendRecordBody(Record(10004, "four", 0))},
      {39, AccountBody(10002)},
      {43, FriendRequestBody("please", Record(10006, "six", 1))},
      {47, StoredRequestsBody({stored})},
      {49, OfflineMessagesBody({{10002, when, "offline", 0, "SimSun", 11, 0x00FF8040}})},
      {51, RegionTablesBody({{{1, 0, 11, "north"}}, {{1, 11, 1101, "city"}}, {}})},
      {52, CategoryTableBody({{1, 1, -1, "machines"}, {2, 101, 1, "tools"}})},
      {53, TradeResultBody(1)},
  };
  std::string stream(1, '\x40');  // the frames target's first byte: reads of 65 bytes
  for (const Body& b : bodies) {
    Put("replies", std::to_string(b.proto), std::string(1, (char)b.proto) + b.bytes);
    stream += Frame(b.proto, b.bytes);
  }
  Put("frames", "all-replies", stream);
  Put("frames", "one-byte-reads", std::string(1, '\0') + Frame(12, bodies[0].bytes) + "junk" + Frame(53, "\x01"));

  TMessageBlock block{"10002", 1, 1, when, formatted};
  Put("message_block", "friend", BuildMessageBlock(block));
  block = {"800123", 0, 0, when, BuildCustomerFormattedText(9, "SimSun", "255", "hi")};
  Put("message_block", "customer", BuildMessageBlock(block));

  const std::string ini = "[Form]\r\nCaptionHeight=24\r\nColor=$FF00FF\r\n[Button]\r\nImage=button.bmp\r\n";
  const std::string bmp = BmpFileHeader24(2, 2) + std::string(16, '\x7f');
  const std::string archive = skinpack::BuildArchive({{"skin.ini", ini}, {"button.bmp", bmp}});
  Put("skin_archive", "two-members", archive);
  Put("skin_lzh", "packed-skin", skinpack::Encode(archive));
  Put("skin_lzh", "packed-text", skinpack::Encode("abcabcabcabcabc the quick brown fox"));
  Put("bmp", "rgb24", bmp);
  return 0;
}
