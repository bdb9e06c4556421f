#include "platform/console/ConsoleUiServices.h"

#include <filesystem>
#include <istream>
#include <ostream>

#include "common/SysUtils.h"
#include "platform/Platform.h"
#include "platform/RemoteControlNotice.h"
#include "platform/SystemServices.h"

namespace {
std::string Lowered(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}
}  // namespace

TConsoleUiServices::TConsoleUiServices(std::istream& in, std::ostream& out, std::ostream& err,
                                       TConsoleUiOptions options)
    : in_(in), out_(out), err_(err), options_(options) {}

void TConsoleUiServices::AddFailureText(const std::string& text) {
  if (!text.empty()) failureTexts_.push_back(text);
}

bool TConsoleUiServices::IsFailureText(const std::string& text) const {
  if (failuresOnly_) return true;
  for (const std::string& failure : failureTexts_)
    if (text.compare(0, failure.size(), failure) == 0) return true;
  return false;
}

void TConsoleUiServices::ShowMessage(const std::string& text) {
  (IsFailureText(text) ? err_ : out_) << text << std::endl;
}

void TConsoleUiServices::ShowError(const std::string& text) {
  err_ << text << std::endl;
}

bool TConsoleUiServices::ConfirmYesNo(const std::string& text) {
  refusedWithoutTerminal_ = false;
  if (options_.AssumeYes) return true;
  if (!options_.InputIsTerminal) {
    err_ << text << std::endl
         << "No terminal to answer on: nothing was changed. Run with --yes to confirm."
         << std::endl;
    refusedWithoutTerminal_ = true;
    return false;
  }
  out_ << text << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(in_, answer)) {
    out_ << std::endl;
    return false;
  }
  answer = Lowered(Trim(answer));
  return answer == "y" || answer == "yes";
}

bool TConsoleUiServices::BrowseForFolder(const TBrowseRequest&, std::string&) {
  return false;  // no folder browser on a terminal: as if cancelled
}

void TConsoleUiServices::ShowRemoteControlNotice() {
  err_ << RemoteControlNoticeLine1 << "\n"
       << RemoteControlNoticeLine2 << "\n"
       << RemoteControlNoticeLine3 << "\n"
       << RemoteControlGuideUrl << std::endl;
}

std::string TConsoleUiServices::ApplicationTitle() {
  return std::filesystem::path(Platform().System().ProgramPath()).stem().string();
}
