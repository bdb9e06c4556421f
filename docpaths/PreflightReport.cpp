#include "docpaths/PreflightReport.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>

#include "common/PathUtils.h"
#include "common/StrUtils.h"
#include "common/SysUtils.h"
#include "docpaths/FolderPrefs.h"
#include "docpaths/PassReader.h"
#include "docpaths/PathPasses.h"
#include "docpaths/PathRewriteRules.h"
#include "docpaths/TableRewriteWalk.h"

namespace {

// One table's rules: the run's own, the reverse one (new folder to old), and how much of a
// rewrite by a row is the new folder (what follows it is the part below the folder). The rules
// answer the row that matched (0 with one folder), or -1.
struct TTableRules {
  std::function<int(const std::string&, std::string&)> Forward;
  std::function<int(const std::string&, std::string&)> Reverse;
  std::function<size_t(int)> NewPrefixSize;
};

std::function<int(const std::string&, std::string&)> RowOf(TValueRule rule) {
  return [rule = std::move(rule)](const std::string& value, std::string& rewritten) {
    return rule(value, rewritten) ? 0 : -1;
  };
}

TTableRules Rules(const TPathPass& pass, const std::string& oldPath, const std::string& newPath) {
  return {RowOf(PassRule(pass, oldPath, newPath)), RowOf(PassRule(pass, newPath, oldPath)),
          [size = NewFolderChars(pass, oldPath, newPath)](int) { return size; }};
}

TTableRules Rules(const TPathPass& pass, const TFolderMappingRows& rows) {
  TFolderMappingRows reversed;
  for (const TFolderMapping& row : rows) reversed.push_back({row.New, row.Old});
  auto forward = std::make_shared<TMappingRule>(pass.Rule, rows);
  auto reverse = std::make_shared<TMappingRule>(pass.Rule, reversed);
  return {[forward](const std::string& value, std::string& rewritten) {
            return forward->Rewrite(value, rewritten);
          },
          [reverse](const std::string& value, std::string& rewritten) {
            return reverse->Rewrite(value, rewritten);
          },
          [forward](int row) { return forward->NewFolderChars(static_cast<size_t>(row)); }};
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

// Where the measures of a table go: the table's own, and with several folders also those of the
// row that a value counts under.
class TTableTally {
 public:
  TTableTally(TTableReport& table, std::vector<TTableReport*> rows)
      : table_(table), rows_(std::move(rows)) {}
  void Add(TReportMeasure TTableReport::*measure, int row, const std::string& value,
           const std::string& related) {
    (table_.*measure).Add(value, related);
    if (!rows_.empty()) (rows_[static_cast<size_t>(row)]->*measure).Add(value, related);
  }
  TTableReport& Table() { return table_; }

 private:
  TTableReport& table_;
  std::vector<TTableReport*> rows_;
};

void CheckFiles(const TFileCheck& files, size_t newPrefixSize, int row, const std::string& value,
                const std::string& rewritten, TTableTally& tally) {
  const std::string below = rewritten.substr(newPrefixSize);
  if (std::string local = LocalPath(files.OldRoot, below); !Exists(local))
    tally.Add(&TTableReport::OldFileMissing, row, value, local);
  if (files.NewRoot.empty()) return;
  if (std::string local = LocalPath(files.NewRoot, below); Exists(local))
    tally.Add(&TTableReport::NewFilePresent, row, value, local);
}

void ReportTable(const TPathPass& pass, const TTableRules& rules, const TFileCheck& files,
                 bool newUnderOld, TRewriteObserver* observer, TTableTally& tally) {
  TTableReport& report = tally.Table();
  TPassReader reader(pass, observer);
  report.Width = reader.Width();
  std::string rewritten, other;
  for (; !reader.Eof(); reader.Next()) {
    ++report.Examined;
    const std::string& value = reader.Value();
    if (const int row = rules.Reverse(value, other); row >= 0)
      tally.Add(&TTableReport::AlreadyNew, row, value, {});
    const int row = rules.Forward(value, rewritten);
    if (row < 0) {
      report.OtherFolders.Add(value);
      continue;
    }
    if (rewritten == value) continue;
    if (observer) observer->Rewritten(value, rewritten);
    tally.Add(&TTableReport::WillChange, row, value, rewritten);
    if (newUnderOld && rules.Forward(rewritten, other) >= 0 && other != rewritten)
      tally.Add(&TTableReport::RerunHazard, row, rewritten, other);
    if (report.Width && Utf8Length(rewritten) > *report.Width)
      tally.Add(&TTableReport::TooLong, row, value, rewritten);
    if (files.Enabled) CheckFiles(files, rules.NewPrefixSize(row), row, value, rewritten, tally);
  }
  reader.Close();
}

}  // namespace

void TReportMeasure::Add(const std::string& value, const std::string& related) {
  if (Samples.size() < kReportSamples) Samples.emplace_back(value, related);
  ++Count;
}

TPreflightReport MakePreflightReport(const std::string& oldPath, const std::string& newPath,
                                     const TFileCheck& files, TRewriteObserver* docsObserver,
                                     TRewriteObserver* cardsObserver) {
  TPreflightReport report;
  report.NewUnderOld = NewFolderUnderOld(oldPath, newPath);
  report.Files = files;
  TTableTally docs(report.Docs, {}), cards(report.Cards, {});
  ReportTable(kDocsPass, Rules(kDocsPass, oldPath, newPath), files, report.NewUnderOld,
              docsObserver, docs);
  ReportTable(kCardsPass, Rules(kCardsPass, oldPath, newPath), files, report.NewUnderOld,
              cardsObserver, cards);
  ReportFolderPrefs(FolderPrefRule(PassRule(kPrefPass, oldPath, newPath)), report.Prefs);
  return report;
}

TPreflightReport MakePreflightReport(const TFolderMappingRows& rows, const TFileCheck& files,
                                     TRewriteObserver* docsObserver,
                                     TRewriteObserver* cardsObserver) {
  if (rows.size() == 1)
    return MakePreflightReport(UpperCase(rows[0].Old), rows[0].New, files, docsObserver,
                               cardsObserver);
  TPreflightReport report;
  report.NewUnderOld = FindNewUnderOld(rows).has_value();
  report.Files = files;
  std::vector<TTableReport*> docsRows, cardsRows;
  for (const TFolderMapping& row : rows) {
    TMappingRowReport& added = report.Rows.emplace_back();
    added.Mapping = row;
    added.NewUnderOld = NewFolderUnderOld(row.Old, row.New);
    added.Docs.Table = kDocsPass.Name;
    added.Cards.Table = kCardsPass.Name;
  }
  for (TMappingRowReport& row : report.Rows) {
    docsRows.push_back(&row.Docs);
    cardsRows.push_back(&row.Cards);
  }
  TTableTally docs(report.Docs, docsRows), cards(report.Cards, cardsRows);
  ReportTable(kDocsPass, Rules(kDocsPass, rows), files, report.NewUnderOld, docsObserver, docs);
  ReportTable(kCardsPass, Rules(kCardsPass, rows), files, report.NewUnderOld, cardsObserver, cards);
  TMappingRule prefRule(kPrefPass.Rule, rows);
  int prefRow = 0;
  ReportFolderPrefs(FolderPrefRule(MappingValueRule(prefRule, prefRow)), report.Prefs);
  for (TMappingRowReport& row : report.Rows) row.Docs.Width = report.Docs.Width;
  for (TMappingRowReport& row : report.Rows) row.Cards.Width = report.Cards.Width;
  return report;
}
