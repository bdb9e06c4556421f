#include "app/window/FolderGlyph.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap DrawFolder(const QColor& fill, const QColor& tab, const QColor& outline) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(outline);
  // The tab on the back of the folder, then the folder body.
  painter.setBrush(tab);
  painter.drawRect(1, 3, 6, 2);
  painter.setBrush(fill);
  painter.drawRect(1, 5, 13, 8);
  painter.setPen(fill.lighter(130));
  painter.drawLine(2, 6, 13, 6);
  return pixmap;
}

}  // namespace

QIcon FolderGlyph() {
  QIcon icon;
  icon.addPixmap(
      DrawFolder(QColor(0xF0, 0xC8, 0x40), QColor(0xD8, 0xA8, 0x20), QColor(0x80, 0x60, 0x00)),
      QIcon::Normal);
  icon.addPixmap(
      DrawFolder(QColor(0xC8, 0xC8, 0xC8), QColor(0xB0, 0xB0, 0xB0), QColor(0x80, 0x80, 0x80)),
      QIcon::Disabled);
  return icon;
}
