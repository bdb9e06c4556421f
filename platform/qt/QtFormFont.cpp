#include "platform/qt/QtFormFont.h"

#include <QFontDatabase>
#include <QWidget>

QFont FormFont(const QString& family, int pixelHeight) {
  QFont font(family);
  if (!QFontDatabase::hasFamily(family)) {
    font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
  }
  font.setPixelSize(pixelHeight);
  return font;
}

void ApplyFormFont(QWidget* form, const QString& family, int pixelHeight) {
  form->setFont(FormFont(family, pixelHeight));
}
