// Online help links. Every link is a number; its address, caption and tooltip live in the
// links file "vrllnks.vrl" in DBSysFolder, so links change without rebuilding the programs. The
// manager loads that file, answers look-ups by number, creates link labels on forms and opens a
// link through the desktop's opener, with the text of the message it belongs to inserted into
// the address when the link asks for it. Only web and mail addresses (http, https, mailto) are
// opened: the file lies in a shared folder, and anything else handed to the opener could start
// a local program; such a link is refused and written to the event log.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/Classes.h"
#include "ui/FieldsExtractor.h"
#include "ui/WebHelpLinkGuiItem.h"

struct TWebHelpLinkItem {
  std::string Extra;
  std::string Caption;
  std::string Hint;
  int32_t Id = 0;
  std::string LinkAddress;
  std::string TokenKinds;  // ";"-separated; kind "1" inserts the message text
};

class TWebHelpLinkMgr : public TObject {
 public:
  TWebHelpLinkMgr();
  std::string ClassName() const override { return "TWebHelpLinkMgr"; }
  std::string UnitName() const override { return "DatGenWebHelpLinkMgr_Unit"; }

  // (Re)reads the links file; what was read before an error stays.
  void Load();
  // Load's work on the file's text: the links, rules and online links it holds replace those
  // read before. Answers the number of lines.
  size_t LoadText(const std::string& content);
  // False when the link is unknown; with showErrors the user is told why.
  bool GetLinkItemDtlById(int id, bool showErrors, const TWebHelpLinkItem*& item);
  bool GetLinkAddress(int id, bool showErrors, std::string& address);
  bool GetTokenKinds(int id, std::string& kinds);
  // Opens link id (defaultAddress when it is unknown), with the context of guiItem inserted.
  void OpenLink(int id, const std::string& defaultAddress, const TWebHelpLinkGuiItem* guiItem);
  void LinkLabelClick(const TObject* sender);
  // Gives a control whose Tag names a known link that link's caption and tooltip.
  void BindLinkControl(TDialogControl& control);
  void StoreLinkField(TFieldsExtractor& extractor, int fieldNumber, const std::string& text);
  std::unique_ptr<TWebHelpLinkGuiItem> CreateGuiItem(TDialogForm& form, TDialogControl* host,
                                                     int linkId, unsigned flags);
  // The manager's state for the event log: links, file name and existence, content, list.
  std::string DiagnosticText() const;
  static std::string LinksFileName();

  // (number as written in the file, link), in file order.
  std::vector<std::pair<std::string, std::unique_ptr<TWebHelpLinkItem>>> Links;
  // The "From-" and "Remove-" rules, as written.
  std::vector<std::string> Rules;
  std::vector<std::string> TokenList;

 private:
  // The value of rule name ("From-12"), found by name without regard to case.
  bool RuleValue(const std::string& name, std::string& value) const;
  std::string InsertContext(int id, const TWebHelpLinkGuiItem* guiItem, const std::string& address);

  TFieldsExtractor extractor_;
};

// Creates a help link item on form (host none: its own panel) when item is not set yet: only
// for the language "LNGENG" unless flags hold hlAnyLanguage. Creates and loads the manager on
// first use. Errors are logged; no item results.
void InitGuiCtrl(TDialogForm& form, TDialogControl* host, int linkId,
                 std::unique_ptr<TWebHelpLinkGuiItem>& item, unsigned flags);
// True when the manager exists.
bool LinkManagerAvailable(const std::string& text, int linkId);
// The manager, none until InitGuiCtrl creates it.
TWebHelpLinkMgr* WebHelpLinkMgr();
// Frees the manager (end of the process, or between tests).
void FreeWebHelpLinkMgr();
// True for an address the manager hands to the desktop's opener: http://, https:// or mailto:.
bool IsOpenableLinkAddress(const std::string& address);
