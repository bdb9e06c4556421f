// The installation defaults record: one live copy per process, filled from the constant copy at
// start and then given the installation, log and database folders (SysFolders.cpp). The other
// fields are carried with their constant defaults only; this program never reads them.
#pragma once

#include <cstdint>
#include <string>

struct GeneralDefaultsRecType {
  std::string InstallFolder;
  std::string LogFolder;
  std::string LogFileName;
  uint8_t Flag = 0;
};

struct DatabaseDefaultsRecType {
  std::string DatabaseFolder;
  std::string NetControlFolder;
  std::string Reserved;
};

struct DialDefaultsRecType {
  std::string Dial1;
  std::string Dial2;
};

struct OfficeDefaultsRecType {
  std::string Office1;
  std::string Office2;
};

struct MnAccDefaultsRecType {
  std::string ToMnAccFolder;
  std::string ToMnAccTempFolder;
};

struct FullDefaultsRecType {
  GeneralDefaultsRecType General;
  DatabaseDefaultsRecType Database;
  DialDefaultsRecType Dial;
  OfficeDefaultsRecType Office;
  MnAccDefaultsRecType MnAcc;
};

// The constant defaults (Windows texts as the product ships them).
const FullDefaultsRecType& ConstFullDefaults();
// The live record; loaded on first use (LoadSystemFolderDefaults).
const FullDefaultsRecType& FullDefaults();
