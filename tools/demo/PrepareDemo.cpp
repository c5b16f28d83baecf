// PrepareDemo FOLDER WEBHOST: readies a program folder for the run command. The server line
// of the system database points at the stand-in service server on 127.0.0.1, and the ini
// file names the stand-in web server (WEBHOST, "127.0.0.1:PORT") as the service's web host
// and as the WHOIS host.
#include <cstdio>
#include <string>

#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/SysUtils.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: PrepareDemo FOLDER WEBHOST\n");
    return 2;
  }
  std::string folder = sys::IncludeTrailingBackslash(argv[1]);
  try {
    sys::ForceDirectories(folder + "DataConfig");
    std::string path = folder + "DataConfig\\LocalDb.mdb";
    if (!sys::FileExists(path)) CreateLocalDatabase(true, path, kDatabasePassword);
    TDbConnection c(nullptr);
    c.SetConnectionString(DatabaseConnectionString(path, kDatabasePassword));
    TDbQuery q(nullptr);
    q.SetConnection(&c);
    q.SQL().SetText("update HostList set HostName=:Host where HostDescription=:Line");
    q.SetParam("Host", "127.0.0.1");
    q.SetParam("Line", "网通线路");
    q.ExecSQL();
  } catch (const std::exception& e) {
    fprintf(stderr, "PrepareDemo: %s\n", e.what());
    return 1;
  }
  TIniFile ini(folder + "Client.ini");
  if (!sys::FileExists(ini.FileName())) {
    ini.WriteString("Logininfo", "isSave", "0");
    ini.WriteString("Logininfo", "port", "8014");
  }
  ini.WriteString("Logininfo", "host", argv[2]);
  // The stand-in web server answers the outside WHOIS page too.
  ini.WriteString("Logininfo", "WhoisHost", argv[2]);
  return 0;
}
