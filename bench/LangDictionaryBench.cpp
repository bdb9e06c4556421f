// The first GetLangRec of a process: the system language record read from SQLite, split into
// lines and fields, and the dictionary built, for memos of a few MB (tens of thousands of
// records in the 311 buckets). It should stay well under a second: on the shared 2-core build
// machine 4 MB (35,700 records) took about 0.25 s wall, 0.07 s CPU.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchDatabase.h"
#include "settings/DatLangDM_Unit.h"

namespace {

// About bytes of language lines, English and Hebrew texts mixed.
std::string Memo(size_t bytes, size_t& records) {
  std::string memo = R"("LANGID","RECID","HINT","NAME","VALUE","LABEL","COLUMNTITLE")";
  records = 0;
  while (memo.size() < bytes) {
    const std::string id = "REC" + std::to_string(records++);
    memo += "\r\n\"LNGENG\",\"" + id + "\",\"Hint of " + id + ", shown on hover\",\"" + id +
            "\",\"Value " + id + "\",\"תווית " + id + "\",\"כותרת\"";
  }
  return memo;
}

void LoadDictionary(benchmark::State& state) {
  TBenchDatabase database("lang");
  size_t records = 0;
  const std::string memo = Memo(static_cast<size_t>(state.range(0)) << 20, records);
  database.Open()->ExecSQL(
      "INSERT INTO SysRec (RECID, MEMO) VALUES ('SYSRECLANGENGZZZZZZZ', :Memo)", {{"Memo", memo}});
  database.CreateMainConnection();
  const std::string last = "rec" + std::to_string(records - 1);
  for (auto _ : state) {
    TLangRec rec;
    GetLangRec(last, rec);
    if (rec.VALUE.empty()) state.SkipWithError("the last record was not loaded");
    state.PauseTiming();
    FreeLangDictionary();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * memo.size()));
  state.counters["records"] = static_cast<double>(records);
  FreeDatLangDM();
}

}  // namespace

BENCHMARK(LoadDictionary)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
