// Whether a file is a whole personal database of ours, so the restore tool can refuse a
// backup that would leave the program with an empty or broken personal database.
// Contract: opens its own connection and closes it before returning; any thread.
#pragma once
#include <string>

// True when the file opens as one of our databases with our password, SQLite's quick check
// finds nothing wrong, and it holds the personal database's table SelfConfig. Never changes
// the file.
bool IsPersonalDatabaseFile(const std::string& path);
