// The check that the database engine client is usable: its five files beside the program and
// exactly the engine version the system was built for.
#pragma once

#include <string>

// The engine client files, in the order they are tested.
inline constexpr const char* EngineClientFiles[] = {"ace32.dll", "adsloc32.dll", "axcws32.dll",
                                                    "adslocal.cfg", "Ansi.chr"};
inline constexpr const char* RequiredEngineVersion = "11.10";

// Runs CheckEngineClientIn on the program's folder.
bool CheckEngineClient(std::string& message);
// True when every file is present and the version matches; message then holds the version text,
// otherwise the text for the user.
bool CheckEngineClientIn(const std::string& folder, std::string& message);
// True when none of the files is missing; missing receives "\n\r" + name for each absent one.
bool FindMissingEngineFiles(const std::string& folder, std::string& missing);
// The engine's version: major, then "." and the minor number, written with two digits.
std::string EngineVersionText();
