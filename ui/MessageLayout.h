// The message dialog's layout units, from the average character size of its font, and the
// process-wide cache of measured button widths.
#pragma once

#include "platform/DialogForm.h"
#include "ui/MsgDlgButtons.h"

// a * b / c rounded to the nearest integer (halves away from zero); -1 when c is 0.
int MulDiv(int a, int b, int c);

struct TMessageLayoutUnits {
  int HorzMargin = 0;
  int VertMargin = 0;
  int VertSpacing = 0;
  int ButtonWidth = 0;  // the minimum
  int ButtonHeight = 0;
  int ButtonSpacing = 0;
};

// The average character of font: the 52 letters measured on one line, width / 52 (integer
// division), height as measured.
TTextExtent AverageCharSize(const TDialogFont& font);
TMessageLayoutUnits MessageLayoutUnits(TTextExtent averageChar);

// The text's extent through the user interface, or the fixed-pitch estimate without one.
TTextExtent MeasureDialogText(const TDialogFont& font, const std::string& text, int wrapWidth);

// Width of a button of that kind: its caption on one line plus 8, measured once per process.
int CachedButtonWidth(TMsgDlgBtn button, const TDialogFont& font);
// Forgets every measured width (end of the process, or between tests).
void FreeButtonWidthCache();
