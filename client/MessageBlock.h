// The message block: the form in which a received chat message travels from the main window
// to a chat window (window message 10001 with a copy-data record) and waits in the message
// queues. Byte layout: name length N (1), display name (N), friend flag (1), online flag (1),
// time as OLE date (8), formatted-text length T (32-bit little-endian), formatted text (T).
// The builder never writes past its buffer; the reader checks every length against the bytes
// it was given, because the bytes may come from any window's copy-data record.
// Contract: plain functions that own nothing; `buf` and `data` are the caller's and are
// touched only during the call. SendMessageBlock runs on the thread of the window that sends.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/ServiceReplies.h"
#include "platform/rtl/DateTime.h"

// The window message that carries a message block to a chat window.
inline constexpr UINT kChatBlockMessage = 10001;
// dwData of the copy-data record: a block for a chat window.
inline constexpr ULONG_PTR kChatBlockKind = 1;
// The main window builds blocks in a buffer of this size; no block is larger.
inline constexpr size_t kMessageBlockCapacity = 10000;
inline constexpr size_t kMessageBlockOverhead = 15;

// Before a consulting customer's number in the customer list and in the records of his
// messages.
inline constexpr char kCustomerPrefix[] = "咨询客户";

struct TMessageBlock {
  std::string DisplayName;  // friend's name, or the customer's number
  uint8_t Friend = 0;       // 1 enterprise friend, 0 consulting customer
  uint8_t Online = 0;       // 1 received now, 0 an offline message
  TDateTime Time = 0;
  std::string Formatted;  // font size, font name, colour, text (TFormattedText)
};

// Writes the block into buf[0..capacity) and returns its size. A display name longer than
// 255 bytes is cut on a character boundary; a block that still does not fit throws
// EMalformedBody and leaves the buffer untouched.
size_t WriteMessageBlock(const TMessageBlock& block, char* buf, size_t capacity);
// The same into a string, bounded by kMessageBlockCapacity.
std::string BuildMessageBlock(const TMessageBlock& block);

// The block held in data[0..size), or nothing when a length points past it.
std::optional<TMessageBlock> ReadMessageBlock(const void* data, size_t size);
// The font and text of the block's formatted text (colour as text for a customer), or
// nothing when it is malformed.
std::optional<TFormattedText> ReadBlockText(const TMessageBlock& block);

// The formatted text as a consulting customer's messages lay it out: the colour is a decimal
// text with a length byte.
std::string BuildCustomerFormattedText(uint8_t fontSize, const std::string& fontName, const std::string& colourText,
                                       const std::string& text);

// What an error line shows of a message: its text with control bytes as blanks, cut to at
// most kLogExcerptBytes on a character boundary, so a line stays short and readable.
inline constexpr size_t kLogExcerptBytes = 200;
std::string LogExcerpt(const std::string& text);
// The same of a formatted text (its text part; its raw bytes when it is malformed).
std::string FormattedLogExcerpt(const std::string& formatted, bool colourAsText);

// True only inside SendHandedRecord on the calling thread, for the record it sent: a chat
// window takes the messages whose parameter is a pointer (10001, 10000) from its own
// program's hand-over and from nobody else.
bool IsHandedRecord(LPARAM lParam);

// Hands `bytes` to `window` synchronously as `message` with a copy-data record of `kind`;
// the record points at a private copy that lives for the call. Returns the window's answer.
LRESULT SendHandedRecord(HWND window, UINT message, ULONG_PTR kind, const std::string& bytes, HWND from = nullptr);
// The block as message 10001.
LRESULT SendMessageBlock(HWND window, const std::string& block, HWND from = nullptr);
