// What the pass tests share: rows to fill a table with, a trigger refusing one record, an
// observer recording what a pass reports, the window as sender, and the fixture.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "docpaths/DatDocsDBServices.h"
#include "tests/support/CrmTestInstall.h"

inline const char* const kNull = "<NULL>";

// Rows of one text column (kNull: NULL) with RECIDs R01.. in rowid order.
inline void Fill(const TCrmTestInstall& install, const std::string& table,
                 const std::string& column, const std::vector<std::string>& values) {
  auto db = install.Open();
  int n = 0;
  for (const std::string& value : values) {
    std::string id = "R" + std::to_string(10 + ++n);
    if (value == kNull)
      db->ExecSQL("INSERT INTO " + table + " (RECID) VALUES (:Id)", {{"Id", id}});
    else
      db->ExecSQL("INSERT INTO " + table + " (RECID, " + column + ") VALUES (:Id, :V)",
                  {{"Id", id}, {"V", value}});
  }
}

inline void RefuseUpdateOf(const TCrmTestInstall& install, const std::string& table,
                           const std::string& recid) {
  install.Open()->ExecSQL("CREATE TRIGGER Refuse" + table + " BEFORE UPDATE ON " + table +
                              " WHEN OLD.RECID = '" + recid +
                              "' BEGIN SELECT RAISE(ABORT, 'record is locked'); END",
                          {});
}

struct TRecorder : TRewriteObserver {
  std::vector<std::pair<int64_t, int64_t>> progress;
  std::vector<std::pair<std::string, std::string>> rewrites;
  void Progress(int64_t done, int64_t total) override { progress.emplace_back(done, total); }
  void Rewritten(const std::string& o, const std::string& n) override {
    rewrites.emplace_back(o, n);
  }
};

struct TWindow : TComponent {
  TWindow() : TComponent(nullptr, "ChangePathForDocsFrm") {}
  std::string ClassName() const override { return "TChangePathForDocsFrm"; }
};

class DocPathPasses : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(MainConnectionIsOpen()); }
  TPassResult Docs(const std::string& oldPath, const std::string& newPath,
                   const TPassOptions& options = {}) {
    TDatDocsDBServicesDM module(nullptr);
    return module.ChangeDocPathInDocs(oldPath, newPath, options);
  }
  TCrmTestInstall install;
  TWindow window;
};
