// Small routines every window shares: the information box, text splitters, the running
// program's version, the enterprise's domain, friend-list drawing helpers, the adapter
// address for registration, a field test for data sets, and the error log. The box belongs
// to the GUI thread (its owner is the installed message pump's window); the rest keep no
// state beyond the log path, and a log line is appended whole by each call.
#pragma once
#include <cstdint>
#include <string>

class TStringList;

// Modal information box owned by the application; an empty caption becomes "系统提示".
void ShowMsg(const std::string& caption, const std::string& text);
// Splits Text at every Delimiter into List (cleared first); the rest is always added, so an
// empty text gives one empty item. An empty Delimiter gives the whole text as one item.
bool SplitString(const std::string& text, const std::string& delimiter, TStringList& list);
// Splits at carriage returns; Separator only says how many characters a line break takes.
bool SplitLines(const std::string& text, const std::string& separator, TStringList& list);
// The pieces of Text between Delimiters, each trimmed and preceded by four blanks, joined by
// line breaks: how a received message's lines are laid out under its heading.
std::string IndentedLines(const std::string& text, const std::string& delimiter);
// File version of the running program; the outputs stay unchanged without a version resource.
void GetExeVersion(uint16_t& major, uint16_t& minor, uint16_t& release, uint16_t& build);
// Same, for any program file (GetExeVersion reads the running program through it).
void GetFileVersionOf(const std::string& path, uint16_t& major, uint16_t& minor, uint16_t& release,
                      uint16_t& build);
// Host (and any path) of the global SiteUrl without scheme and without a leading "www.".
std::string GetDomainName();
std::string DomainOf(const std::string& url);
// The characters before the first "(", or "" when there is none.
std::string TextBeforeParen(const std::string& text);
// True when Text's character at the 1-based Index is "1".
bool IsFlagChar(int index, const std::string& text);
// "XX-XX-XX-XX-XX-XX" of the network adapter, or "".
std::string GetMacAddress();
// The error log beside the program (its name with ".log"); one time-stamped line per call,
// every failure swallowed.
void WriteErrorLog(const std::string& text);
// Where the log goes; tests point it at a temporary file.
std::string ErrorLogPath();
void SetErrorLogPath(const std::string& path);

// FieldExists lives with the data-set layer: see the data module's unit.
