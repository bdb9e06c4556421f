#include "docpaths/PreflightReport.h"

#include <filesystem>
#include <system_error>

#include "common/PathUtils.h"
#include "common/StrUtils.h"
#include "docpaths/PassReader.h"
#include "docpaths/PathPasses.h"
#include "docpaths/PathRewriteRules.h"
#include "docpaths/TableRewriteWalk.h"

namespace {

// One table's rules: the pass's own, the reverse one (new folder to old), and how much of a
// rewrite is the new folder (what follows it is the part below the folder).
struct TTableRules {
  TValueRule Forward;
  TValueRule Reverse;
  size_t NewPrefixSize = 0;
};

TTableRules Rules(const TPathPass& pass, const std::string& oldPath, const std::string& newPath) {
  return {PassRule(pass, oldPath, newPath), PassRule(pass, newPath, oldPath),
          NewFolderChars(pass, oldPath, newPath)};
}

// The local path of a stored path's part below its folder, under root.
std::string LocalPath(const std::string& root, std::string below) {
  for (char& c : below)
    if (c == '\\') c = '/';
  const size_t start = below.find_first_not_of('/');
  std::filesystem::path path(root);
  if (start != std::string::npos) path /= below.substr(start);
  return path.string();
}

bool Exists(const std::string& path) {
  std::error_code error;  // an unreadable place counts as no file
  return std::filesystem::exists(path, error);
}

void CheckFiles(const TFileCheck& files, size_t newPrefixSize, const std::string& value,
                const std::string& rewritten, TTableReport& report) {
  const std::string below = rewritten.substr(newPrefixSize);
  if (std::string local = LocalPath(files.OldRoot, below); !Exists(local))
    report.OldFileMissing.Add(value, local);
  if (files.NewRoot.empty()) return;
  if (std::string local = LocalPath(files.NewRoot, below); Exists(local))
    report.NewFilePresent.Add(value, local);
}

void ReportTable(const TPathPass& pass, TTableRules rules, const TFileCheck& files,
                 bool newUnderOld, TRewriteObserver* observer, TTableReport& report) {
  TPassReader reader(pass, observer);
  report.Width = reader.Width();
  std::string rewritten, other;
  for (; !reader.Eof(); reader.Next()) {
    ++report.Examined;
    const std::string& value = reader.Value();
    if (rules.Reverse(value, other)) report.AlreadyNew.Add(value, {});
    if (!rules.Forward(value, rewritten)) {
      report.OtherFolders.Add(value);
    } else if (rewritten != value) {
      if (observer) observer->Rewritten(value, rewritten);
      report.WillChange.Add(value, rewritten);
      if (newUnderOld && rules.Forward(rewritten, other) && other != rewritten)
        report.RerunHazard.Add(rewritten, other);
      if (report.Width && Utf8Length(rewritten) > *report.Width)
        report.TooLong.Add(value, rewritten);
      if (files.Enabled) CheckFiles(files, rules.NewPrefixSize, value, rewritten, report);
    }
  }
  reader.Close();
}

}  // namespace

void TReportMeasure::Add(const std::string& value, const std::string& related) {
  if (Samples.size() < kReportSamples) Samples.emplace_back(value, related);
  ++Count;
}

bool NewFolderUnderOld(const std::string& oldPath, const std::string& newPath) {
  const TDocPathRule rule = MakeDocPathRule(oldPath, newPath);
  const std::string newFolder = AddTrailingBackslash(newPath);
  return newFolder.size() > rule.OldPrefix.size() && StartsWithUpper(newFolder, rule.OldPrefix);
}

TPreflightReport MakePreflightReport(const std::string& oldPath, const std::string& newPath,
                                     const TFileCheck& files, TRewriteObserver* docsObserver,
                                     TRewriteObserver* cardsObserver) {
  TPreflightReport report;
  report.NewUnderOld = NewFolderUnderOld(oldPath, newPath);
  report.Files = files;
  ReportTable(kDocsPass, Rules(kDocsPass, oldPath, newPath), files, report.NewUnderOld,
              docsObserver, report.Docs);
  ReportTable(kCardsPass, Rules(kCardsPass, oldPath, newPath), files, report.NewUnderOld,
              cardsObserver, report.Cards);
  return report;
}
