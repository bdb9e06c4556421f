#include "tests/app/AppTestInstallation.h"

#include "common/SysFolders.h"
#include "platform/Platform.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"

std::string SqlText(const std::string& value) {
  std::string quoted = "'";
  for (char c : value) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

TAppTestInstallation::TAppTestInstallation() : demo_({"--documents", "0", "--cards", "0"}) {}

TAppTestInstallation& TAppTestInstallation::Prepare(const std::string& programName) {
  // One engine for the whole run: the process-wide main connection was opened through it.
  static const bool engineSet = (Platform().SetEngine(CreateSqliteAceDriver()), true);
  (void)engineSet;
  static TAppTestInstallation installation;
  auto ui = std::make_unique<TFakeUi>();
  auto system = std::make_unique<TFakeSystem>();
  installation.ui_ = ui.get();
  installation.system_ = system.get();
  installation.program_ = programName;
  system->ProgramFile = system->ModulePath = (installation.demo_.Utils() / programName).string();
  Platform().SetUi(std::move(ui));
  Platform().SetSystem(std::move(system));
  LoadSystemFolderDefaults();
  installation.DropFailures();
  return installation;
}

void TAppTestInstallation::Seed(const std::vector<std::string>& documentNames,
                                const std::vector<std::string>& cardFolders) const {
  demo_.Exec("DELETE FROM Docs");
  demo_.Exec("DELETE FROM Cards");
  int recid = 0;
  for (const std::string& name : documentNames)
    demo_.Exec("INSERT INTO Docs (RECID, DOCUMENT_NAME) VALUES (" + std::to_string(++recid) + ", " +
               SqlText(name) + ")");
  recid = 0;
  for (const std::string& folder : cardFolders)
    demo_.Exec("INSERT INTO Cards (RECID, COMPANY, DOCSFOLDER) VALUES (" + std::to_string(++recid) +
               ", 'Company', " + SqlText(folder) + ")");
}

std::vector<std::string> TAppTestInstallation::DocumentNames() const {
  return demo_.Column("SELECT DOCUMENT_NAME FROM Docs ORDER BY rowid");
}

std::vector<std::string> TAppTestInstallation::CardFolders() const {
  return demo_.Column("SELECT DOCSFOLDER FROM Cards ORDER BY rowid");
}

void TAppTestInstallation::FailUpdatesOf(const std::string& table, int recid) const {
  demo_.Exec("CREATE TRIGGER Fail" + table + " BEFORE UPDATE ON " + table +
             " WHEN OLD.RECID = " + SqlText(std::to_string(recid)) +
             " BEGIN SELECT RAISE(ABORT, 'record " + std::to_string(recid) + " is locked'); END");
}

void TAppTestInstallation::DropFailures() const {
  demo_.Exec("DROP TRIGGER IF EXISTS FailDocs");
  demo_.Exec("DROP TRIGGER IF EXISTS FailCards");
}

std::string TAppTestInstallation::LogText() const {
  return FileBytes(demo_.Root() / "Logs" / ("UserLog_" + program_ + ".TXT"));
}
