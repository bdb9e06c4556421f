#include "ui/MessageLayout.h"

#include <cstdint>

#include "common/StrTable.h"
#include "platform/Platform.h"

namespace {
// Zero until the kind's caption has been measured; a plain array, nothing to destroy at exit.
int ButtonWidths[MsgDlgBtnCount] = {};
}  // namespace

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t product = static_cast<int64_t>(a) * b;
  const int64_t half = (c < 0 ? -c : c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

TTextExtent AverageCharSize(const TDialogFont& font) {
  TTextExtent size =
      MeasureDialogText(font, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 0);
  size.Width /= 52;
  return size;
}

TMessageLayoutUnits MessageLayoutUnits(TTextExtent c) {
  TMessageLayoutUnits u;
  u.HorzMargin = MulDiv(8, c.Width, 4);
  u.VertMargin = MulDiv(8, c.Height, 8);
  u.VertSpacing = MulDiv(10, c.Height, 8);
  u.ButtonWidth = MulDiv(50, c.Width, 4);
  u.ButtonHeight = MulDiv(14, c.Height, 8);
  u.ButtonSpacing = MulDiv(4, c.Width, 4);
  return u;
}

TTextExtent MeasureDialogText(const TDialogFont& font, const std::string& text, int wrapWidth) {
  if (Platform().HasUi()) return Platform().Ui().TextExtent(font, text, wrapWidth);
  return DefaultTextExtent(font, text, wrapWidth);
}

int CachedButtonWidth(TMsgDlgBtn button, const TDialogFont& font) {
  int& width = ButtonWidths[static_cast<int>(button)];
  if (width == 0)
    width = MeasureDialogText(font, LoadStr(MsgDlgButtonInfo(button).Caption), 0).Width + 8;
  return width;
}

void FreeButtonWidthCache() {
  for (int& width : ButtonWidths) width = 0;
}
