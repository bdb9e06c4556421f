// The installation's folders and the running program's identity, all found from one setting:
// the database folder, read from "VarnelCRM.ini" beside the program.
#pragma once

#include <string>

#include "common/DefaultsRec.h"

inline constexpr const char* ProgramIniFileName = "VarnelCRM.ini";

// Loads the folder defaults (the program's ini file); runs once at start. Calling it again
// reloads them and forgets every cached folder and flag (a test's fresh installation tree).
void LoadSystemFolderDefaults();
// Forgets the defaults and every cached folder and flag (end of the process, or a test's reset).
void FreeSystemFolders();

// The database folder exactly as configured (with or without a trailing PathDelim).
std::string DatabaseFolder();
// Folders of the installation; each ends with PathDelim.
std::string DBSysFolder();
std::string ServerFolder();
std::string UtilsFolder();
std::string LastVerFolder();
std::string UpgradeClientFolder();
std::string DocsFolder();
// Created on first use.
std::string TempFolder();
std::string LogsFolder();
std::string TemplatesFolder();

// Full path of the running module; whether it is a library.
std::string ModuleFileName();
bool IsLibraryModule();
// Folder of the running module, with a trailing PathDelim: the program folder, where the
// program finds its ini files, engine client files and markers.
std::string ProgramModuleFolder();
// Full path of the program file (the resolved first command-line element), in the program
// folder: the named installation's Utils folder when the program works on one
// (host/NamedInstallation.h).
std::string ProgramFullPath();
// The program file the process was started from, wherever the program works: for what the
// program is (its version, a crash report), never for where it finds things.
std::string StartedProgramFullPath();
// File name of the program file, without folder.
std::string ProgramFileName();
// prefix + (library name + "_" when in a library) + program name without extension + suffix.
std::string ProgramBasedName(const std::string& prefix, const std::string& suffix);
bool ProgramIniExists();

// The file in DBSysFolder that marks an installation on the remote database server.
inline constexpr const char* RemoteServerMarkerFile = "VarnelServer.sr1";
// True when RemoteServerMarkerFile exists in DBSysFolder at the first call.
bool IsRemoteServerMode();
