// The cost of matching and rewriting one stored value, per pass: a matching value, one that
// differs early, one that differs only at the folder boundary, and Hebrew paths; and the same
// by the combined rule of three folders (two client folders under the old one, and the old one),
// where most values go by the shortest row after the longer ones were tried.
#include <benchmark/benchmark.h>

#include <string>

#include "docpaths/FolderMappings.h"
#include "docpaths/PathRewriteRules.h"

namespace {

const std::string kOld = "c:\\varneldocs";
const std::string kNew = "\\\\fileserver\\Shared\\VarnelDocs\\";

const std::string kDocMatch =
    "C:\\VarnelDocs\\Cohen Trading Ltd 4887\\2024\\Support\\Letter 39.docx";
const std::string kDocLowerMatch =
    "c:\\varneldocs\\levi brothers 1872\\2024\\HR\\INV-2023-000037.PDF";
const std::string kDocHebrew =
    "C:\\VarnelDocs\\אלקטרה שירותים 5964\\2018\\חוזים\\חוזה שכירות 38.docx";
const std::string kDocOtherDrive = "D:\\Archive\\Negev Solar 12\\2019\\Scans\\scan_00031.tif";
const std::string kDocNeighbour =
    "C:\\VarnelDocs2\\Orion Medical\\2020\\Quotes\\Quote 5 rev B.xlsx";

const std::string kCardMatch = "C:\\VarnelDocs\\Galil Software 310\\";
const std::string kCardHebrew = "C:\\VarnelDocs\\כהן ובניו 77";
const std::string kCardFolderItself = "C:\\VarnelDocs";
const std::string kCardNeighbour = "C:\\VarnelDocs2\\Mizrahi & Sons";
const std::string kCardOtherServer = "\\\\FILESRV01\\Cards\\Delta Logistics\\";

void DocPath(benchmark::State& state, const std::string& value) {
  const TDocPathRule rule = MakeDocPathRule(kOld, kNew);
  std::string result;
  for (auto _ : state) {
    bool matched = RewriteDocPath(rule, value, result);
    benchmark::DoNotOptimize(matched);
    benchmark::DoNotOptimize(result.data());
  }
}

void CardFolder(benchmark::State& state, const std::string& value) {
  const TCardFolderRule rule = MakeCardFolderRule(kOld, kNew);
  std::string folder, rest, result;
  for (auto _ : state) {
    bool matched = RewriteCardFolder(rule, value, folder, rest, result);
    benchmark::DoNotOptimize(matched);
    benchmark::DoNotOptimize(result.data());
  }
}

const TFolderMappingRows kThreeRows = {
    {"c:\\varneldocs\\Cohen Trading Ltd 2", "\\\\fileserver\\Clients\\Cohen Trading"},
    {"C:\\VarnelDocs\\levi brothers", "\\\\fileserver\\Clients\\Levi"},
    {kOld, kNew}};

void ThreeFolders(benchmark::State& state, TPathRuleKind kind, const std::string& value) {
  TMappingRule rule(kind, kThreeRows);
  std::string result;
  for (auto _ : state) {
    int row = rule.Rewrite(value, result);
    benchmark::DoNotOptimize(row);
    benchmark::DoNotOptimize(result.data());
  }
}

}  // namespace

BENCHMARK_CAPTURE(DocPath, Matching, kDocMatch);
BENCHMARK_CAPTURE(DocPath, MatchingLowerCase, kDocLowerMatch);
BENCHMARK_CAPTURE(DocPath, MatchingHebrew, kDocHebrew);
BENCHMARK_CAPTURE(DocPath, OtherDrive, kDocOtherDrive);
BENCHMARK_CAPTURE(DocPath, NeighbourFolder, kDocNeighbour);

BENCHMARK_CAPTURE(CardFolder, Matching, kCardMatch);
BENCHMARK_CAPTURE(CardFolder, MatchingHebrew, kCardHebrew);
BENCHMARK_CAPTURE(CardFolder, FolderItself, kCardFolderItself);
BENCHMARK_CAPTURE(CardFolder, NeighbourFolder, kCardNeighbour);
BENCHMARK_CAPTURE(CardFolder, OtherServer, kCardOtherServer);

BENCHMARK_CAPTURE(ThreeFolders, DocMatching, TPathRuleKind::DocumentFile, kDocMatch);
BENCHMARK_CAPTURE(ThreeFolders, DocMatchingHebrew, TPathRuleKind::DocumentFile, kDocHebrew);
BENCHMARK_CAPTURE(ThreeFolders, DocOtherDrive, TPathRuleKind::DocumentFile, kDocOtherDrive);
BENCHMARK_CAPTURE(ThreeFolders, DocNeighbourFolder, TPathRuleKind::DocumentFile, kDocNeighbour);
BENCHMARK_CAPTURE(ThreeFolders, CardMatching, TPathRuleKind::CardFolder, kCardMatch);
BENCHMARK_CAPTURE(ThreeFolders, CardOtherServer, TPathRuleKind::CardFolder, kCardOtherServer);
