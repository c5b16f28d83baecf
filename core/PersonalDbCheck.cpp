#include "core/PersonalDbCheck.h"

#include <exception>

#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

bool IsPersonalDatabaseFile(const std::string& path) {
  if (!sys::FileExists(path)) return false;
  try {
    TDbConnection c(nullptr);
    c.SetConnectionString(DatabaseConnectionString(path, kDatabasePassword));
    c.SetConnectionTimeout(1);
    c.Open();  // raises for an empty file, another kind of file or another password
    c.CheckWhole();
    TStringList tables;
    c.GetTableNames(tables);
    for (int i = 0; i < tables.Count(); ++i)
      if (sys::SameText(tables[i], "SelfConfig")) return true;
    return false;
  } catch (const std::exception&) {
    return false;
  }
}
