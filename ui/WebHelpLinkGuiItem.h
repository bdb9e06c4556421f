// A help link placed on a form: a link label (TVrlHelpLbl) on a host control, which is either
// a panel the item creates itself or a control handed in. The item sizes the host to the
// label's caption and keeps the label centred in it.
#pragma once

#include <functional>
#include <string>

#include "platform/DialogForm.h"

class TWebHelpLinkGuiItem;

// Creation flags of a help link item.
constexpr unsigned hlKeepFirstChildRight = 2;  // handed-in host: first child keeps its right gap
constexpr unsigned hlAlignTop = 4;             // own panel on top of the form, height 21
constexpr unsigned hlAlignBottom = 8;          // own panel at the bottom of the form, height 21
constexpr unsigned hlUnaligned = 16;           // own panel not aligned, height 21
constexpr unsigned hlTopRight = 32;            // not aligned, top 10, 5 pixels from the right
constexpr unsigned hlAnyLanguage = 64;         // created whatever the program's language

// The link label: underlined, in the link colour, with a hand cursor and its tooltip; its Tag
// holds the link number.
class TVrlHelpLbl : public TDialogControl {
 public:
  TVrlHelpLbl(TDialogForm& form, TDialogControl* host, TWebHelpLinkGuiItem* owner)
      : TDialogControl(form, TDialogControlKind::LinkLabel, {}, host), FVrlOwner(owner) {}
  std::string ClassName() const override { return "TVrlHelpLbl"; }
  std::string UnitName() const override { return "DatGenWebHelpLinkMgr_Unit"; }

  TWebHelpLinkGuiItem* FVrlOwner;
};

class TWebHelpLinkGuiItem {
 public:
  using TBinder = std::function<void(TDialogControl& control)>;
  using TClick = std::function<void(TVrlHelpLbl& label)>;

  // host none: the item creates its own panel on form.
  TWebHelpLinkGuiItem(TDialogForm& form, TDialogControl* host, int linkId, unsigned flags,
                      TBinder binder, TClick onClick, int extraWidth = 0);
  // Frees the label, and the host when the item created it.
  ~TWebHelpLinkGuiItem();
  TWebHelpLinkGuiItem(const TWebHelpLinkGuiItem&) = delete;
  TWebHelpLinkGuiItem& operator=(const TWebHelpLinkGuiItem&) = delete;

  // Puts the host directly on the form (the item's own form), then lays out.
  void Attach(TDialogForm& form);
  void SetLinkId(int id);
  void SetAlign(TAlign alignment);
  void SetTop(int value);
  void SetLeft(int value);
  void SetHeight(int value);
  TControl* HostParent() const;
  int HostWidth() const { return Host->Bounds.Width; }
  int HostHeight() const { return Host->Bounds.Height; }

  TDialogForm* Form;
  TDialogControl* Host;
  bool OwnsHost;
  TVrlHelpLbl* Label = nullptr;
  TBinder Binder;
  int ExtraWidth;
  int Top = 0;
  int Left = 0;
  int Height = 0;
  unsigned Flags;
  // The text of the message the item belongs to.
  std::string ContextText;

 private:
  void Layout();
  void Realign();
};
