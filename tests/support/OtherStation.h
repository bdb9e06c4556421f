// Another station's edits during a pass, made through its own connection as the pass reports
// its first rewrite (after the pass has read the records, before it posts any).
#pragma once

#include <string>
#include <vector>

#include "docpaths/DatDocsDBServices.h"
#include "tests/support/CrmTestInstall.h"

struct TOtherStation : TRewriteObserver {
  TOtherStation(const TCrmTestInstall& install, std::vector<std::string> statements)
      : install_(install), statements_(std::move(statements)) {}
  void Rewritten(const std::string&, const std::string&) override {
    if (done_) return;
    done_ = true;
    auto db = install_.Open();
    for (const std::string& sql : statements_) db->ExecSQL(sql, {});
  }

 private:
  const TCrmTestInstall& install_;
  std::vector<std::string> statements_;
  bool done_ = false;
};
