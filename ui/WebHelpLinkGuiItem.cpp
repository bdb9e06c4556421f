#include "ui/WebHelpLinkGuiItem.h"

#include "ui/MessageLayout.h"

namespace {
constexpr int PanelHeight = 21;
constexpr int LabelPadding = 14;

TDialogControl* FirstChild(TDialogForm& form, const TDialogControl* host,
                           const TDialogControl* except) {
  for (const auto& control : form.Controls())
    if (control->ParentControl() == host && control.get() != except) return control.get();
  return nullptr;
}
}  // namespace

TWebHelpLinkGuiItem::TWebHelpLinkGuiItem(TDialogForm& form, TDialogControl* host, int linkId,
                                         unsigned flags, TBinder binder, TClick onClick,
                                         int extraWidth)
    : Form(&form),
      Host(host),
      OwnsHost(host == nullptr),
      Binder(std::move(binder)),
      ExtraWidth(host ? extraWidth : 0),
      Flags(flags) {
  if (!Host) {
    Host = &form.AddControl(TDialogControlKind::Panel, {});
    Host->Bounds.Height = form.ClientHeight;
    Host->Align = TAlign::alRight;
    if (flags & hlAlignTop) Host->Align = TAlign::alTop;
    if (flags & hlAlignBottom) Host->Align = TAlign::alBottom;
    if (flags & (hlAlignTop | hlAlignBottom)) Host->Bounds.Height = PanelHeight;
  }
  auto label = std::make_unique<TVrlHelpLbl>(form, Host, this);
  Label = &static_cast<TVrlHelpLbl&>(form.AddControl(std::move(label)));
  Label->OnClick = [this, onClick = std::move(onClick)] {
    if (onClick) onClick(*Label);
  };
  SetLinkId(linkId);
  if (flags & (hlUnaligned | hlTopRight)) {
    Host->Align = TAlign::alNone;
    Host->Bounds.Height = PanelHeight;
    if (flags & hlTopRight) {
      Host->Bounds.Top = 10;
      Host->Bounds.Left = form.ClientWidth - Host->Bounds.Width - 5;
    }
    Layout();
  }
}

TWebHelpLinkGuiItem::~TWebHelpLinkGuiItem() {
  try {
    Form->RemoveControl(Label);
    if (OwnsHost) Form->RemoveControl(Host);
  } catch (...) {
    // Freeing a link never fails its form.
  }
}

void TWebHelpLinkGuiItem::Attach(TDialogForm& form) {
  if (&form == Form) Host->SetParentControl(nullptr);
  Layout();
}

void TWebHelpLinkGuiItem::SetLinkId(int id) {
  if (Label->Tag == id) return;
  TDialogControl* first =
      (Flags & hlKeepFirstChildRight) && !OwnsHost ? FirstChild(*Form, Host, Label) : nullptr;
  const int rightGap = first ? Host->Bounds.Width - first->Bounds.Left : 0;
  Label->Tag = id;
  if (Binder) Binder(*Label);
  Layout();
  if (first) first->Bounds.Left = Host->Bounds.Width - rightGap;
}

void TWebHelpLinkGuiItem::SetAlign(TAlign alignment) {
  Host->Align = alignment;
  Layout();
}

void TWebHelpLinkGuiItem::SetTop(int value) {
  Host->Bounds.Top = Top = value;
  Layout();
}

void TWebHelpLinkGuiItem::SetLeft(int value) {
  Host->Bounds.Left = Left = value;
  Layout();
}

void TWebHelpLinkGuiItem::SetHeight(int value) {
  Host->Bounds.Height = Height = value;
  Layout();
}

TControl* TWebHelpLinkGuiItem::HostParent() const {
  return Host->Parent();
}

void TWebHelpLinkGuiItem::Layout() {
  TDialogFont font = Form->Font;
  font.Underline = true;
  const TTextExtent size = MeasureDialogText(font, Label->Caption, 0);
  Label->Bounds.Width = size.Width;
  Label->Bounds.Height = size.Height;
  if (OwnsHost) {
    Host->Bounds.Width = size.Width + LabelPadding;
    Realign();
    Label->Bounds.Left = (Host->Bounds.Width - size.Width) / 2;
  } else {
    Host->Bounds.Width = size.Width + LabelPadding + ExtraWidth;
    Label->Bounds.Left = 5;
  }
  Label->Bounds.Top = (Host->Bounds.Height - size.Height) / 2;
}

// An aligned panel takes its place along the form's edge.
void TWebHelpLinkGuiItem::Realign() {
  TRect& b = Host->Bounds;
  switch (Host->Align) {
    case TAlign::alTop:
    case TAlign::alBottom:
      b.Left = 0;
      b.Width = Form->ClientWidth;
      b.Top = Host->Align == TAlign::alTop ? 0 : Form->ClientHeight - b.Height;
      break;
    case TAlign::alRight:
    case TAlign::alLeft:
      b.Top = 0;
      b.Height = Form->ClientHeight;
      b.Left = Host->Align == TAlign::alLeft ? 0 : Form->ClientWidth - b.Width;
      break;
    case TAlign::alNone:
      break;
  }
}
