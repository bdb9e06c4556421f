#include "startup/UpgradeFileLists.h"

#include <initializer_list>

#include "common/FileUtils.h"
#include "common/PathUtils.h"
#include "platform/AceDriver.h"
#include "startup/ProgramKinds.h"
#include "startup/UpgradeFileRules.h"

namespace {

using TEntries = std::vector<TUpgradeEntry>;

void Add(TEntries& entries, TUpgradeRule rule, std::initializer_list<const char*> names) {
  for (const char* name : names) entries.push_back({name, name, rule});
}
void AddRenamed(TEntries& entries, TUpgradeRule rule, const char* local, const char* source) {
  entries.push_back({local, source, rule});
}
void AddFolder(TEntries& entries, const std::string& folder) {
  entries.push_back({folder, folder, TUpgradeRule::Folder});
}

constexpr auto V = TUpgradeRule::Version;
constexpr auto D = TUpgradeRule::Date;

void CompressionGroup(TEntries& e) {
  Add(e, V, {"VrlZ104.so", "VrlZ516.so"});
}

void CryptoGroup(TEntries& e, int kind) {
  if (kind == 1) {
    AddRenamed(e, D, "libeay32.so", "libeay32c.so");
    AddRenamed(e, D, "ssleay32.so", "ssleay32c.so");
    AddRenamed(e, V, "libcurl.so", "libcurlc.so");
    Add(e, V, {"msvcr100.so"});
  } else if (kind == 4) {
    AddRenamed(e, D, "libeay32.so", "libeay32w.so");
    AddRenamed(e, D, "ssleay32.so", "ssleay32w.so");
  } else {
    Add(e, D, {"libeay32.so", "ssleay32.so"});
  }
  Add(e, D, {"Microsoft.VC90.CRT.manifest", "msvcr90.so"});
}

void DebugGroup(TEntries& e) {
  Add(e, D, {"dbghelp.so"});
}

// The sub-folder of LastVerFolder holding the engine settings for the kind; empty for none.
std::string EngineSettingsFolder(int kind) {
  switch (kind) {
    case 4:
      return "WebInterface";
    case 5:
    case 6:
      return "Server";
    case 7:
      return "RMM";
    default:
      return {};
  }
}

void DatabaseEngineGroup(TEntries& e, int kind) {
  Add(e, V, {"ace32.dll", "adsloc32.dll", "axcws32.dll"});
  Add(e, D, {"Ansi.chr"});
  const std::string folder = EngineSettingsFolder(kind);
  for (const char* name : {"adslocal.cfg", EngineSettingsFile})
    e.push_back({name, folder.empty() ? name : folder + PathDelim + name, D});
}

std::string MainFile(int kind, const TUpgradeSources& sources) {
  switch (kind) {
    case 1:
      return "VarnelCRM";
    case 3:
      return "VarnelBackup";
    case 4:
      return "VarnelWebInterface";
    case 5:
      return "ServerConfig";
    case 6:
      return "VarnelServer";
    case 7:
      return "VarnelRMMServer";
    case 8:
      return sources.ModuleFileName;
    case 9:
      return "VarnelCRMSyncOutlookForAll";
    case 10:
      return "VarnelAutoCodeByXml";
    default:
      return {};
  }
}

void KindList(TEntries& e, int kind, const TUpgradeSources& sources) {
  if (IsServerKind(kind)) Add(e, V, {"VrlDbEng.so"});
  switch (kind) {
    case 1:
      Add(e, D, {"VrlMail.so"});
      Add(e, V, {"VrlOlSync.so", "VrlDbEng.so", "VrlOlRpd.so", "VrlOlRpd64.so", "VrlQBO.so"});
      Add(e, D,
          {"Navtabsrvmgr.vrl", "Navtabguides.vrl", "Navsrvmgr.vrl", "Navdatamgr.vrl",
           "Navguides.vrl"});
      Add(e, V, {"VrlQWrapOutbox.so"});
      if (sources.EnglishDictionaries)
        Add(e, D,
            {"vrldic_american.adm", "vrldic_british.adm", "vrldic_technical.adm",
             "vrldic_australian.adm"});
      Add(e, V, {"VrlROl", "VrlZ084"});
      CompressionGroup(e);
      CryptoGroup(e, kind);
      break;
    case 4:
      Add(e, V,
          {"VarnelWebInterface", "VarnelCRM.so", "VrlSchedReps.so", "VrlPrintToPDF.so",
           "VrlQWrapOutbox.so"});
      CompressionGroup(e);
      CryptoGroup(e, kind);
      AddFolder(e, "WebInterface");
      AddFolder(e, std::string("WebInterface") + PathDelim + "Templates");
      AddFolder(e, std::string("WebInterface") + PathDelim + "Files");
      break;
    case 6:
      Add(e, V,
          {"VrlSchedReps.so", "VrlAlerts.so", "VrlEmailConnector.so", "VrlEmailDelivery.so",
           "VrlQ.so", "VrlQWrapOutbox.so", "VrlPrintToPDF.so", "VrlDbQry.so", "VrlWSrv.so",
           "VrlWPDbEng.so", "VrlWPDbQry.so", "VrlNtfyU.so", "VrlSmtpLink.so"});
      CompressionGroup(e);
      CryptoGroup(e, kind);
      DebugGroup(e);
      AddFolder(e, "Server");
      break;
    case 7:
      Add(e, V, {"libcurl.so", "zlib1.so", "VrlDbQry.so", "VrlZenithLink.so", "VrlGFIMAXLink.so"});
      CompressionGroup(e);
      CryptoGroup(e, kind);
      DebugGroup(e);
      AddFolder(e, "RMM");
      break;
    case 5:
      DebugGroup(e);
      Add(e, V, {"VrlSmtpLink.so"});
      CryptoGroup(e, kind);
      break;
    case 9:
      Add(e, V,
          {"VarnelCRMSyncOutlookForAll", "VrlOlSync.so", "VrlOlRpd.so", "VrlROl", "VrlDbEng.so"});
      break;
    case 10:
      Add(e, V, {"VrlOlRpd.so", "VrlDbEng.so"});
      CompressionGroup(e);
      CryptoGroup(e, kind);
      break;
    default:
      break;
  }
}

bool IsNewer(const TUpgradeEntry& entry, const TUpgradeSources& sources) {
  const std::string local = sources.ModuleFolder + entry.LocalName;
  const std::string source = sources.LastVerFolder + entry.SourceName;
  switch (entry.Rule) {
    case TUpgradeRule::Version:
      return IsNewerByVersion(local, source);
    case TUpgradeRule::Date:
      return IsNewerByDate(local, source);
    case TUpgradeRule::Folder:
      return DirectoryExists(source) && !IsFolderEmpty(source);
  }
  return false;
}

}  // namespace

std::vector<TUpgradeEntry> UpgradeEntries(int kind, const TUpgradeSources& sources) {
  TEntries entries;
  if (kind < 1 || kind > 10) return entries;
  const std::string main = MainFile(kind, sources);
  if (!main.empty()) entries.push_back({main, main, V});
  KindList(entries, kind, sources);
  DatabaseEngineGroup(entries, kind);
  return entries;
}

bool CollectNewerFiles(int kind, std::string& fileList, const TUpgradeSources& sources) {
  bool added = false;
  for (const TUpgradeEntry& entry : UpgradeEntries(kind, sources)) {
    if (!IsNewer(entry, sources)) continue;
    const std::string text = entry.Rule == TUpgradeRule::Folder
                                 ? sources.LastVerFolder + entry.SourceName
                                 : FileListEntry(entry.LocalName, entry.SourceName);
    added = AddToFileList(fileList, text) || added;
  }
  return added;
}
