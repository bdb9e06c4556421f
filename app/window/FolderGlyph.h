// The glyph of the folder buttons: a small closed folder, drawn here, in a normal and a disabled
// (grey) form.
#pragma once

#include <QIcon>

QIcon FolderGlyph();
