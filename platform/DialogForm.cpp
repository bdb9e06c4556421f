#include "platform/DialogForm.h"

#include <algorithm>

namespace {
const char* const ControlClassNames[] = {"TLabel", "TButton", "TCheckBox", "TPanel", "TLabel"};

// Lays out one line (no line ends in it) and returns its width; adds the lines it took.
int WrapLine(const std::string& line, int wrapWidth, int charWidth, int& lines) {
  std::string expanded;
  for (char c : line) {
    if (c == '\t')
      expanded.append(8 - expanded.size() % 8, ' ');
    else
      expanded += c;
  }
  const int perLine = wrapWidth > 0 ? std::max(1, wrapWidth / charWidth) : 0;
  int widest = 0;
  size_t pos = 0;
  do {
    size_t end = expanded.size();
    if (perLine > 0 && end - pos > static_cast<size_t>(perLine)) {
      const size_t blank = expanded.rfind(' ', pos + perLine);
      if (blank != std::string::npos && blank > pos) {
        end = blank;
      } else {  // one word longer than the line: it stands alone
        end = expanded.find(' ', pos + perLine);
        if (end == std::string::npos) end = expanded.size();
      }
    }
    widest = std::max(widest, static_cast<int>(end - pos) * charWidth);
    ++lines;
    pos = end;
    while (pos < expanded.size() && expanded[pos] == ' ' && perLine > 0) ++pos;
  } while (pos < expanded.size());
  return widest;
}
}  // namespace

TDialogControl::TDialogControl(TDialogForm& form, TDialogControlKind kind, std::string name,
                               TDialogControl* parent)
    : TControl(&form, std::move(name)), Kind(kind), form_(form), parent_(parent) {}

std::string TDialogControl::ClassName() const {
  return ControlClassNames[static_cast<int>(Kind)];
}

TControl* TDialogControl::Parent() const {
  if (parent_) return parent_;
  return &form_;
}

TDialogControl& TDialogForm::AddControl(TDialogControlKind kind, std::string name,
                                        TDialogControl* parent) {
  return AddControl(std::make_unique<TDialogControl>(*this, kind, std::move(name), parent));
}

TDialogControl& TDialogForm::AddControl(std::unique_ptr<TDialogControl> control) {
  controls_.push_back(std::move(control));
  return *controls_.back();
}

void TDialogForm::RemoveControl(const TDialogControl* control) {
  if (!control) return;
  for (size_t i = 0; i < controls_.size();) {
    if (controls_[i]->ParentControl() == control) {
      RemoveControl(controls_[i].get());
      i = 0;
    } else {
      ++i;
    }
  }
  std::erase_if(controls_, [control](const auto& c) { return c.get() == control; });
}

TDialogControl* TDialogForm::FindControl(const std::string& name) const {
  for (const auto& control : controls_)
    if (control->Name() == name) return control.get();
  return nullptr;
}

TTextExtent FixedPitchTextExtent(const std::string& text, int wrapWidth, int charWidth,
                                 int lineHeight) {
  int lines = 0;
  int widest = 0;
  size_t start = 0;
  while (true) {
    const size_t end = text.find_first_of("\r\n", start);
    widest =
        std::max(widest, WrapLine(text.substr(start, end - start), wrapWidth, charWidth, lines));
    if (end == std::string::npos) break;
    start = end + 1;
    // "\r\n" and "\n\r" end one line together.
    if (start < text.size() && (text[start] == '\r' || text[start] == '\n') &&
        text[start] != text[end])
      ++start;
  }
  return {widest, lines * lineHeight};
}

TTextExtent DefaultTextExtent(const TDialogFont& font, const std::string& text, int wrapWidth) {
  // About the average character of a sans-serif font at 96 dots per inch.
  const int lineHeight = font.Size * 96 / 72 + 3;
  return FixedPitchTextExtent(text, wrapWidth, std::max(1, lineHeight / 2), lineHeight);
}

TTextExtent TUiServices::TextExtent(const TDialogFont& font, const std::string& text,
                                    int wrapWidth) {
  return DefaultTextExtent(font, text, wrapWidth);
}

int TUiServices::ShowDialogForm(TDialogForm& form) {
  ShowMessage(form.PlainText, form.PlainKind);
  return form.CancelResult;
}
