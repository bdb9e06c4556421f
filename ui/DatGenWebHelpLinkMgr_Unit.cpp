#include "ui/DatGenWebHelpLinkMgr_Unit.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "common/BuildLanguage.h"
#include "common/FileUtils.h"
#include "common/StrUtils.h"
#include "common/SysUtils.h"
#include "host/SysFolders.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"
#include "ui/GenMsg_Unit.h"
#include "ui/OnlineLinkFlags.h"

namespace {
const char* const LinksFile = "vrllnks.vrl";
const char* const NoLinksFileText = "לא נמצא קובץ הלינקים";
const char* const NoLinkText = "לא נמצא הלינק המבוקש";
const char* const ContextToken = "*VrlToken*";
constexpr int64_t OnlineLinksFrom = 600000000;
constexpr int64_t OnlineLinksTo = 700000000;

// Freed by FreeWebHelpLinkMgr, never by static destruction.
TWebHelpLinkMgr* Manager = nullptr;

// The file's bytes; empty when it cannot be read.
std::string ReadContent(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

// The lines of the file's text: a UTF-8 byte-order mark dropped, "\r\n", "\n" and "\r" ending
// lines.
std::vector<std::string> SplitLines(std::string content) {
  if (content.rfind("\xEF\xBB\xBF", 0) == 0) content.erase(0, 3);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    const size_t end = content.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(content.substr(start));
      break;
    }
    lines.push_back(content.substr(start, end - start));
    start = end + 1;
    if (content[end] == '\r' && start < content.size() && content[start] == '\n') ++start;
  }
  return lines;
}

// The link number of a line: the part before the first "=" as a 32-bit integer, 0 when it is
// none.
int32_t LinkNumber(const std::string& name) {
  int64_t value = 0;
  if (!TryStrToInt(name, value) || value < INT32_MIN || value > INT32_MAX) return 0;
  return static_cast<int32_t>(value);
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  return text;
}

}  // namespace

TWebHelpLinkMgr::TWebHelpLinkMgr() {
  extractor_.SetDelimiters("\"", ",");
  extractor_.OnField = [this](TFieldsExtractor& sender, int fieldNo, const std::string& text) {
    StoreLinkField(sender, fieldNo, text);
  };
}

std::string TWebHelpLinkMgr::LinksFileName() {
  return DBSysFolder() + LinksFile;
}

void TWebHelpLinkMgr::Load() {
  try {
    const std::string file = LinksFileName();
    const size_t lineCount = LoadText(FileExists(file) ? ReadContent(file) : std::string());
    if (Links.empty())
      LogEvent("Load",
               std::to_string(lineCount) + " " + std::to_string(lineCount) + DiagnosticText());
  } catch (const std::exception& e) {
    LogEventEx(this, ".Load", {}, &e);
  }
}

size_t TWebHelpLinkMgr::LoadText(const std::string& content) {
  ClearOnlineLinks();
  Rules.clear();
  Links.clear();
  const std::vector<std::string> lines = SplitLines(content);
  for (const std::string& raw : lines) {
    const std::string line = Trim(raw);
    const size_t equals = line.find('=');
    const std::string name = equals == std::string::npos ? std::string() : line.substr(0, equals);
    const int32_t number = LinkNumber(name);
    if (number != 0) {
      auto item = std::make_unique<TWebHelpLinkItem>();
      item->Id = number;
      Links.emplace_back(name, std::move(item));
      std::string fields = line.substr(equals + 1);
      if (fields.empty() || fields.back() != ',') fields += ',';
      extractor_.ExtractFieldsFromRec(fields);
      if (number > OnlineLinksFrom && number < OnlineLinksTo && !IsOnlineLink(number))
        RegisterOnlineLink(number, Links.back().second->LinkAddress);
    } else if (!line.empty() && line[0] != ';' && line[0] != '[') {
      Rules.push_back(line);
    }
  }
  return lines.size();
}

void TWebHelpLinkMgr::StoreLinkField(TFieldsExtractor&, int fieldNumber, const std::string& text) {
  if (Links.empty()) return;
  TWebHelpLinkItem& item = *Links.back().second;
  switch (fieldNumber) {
    case 1:
      item.LinkAddress = text;
      break;
    case 2:
      item.Caption = text;
      break;
    case 3:
      item.Hint = text;
      break;
    case 4:
      item.Extra = text;
      break;
    case 5:
      item.TokenKinds = text;
      break;
    default:
      break;
  }
}

bool TWebHelpLinkMgr::GetLinkItemDtlById(int id, bool showErrors, const TWebHelpLinkItem*& item) {
  item = nullptr;
  std::string shown;
  if (Links.empty()) {
    if (showErrors) shown = NoLinksFileText;
  } else {
    const std::string key = std::to_string(id);
    for (const auto& [name, link] : Links) {
      if (name != key) continue;
      item = link.get();
      return true;
    }
    if (showErrors) shown = NoLinkText;
  }
  if (!shown.empty()) GenShowMessage(shown);
  LogEvent("GetLinkItemDtlById",
           std::to_string(id) + " " + shown + " " + BoolToYN(showErrors) + " " + DiagnosticText());
  return false;
}

bool TWebHelpLinkMgr::GetLinkAddress(int id, bool showErrors, std::string& address) {
  const TWebHelpLinkItem* item = nullptr;
  if (!GetLinkItemDtlById(id, showErrors, item)) return false;
  address = item->LinkAddress;
  return true;
}

