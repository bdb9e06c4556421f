// The names the log gives Qt's own widgets. Log entries describe controls by class and unit name
// as the product's form framework spells them; Qt's classes have neither, so each widget kind
// the program uses is reported under the framework class it stands in for. This table is the one
// place those names are chosen.
#pragma once

#include <string>

class QObject;

struct TQtClassName {
  std::string ClassName;  // e.g. "TEdit" for a QLineEdit
  std::string UnitName;   // e.g. "StdCtrls"
};

// The framework names of a Qt object: the nearest listed Qt class it derives from; a class
// outside the table keeps its Qt name, with unit "Qt".
TQtClassName QtClassName(const QObject& object);
