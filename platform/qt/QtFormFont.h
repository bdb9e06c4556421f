// The laid-out forms name a Windows font; where it is not installed another sans-serif font of
// the same character height stands in, so the layout keeps its proportions.
#pragma once

#include <QFont>
#include <QString>

class QWidget;

// The font of family with the given character height in pixels, or a sans-serif font of that
// height when the family is missing.
QFont FormFont(const QString& family, int pixelHeight);
// Gives form (and every child that does not set its own) that font.
void ApplyFormFont(QWidget* form, const QString& family, int pixelHeight);
