// The pre-flight report and the survey of the stored folders against the dry run's passes (the
// two passes walking Docs and Cards without posting), in one process on the same demo database,
// one after the other per round. The report and the survey read each table once, like the
// passes, and should each cost at most 1.2 times as much.
//
//   vrl_bench_preflight [--benchmark_repetitions=3] ; VRL_BENCH_DOCS sets the documents
//   (default 1,000,000; the cards are a tenth of them)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "bench/BenchDatabase.h"
#include "docpaths/DatDocsDBServices.h"
#include "docpaths/PreflightReport.h"
#include "docpaths/StoredFolderSurvey.h"
#include "tools/DemoInstall.h"

namespace {

const char* const kOld = "C:\\VarnelDocs";
const char* const kNew = "\\\\fileserver\\Shared\\VarnelDocs";

// A demo installation laid out once for the whole run, with the main connection's module on it.
class TDemoDatabase {
 public:
  TDemoDatabase() {
    const char* docs = std::getenv("VRL_BENCH_DOCS");
    TDemoInstallOptions options;
    options.Documents = docs ? std::atoll(docs) : 1000000;
    options.Cards = options.Documents / 10;
    options.Root = (root_ / "CRM").string();
    Platform().SetSystem(std::make_unique<TPosixSystemServices>());
    Platform().SetEngine(CreateSqliteAceDriver());
    std::ostringstream out, err;
    if (RunDemoInstall(options, out, err) != 0) throw std::runtime_error(err.str());
    module_.DBConnection.ConnectPath = options.Root + "/DB";
  }
  ~TDemoDatabase() {
    module_.DBConnection.SetIsConnected(false);
    std::filesystem::remove_all(root_);
  }

 private:
  std::filesystem::path root_ =
      std::filesystem::temp_directory_path() / ("vrl_preflight_bench_" + std::to_string(getpid()));
  TBenchConnectionDM module_;
};

void DryRunPasses(benchmark::State& state) {
  for (auto _ : state) {
    TDatDocsDBServicesDM module(nullptr);
    TPassResult docs = module.ChangeDocPathInDocs(kOld, kNew, {true, nullptr});
    TPassResult cards = ChangeDocPathInCards(nullptr, kOld, kNew, {true, nullptr});
    benchmark::DoNotOptimize(docs.Rewritten + cards.Rewritten);
    state.counters["documents"] = static_cast<double>(docs.Examined);
  }
}

void PreflightReport(benchmark::State& state) {
  for (auto _ : state) {
    TPreflightReport report = MakePreflightReport(kOld, kNew, {});
    benchmark::DoNotOptimize(report.Docs.WillChange.Count + report.Cards.WillChange.Count);
    state.counters["documents"] = static_cast<double>(report.Docs.Examined);
  }
}

void StoredFolderSurvey(benchmark::State& state) {
  for (auto _ : state) {
    TStoredFolderSurvey survey = SurveyStoredFolders(kDefaultSurveyDepth);
    benchmark::DoNotOptimize(survey.Docs.Folders.Folders().size());
    state.counters["documents"] = static_cast<double>(survey.Docs.Folders.Total());
  }
}

}  // namespace

BENCHMARK(DryRunPasses)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PreflightReport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(StoredFolderSurvey)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TDemoDatabase database;  // laid out once, removed at the end
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
