// The help links file (vrllnks.vrl) on any text: each line is a link, a rule or nothing, never
// more items than lines; a link's number is the number its name spells; the online links are
// the distinct numbers of their range, each with its first address; and the links and rules
// read, written out again as a links file, read back the same. Input: the file's text.
#include <algorithm>

#include "common/SysUtils.h"
#include "tests/fuzz/targets/FuzzSupport.h"
#include "ui/DatGenWebHelpLinkMgr_Unit.h"
#include "ui/OnlineLinkFlags.h"

namespace {

bool HasLineEnd(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

void CheckLoaded(const TWebHelpLinkMgr& mgr, size_t lines) {
  FUZZ_CHECK(mgr.Links.size() + mgr.Rules.size() <= lines);
  std::vector<std::pair<std::string, std::string>> online;
  for (const auto& [name, item] : mgr.Links) {
    int64_t number = 0;
    FUZZ_CHECK(TryStrToInt(name, number) && number == item->Id && item->Id != 0);
    FUZZ_CHECK(name.find('=') == std::string::npos);
    for (const std::string* field :
         {&item->LinkAddress, &item->Caption, &item->Hint, &item->Extra, &item->TokenKinds})
      FUZZ_CHECK(!HasLineEnd(*field));
    const std::string id = std::to_string(item->Id);
    if (item->Id > 600000000 && item->Id < 700000000 &&
        std::none_of(online.begin(), online.end(), [&](const auto& e) { return e.first == id; }))
      online.emplace_back(id, item->LinkAddress);
  }
  FUZZ_CHECK(OnlineLinkFlags().Entries() == online);
  for (const std::string& rule : mgr.Rules)
    FUZZ_CHECK(!rule.empty() && rule[0] != ';' && rule[0] != '[' && !HasLineEnd(rule));
}

// The links and rules as a links file: fields between quotes, one link or rule a line. Empty
// when a field holds a quote, which the file has no way to write.
std::string Written(const TWebHelpLinkMgr& mgr) {
  // A comment first, so that no link or rule begins the file where a byte-order mark is dropped.
  std::string text = "; written again\r\n";
  for (const auto& [name, item] : mgr.Links) {
    text += name + "=";
    for (const std::string* field :
         {&item->LinkAddress, &item->Caption, &item->Hint, &item->Extra, &item->TokenKinds}) {
      if (field->find('"') != std::string::npos) return {};
      text += "\"" + *field + "\",";
    }
    text += "\r\n";
  }
  for (const std::string& rule : mgr.Rules) text += rule + "\r\n";
  return text;
}

bool SameLinks(const TWebHelpLinkMgr& a, const TWebHelpLinkMgr& b) {
  if (a.Links.size() != b.Links.size() || a.Rules != b.Rules) return false;
  for (size_t i = 0; i < a.Links.size(); ++i) {
    const TWebHelpLinkItem& x = *a.Links[i].second;
    const TWebHelpLinkItem& y = *b.Links[i].second;
    if (a.Links[i].first != b.Links[i].first || x.Id != y.Id || x.LinkAddress != y.LinkAddress ||
        x.Caption != y.Caption || x.Hint != y.Hint || x.Extra != y.Extra ||
        x.TokenKinds != y.TokenKinds)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TWebHelpLinkMgr mgr;
  CheckLoaded(mgr, mgr.LoadText(FuzzText(data, size)));
  const std::string text = Written(mgr);
  if (!text.empty()) {
    TWebHelpLinkMgr again;
    CheckLoaded(again, again.LoadText(text));
    FUZZ_CHECK(SameLinks(mgr, again));
  }
  FreeOnlineLinkFlags();
  return 0;
}
