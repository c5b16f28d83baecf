// A query on one of the program's local database files, opened with the program's password,
// for tests that prepare or read such a file from outside the program. Owns its connection;
// test thread only.
#pragma once
#include <string>

#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"

namespace client_test {

struct LocalDbQuery {
  TDbConnection connection{nullptr};
  TDbQuery query{nullptr};

  LocalDbQuery(const std::string& path, const std::string& sql) {
    connection.SetConnectionString(DatabaseConnectionString(path, kDatabasePassword));
    query.SetConnection(&connection);
    query.SQL().SetText(sql);
  }
};

}  // namespace client_test