bool TWebHelpLinkMgr::GetTokenKinds(int id, std::string& kinds) {
  const TWebHelpLinkItem* item = nullptr;
  if (!GetLinkItemDtlById(id, false, item)) return false;
  kinds = item->TokenKinds;
  return true;
}

bool TWebHelpLinkMgr::RuleValue(const std::string& name, std::string& value) const {
  for (const std::string& rule : Rules) {
    const size_t equals = rule.find('=');
    if (equals == std::string::npos || !SameText(rule.substr(0, equals), name)) continue;
    value = rule.substr(equals + 1);
    return true;
  }
  return false;
}

std::string TWebHelpLinkMgr::InsertContext(int id, const TWebHelpLinkGuiItem* guiItem,
                                           const std::string& address) {
  TokenList.clear();
  std::string kinds;
  if (!guiItem || !GetTokenKinds(id, kinds) || kinds.empty()) return address;
  std::string text = guiItem->ContextText;
  while (!kinds.empty()) TokenList.push_back(SplitOff(kinds, ";"));

  const std::string key = std::to_string(id);
  std::string marker;
  if (RuleValue("From-" + key, marker) && !marker.empty()) {
    const size_t at = UpperCase(text).find(UpperCase(marker));
    if (at != std::string::npos) {
      const size_t from = at + marker.size() + 1;
      text = Trim(from < text.size() ? text.substr(from) : std::string());
    }
  }
  std::string removed;
  if (RuleValue("Remove-" + key, removed) && !removed.empty() &&
      UpperCase(text).find(UpperCase(removed)) != std::string::npos)
    text = ReplaceAll(text, removed, "");

  std::string result = address;
  for (const std::string& kind : TokenList)
    if (kind == "1") result = ReplaceAll(result, ContextToken, UrlEscape(text));
  return result;
}

void TWebHelpLinkMgr::OpenLink(int id, const std::string& defaultAddress,
                               const TWebHelpLinkGuiItem* guiItem) {
  std::string address;
  if (!GetLinkAddress(id, defaultAddress.empty(), address) && !defaultAddress.empty())
    address = defaultAddress;
  address = InsertContext(id, guiItem, address);
  if (address.empty()) return;
  if (!IsOpenableLinkAddress(address)) {
    LogEvent("OpenLink", "Refused link " + std::to_string(id) + ": " + address);
    return;
  }
  Platform().System().ShellOpen(address);
}

void TWebHelpLinkMgr::LinkLabelClick(const TObject* sender) {
  const auto* control = dynamic_cast<const TDialogControl*>(sender);
  if (!control) return;
  const auto* label = dynamic_cast<const TVrlHelpLbl*>(control);
  OpenLink(control->Tag, {}, label ? label->FVrlOwner : nullptr);
}

void TWebHelpLinkMgr::BindLinkControl(TDialogControl& control) {
  const TWebHelpLinkItem* item = nullptr;
  if (!GetLinkItemDtlById(control.Tag, false, item)) return;
  control.Caption = item->Caption;
  control.Hint = item->Hint;
}

std::unique_ptr<TWebHelpLinkGuiItem> TWebHelpLinkMgr::CreateGuiItem(TDialogForm& form,
                                                                    TDialogControl* host,
                                                                    int linkId, unsigned flags) {
  return std::make_unique<TWebHelpLinkGuiItem>(
      form, host, linkId, flags, [this](TDialogControl& control) { BindLinkControl(control); },
      [this](TVrlHelpLbl& label) { LinkLabelClick(&label); });
}

std::string TWebHelpLinkMgr::DiagnosticText() const {
  const std::string file = LinksFileName();
  const bool exists = FileExists(file);
  std::string list;
  for (const auto& link : Links) list += link.first + "\r\n";
  return "\r\n" + std::to_string(Links.size()) + " " + file + " " + BoolToYN(exists) + " " +
         "\r\n" + "File:" + "\r\n" +
         (exists ? JoinLines(SplitLines(ReadContent(file))) : std::string()) + "\r\n" +
         "List:" + "\r\n" + list + "\r\n";
}

bool IsOpenableLinkAddress(const std::string& address) {
  const std::string upper = UpperCase(address);
  return upper.rfind("HTTP://", 0) == 0 || upper.rfind("HTTPS://", 0) == 0 ||
         upper.rfind("MAILTO:", 0) == 0;
}

void InitGuiCtrl(TDialogForm& form, TDialogControl* host, int linkId,
                 std::unique_ptr<TWebHelpLinkGuiItem>& item, unsigned flags) {
  if (item) return;
  try {
    if (!(flags & hlAnyLanguage) && GetLangId() != kEnglishLangId) return;
    if (!Manager) {
      Manager = new TWebHelpLinkMgr;
      Manager->Load();
    }
    item = Manager->CreateGuiItem(form, host, linkId, flags);
  } catch (const std::exception& e) {
    LogEventEx(nullptr, ".InitGuiCtrl", {}, &e);
    item.reset();
  }
}

bool LinkManagerAvailable(const std::string&, int) {
  return Manager != nullptr;
}

TWebHelpLinkMgr* WebHelpLinkMgr() {
  return Manager;
}

void FreeWebHelpLinkMgr() {
  delete Manager;
  Manager = nullptr;
}
