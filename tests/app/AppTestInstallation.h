// The installation the app tests share: one demo installation for the test program (the main
// connection is process-wide), whose documents and cards each test seeds itself, and the
// platform filled with a scripted UI, fixed system services pointing into it, and the engine.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/support/DemoInstallation.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/FakeUi.h"

class TAppTestInstallation {
 public:
  // The shared installation; the platform is filled afresh (new fake UI and system).
  static TAppTestInstallation& Prepare(const std::string& programName);

  const TDemoInstallation& Demo() const { return demo_; }
  TFakeUi& Ui() const { return *ui_; }
  TFakeSystem& System() const { return *system_; }

  // Replaces every document and card with these (RECID 1, 2, ... in order).
  void Seed(const std::vector<std::string>& documentNames,
            const std::vector<std::string>& cardFolders) const;
  std::vector<std::string> DocumentNames() const;
  // The program's event log as written so far (empty when there is none).
  std::string LogText() const;
  std::vector<std::string> CardFolders() const;
  // Makes every update of the table's record with this RECID fail (an engine error).
  void FailUpdatesOf(const std::string& table, int recid) const;
  void DropFailures() const;

 private:
  TAppTestInstallation();
  TDemoInstallation demo_;
  TFakeUi* ui_ = nullptr;
  TFakeSystem* system_ = nullptr;
  std::string program_;
};

// The SQL text literal of value.
std::string SqlText(const std::string& value);
