#include "platform/console/ConsoleUiServices.h"

#include <filesystem>
#include <istream>
#include <ostream>

#include "common/SysUtils.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

TConsoleUiServices::TConsoleUiServices(std::istream& in, std::ostream& out, std::ostream& err,
                                       TConsoleUiOptions options)
    : in_(in), out_(out), err_(err), options_(options) {}

void TConsoleUiServices::ShowMessage(const std::string& text, TMessageKind kind) {
  if (kind == TMessageKind::mkInformation)
    out_ << text << std::endl;
  else
    TellProblem(text);
}

void TConsoleUiServices::ShowError(const std::string& text) {
  TellProblem(text);
}

void TConsoleUiServices::TellProblem(const std::string& text) {
  err_ << text << std::endl;
  if (options_.Told) options_.Told(text);
}

bool TConsoleUiServices::ConfirmYesNo(const std::string& text) {
  refusedWithoutTerminal_ = false;
  if (options_.AssumeYes) return true;
  if (!options_.InputIsTerminal) {
    err_ << text << std::endl;
    TellProblem("No terminal to answer on: nothing was changed. Run with --yes to confirm.");
    refusedWithoutTerminal_ = true;
    return false;
  }
  out_ << text << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(in_, answer)) {
    out_ << std::endl;
    return false;
  }
  answer = Trim(answer);
  return SameText(answer, "y") || SameText(answer, "yes");
}

bool TConsoleUiServices::BrowseForFolder(const TBrowseRequest&, std::string&) {
  return false;  // no folder browser on a terminal: as if cancelled
}

void TConsoleUiServices::RegisterForm(const std::string& formName, std::string text) {
  forms_[formName] = std::move(text);
}

bool TConsoleUiServices::ShowForm(const std::string& formName) {
  auto it = forms_.find(formName);
  if (it == forms_.end()) return false;
  err_ << it->second << std::endl;
  return true;
}

std::string TConsoleUiServices::ApplicationTitle() {
  return std::filesystem::path(Platform().System().ProgramPath()).stem().string();
}
