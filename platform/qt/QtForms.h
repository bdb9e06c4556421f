// What the laid-out forms share: the Windows font they name (where it is not installed another
// sans-serif font of the same character height stands in, so the layout keeps its proportions)
// and their place in the middle of the screen.
#pragma once

#include <QFont>
#include <QString>

class QWidget;

// The font of family with the given character height in pixels, or a sans-serif font of that
// height when the family is missing.
QFont FormFont(const QString& family, int pixelHeight);
// Gives form (and every child that does not set its own) that font.
void ApplyFormFont(QWidget* form, const QString& family, int pixelHeight);
// Moves form to the middle of the primary screen.
void CentreOnScreen(QWidget* form);
