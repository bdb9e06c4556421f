// The product's program family: which program is a web module, a server program, a utility or
// an ordinary client, and the kind number the client upgrade check works by. One table holds
// the Linux names (no ".exe"; ".so" for a library); names are compared without regard to ASCII
// case, and a Windows spelling ("VarnelServer.exe", "VarnelCRM.dll") counts as the Linux name.
#pragma once

#include <string>

// What the start-up rules look at: the program file name (no folder), the first command-line
// parameter (empty when there is none) and whether the code runs inside a library module.
struct TProgramIdentity {
  std::string FileName;
  std::string FirstParam;
  bool Library = false;
};

// The running program: ProgramFileName, its first parameter, IsLibraryModule.
TProgramIdentity CurrentProgram();

bool IsWebModule(const std::string& fileName);
// A web module, "VarnelRMMServer" or "VarnelServer".
bool IsServerProgram(const TProgramIdentity& program = CurrentProgram());
// "VarnelUtils", "VarnelBackup", "VarnelCRMSyncOutlookForAll", "VarnelAutoCodeByXml",
// "ServerConfig".
bool IsUtilityProgram(const TProgramIdentity& program = CurrentProgram());
// "VarnelUtils", "ServerConfig", and "VarnelBackup" started without a parameter.
bool IsInteractiveUtility(const TProgramIdentity& program = CurrentProgram());
// Neither a server program nor a utility nor a library module: this tool under any name.
bool IsOrdinaryClient(const TProgramIdentity& program = CurrentProgram());
// Whether a start-up refused by the maintenance stop ends the process.
bool MustHaltWhenRefused(const TProgramIdentity& program = CurrentProgram());

// The upgrade check's kind of a module (its folder is ignored): 1 desktop client, 3 backup,
// 4 web interface, 5 server configuration, 6 server, 7 RMM server, 8 database library, 9 mail
// synchronisation, 10 automatic coding; 0 for everything else, this tool included.
int GetProgramKind(const std::string& moduleFileName);
// Kinds 4, 6 and 7.
bool IsServerKind(int kind);
