// The installation a program is told to work on (the console's --installation, both programs'
// VRL_INSTALLATION) in place of the one around its own folder. The folder named is the
// installation's root, the one that holds DB, DBSys, Logs and Utils; its Utils folder becomes the
// program folder (TSystemServices::PlaceProgramIn), so the ini files, the engine client files,
// the markers and, through the database folder, the logs are that installation's, while the
// program's file name (and what is named after it) stays its own. Without one nothing changes.
//
// It is taken before anything reads the program folder: before the program units start. Links
// are followed: a root that is a link is resolved once, at the start, and the program works on
// the folder it named then; a Utils folder that is a link lends the program its ini files, engine
// client files and markers, while the database (unless VarnelCRM.ini moves it), DBSys and Logs
// are still found beside it under the root named.
#pragma once

#include <optional>
#include <string>

inline constexpr const char* InstallationVariable = "VRL_INSTALLATION";
// Both programs end with it when the installation named is none (the console's failure code).
inline constexpr int InstallationRefusedExitCode = 2;

// The installation to work on: given (the console's option), otherwise the one VRL_INSTALLATION
// names (an empty variable names none). A relative folder is taken from the current folder. True
// when there is none or it is an installation, which the program then works on; false, with the
// message that says what it lacks, when it is none: nothing was done then.
// A program started from the package's folder (below) with none named is refused too.
bool UseNamedInstallation(const std::string& given, std::string& message);
// The refusal of programFile, started with no installation named, when it lies in the folder the
// Debian package puts the programs in (installed, or unpacked anywhere by dpkg-deb -x) and no
// VarnelCRM.ini there names one: no installation lies around that folder, and looking for one
// there would make folders beside it. None for a program anywhere else.
std::optional<std::string> PackagedProgramRefusal(const std::string& programFile);
// Back to the program's own folder (the end of a run that may have used one).
void LeaveNamedInstallation();

// Leaves the named installation when the run that took it ends, however it ends.
struct TNamedInstallationForTheRun {
  TNamedInstallationForTheRun() = default;
  TNamedInstallationForTheRun(const TNamedInstallationForTheRun&) = delete;
  TNamedInstallationForTheRun& operator=(const TNamedInstallationForTheRun&) = delete;
  ~TNamedInstallationForTheRun() { LeaveNamedInstallation(); }
};
