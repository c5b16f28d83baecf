// The two local databases: their descriptor records, opening and creating them.
#pragma once
#include <string>

// One local database: where it is, how it is named to the user, and whether it opened.
struct TDatabaseInfo {
  std::string Path;
  std::string Caption;
  std::string Password;
  std::string ConnectionString;
  bool Opened = false;
  bool IsSystem = false;
};
