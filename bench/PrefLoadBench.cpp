// SetTokenDataForUser over a Pref table of 100,000 rows: the query, the conversion of every
// value by its type letter, the catalogue look-up and the completion (the user "dana" reads about
// three quarters of the rows). It should stay well under a second: on the shared 2-core build
// machine (load average 20) one load of 100,000 rows took about 0.16-0.18 s CPU, 0.6-0.75 s wall.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchDatabase.h"
#include "common/FormatSettings.h"
#include "host/FormatSetup.h"
#include "settings/DatPrefDM_Unit.h"
#include "settings/PrefCatalogue.h"
#include "settings/SetTokenDataForUser.h"

namespace {

// A value of the entry's kind, written as its type letter reads it.
std::pair<const char*, std::string> TypedValue(TPrefKind kind, int row) {
  switch (kind) {
    case TPrefKind::i:
    case TPrefKind::e:
      return {"I", std::to_string(row % 1000)};
    case TPrefKind::b:
      return {"B", row % 2 ? "Y" : "N"};
    case TPrefKind::f:
      return {"N", std::to_string(row % 100) + ".25"};
    default:
      return {"A", "C:\\VarnelDocs\\value " + std::to_string(row)};
  }
}

void FillPref(TAceConnection& db, int rows) {
  const auto catalogue = PrefCatalogue();
  const char* levels[] = {"-2", "-1", "DANA", "yossi"};
  db.BeginTransaction();
  for (int row = 0; row < rows; ++row) {
    const TPrefCatalogueEntry& entry = catalogue[row % catalogue.size()];
    const std::string token = std::string(entry.Name).find('%') != std::string::npos
                                  ? "GEN_HELP_LINKS_LNGENG"
                                  : std::string(entry.Name);
    auto [type, value] = TypedValue(entry.Kind, row);
    db.ExecSQL(
        "INSERT INTO Pref (RECID, USER_ID, TOKEN, TOKENTYPE, VALUE) VALUES (:R, :U, :T, "
        ":Y, :V)",
        {{"R", "P" + std::to_string(row)},
         {"U", levels[row % 4]},
         {"T", token},
         {"Y", type},
         {"V", value}});
  }
  db.Commit();
}

void LoadPreferences(benchmark::State& state) {
  TBenchDatabase database("pref");
  InitFormatSettings();
  FillPref(*database.Open(), static_cast<int>(state.range(0)));
  database.CreateMainConnection();
  for (auto _ : state)
    if (SetTokenDataForUser("dana") != stdLoaded) state.SkipWithError("the load failed");
  state.SetItemsProcessed(state.iterations() * state.range(0));
  FreeDatPrefDM();
}

}  // namespace

BENCHMARK(LoadPreferences)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
