#include "platform/qt/QtForms.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

namespace {
// Sans-serif fonts close in width to the Windows dialog fonts, tried in this order before the
// desktop's general font, so the texts fit the laid-out positions.
const QStringList StandIns = {"Liberation Sans", "Arial", "Nimbus Sans", "Helvetica",
                              "DejaVu Sans"};
}  // namespace

QFont FormFont(const QString& family, int pixelHeight) {
  QFont font(family);
  if (!QFontDatabase::hasFamily(family)) {
    font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    for (const QString& standIn : StandIns) {
      if (QFontDatabase::hasFamily(standIn)) {
        font = QFont(standIn);
        break;
      }
    }
    font.setStyleHint(QFont::SansSerif);
  }
  font.setPixelSize(pixelHeight);
  return font;
}

void ApplyFormFont(QWidget* form, const QString& family, int pixelHeight) {
  form->setFont(FormFont(family, pixelHeight));
}

void CentreOnScreen(QWidget* form) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    form->move(area.left() + (area.width() - form->width()) / 2,
               area.top() + (area.height() - form->height()) / 2);
  }
}
