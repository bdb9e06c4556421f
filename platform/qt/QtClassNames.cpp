#include "platform/qt/QtClassNames.h"

#include <QMetaObject>
#include <QObject>
#include <cstring>

namespace {
struct TEntry {
  const char* Qt;
  const char* ClassName;
  const char* UnitName;
};

// Most derived first: the first entry the object inherits from wins.
constexpr TEntry Table[] = {
    {"QLineEdit", "TEdit", "StdCtrls"},
    {"QPushButton", "TButton", "StdCtrls"},
    {"QToolButton", "TSpeedButton", "Buttons"},
    {"QCheckBox", "TCheckBox", "StdCtrls"},
    {"QLabel", "TLabel", "StdCtrls"},
    {"QMessageBox", "TMessageForm", "Dialogs"},
    {"QFileDialog", "TBrowseForFolderDialog", "ShlObj"},
    {"QDialog", "TForm", "Forms"},
    {"QFrame", "TPanel", "ExtCtrls"},
    {"QWidget", "TWinControl", "Controls"},
};
}  // namespace

TQtClassName QtClassName(const QObject& object) {
  for (const TEntry& entry : Table)
    if (object.inherits(entry.Qt)) return {entry.ClassName, entry.UnitName};
  return {object.metaObject()->className(), "Qt"};
}
