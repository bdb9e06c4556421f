// Lays out a complete installation tree with a sample database:
//   <root>/Utils/   the programs found beside VrlDemoInstall, the engine client files, ads.ini
//   <root>/DB/      Varnel.sqlite from the CRM schema, filled with documents, cards, Pref rows
//                   and the English and Hebrew language records
//   <root>/DBSys/ Logs/ LastVer/ Templates/ TmpVarnel/, and <root>/../Docs/
// On the remote server (--remote CONNINFO) the same contents go to the CRM schema translated
// for PostgreSQL in that database, DB/ stays empty, DBSys/ holds the remote-server marker and
// ads.ini names the server in its [VarnelRemote] section (never a password).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

struct TDemoInstallOptions {
  std::string Root;
  int64_t Documents = 1000;
  int64_t Cards = 100;
  std::string DocsFolder = "C:\\VarnelDocs";  // a stored path: the documents folder
  std::string ProgramFolder;  // where the programs to copy are (VrlDemoInstall's own folder)
  // A libpq conninfo: the CRM database goes to that remote server instead of DB/, and the
  // installation is marked as one on the remote server. Empty: the local server.
  std::string Remote;
};

// The largest number of documents or cards a demo installation is laid out with.
inline constexpr int64_t MaxDemoCount = 100000000;
// Reads a count from 0 to MaxDemoCount written in decimal digits; false for anything else
// (a sign, blanks, a number beyond the range, digits running past any integer).
bool ParseDemoCount(const std::string& text, int64_t& value);

// Lays out the tree; notes go to out, failures to err. The exit code: 0 done, 1 refused or
// failed. An existing non-empty root, or a remote database that already holds CRM tables, is
// refused without any change.
int RunDemoInstall(const TDemoInstallOptions& options, std::ostream& out, std::ostream& err);

// The five engine client files the engine client check looks for.
inline constexpr const char* DemoEngineClientFiles[] = {"ace32.dll", "adsloc32.dll", "axcws32.dll",
                                                        "adslocal.cfg", "Ansi.chr"};
