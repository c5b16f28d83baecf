// Strings, code pages and file names. Program text is std::string in code page 936; UTF-8
// appears only where the system converts (wire bodies, SQLite text, web pages).
// Pure functions apart from the file and process helpers; safe on any thread.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace sys {

constexpr unsigned kAnsiCodePage = 936;

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view wide);

// True when the byte at `index` starts a two-byte character of code page 936.
bool IsLeadByte(unsigned char c);
// The longest prefix of `s` of at most `maxBytes` bytes that does not split a character.
std::string CutAnsi(std::string_view s, size_t maxBytes);
// Lower/upper case of ASCII letters only; the second byte of a double-byte character is kept.
std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);
std::string Trim(std::string_view s);
// Every line break of `s` (CR LF, a lone CR, a lone LF) made `lineBreak`.
std::string UnifyLineBreaks(std::string_view s, std::string_view lineBreak);
bool SameText(std::string_view a, std::string_view b);

std::string IntToStr(long long v);
std::string IntToHex(unsigned long long v, int digits);
int StrToIntDef(std::string_view s, int def);
// Throws EConvertError on text that is not a whole decimal number.
int StrToInt(std::string_view s);
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Files and paths (ANSI API, backslash separators).
std::string ParamStr(int index);  // 0: the program's full path
std::string ExeName();
std::string ExtractFilePath(std::string_view path);  // with trailing separator
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingBackslash(std::string_view path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
bool ForceDirectories(const std::string& path);
bool RemoveFile(const std::string& path);  // true when it is gone afterwards
// The whole file, or throws EFileError.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace sys
