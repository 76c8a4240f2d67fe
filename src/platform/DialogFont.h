#pragma once

#include <QFont>

namespace glim {

// The lettering of the program's dialogs and windows: 8.25-point sans serif, bold where asked,
// from the first family of the desktop's that is installed.
QFont dialogFont(bool bold = false);

} // namespace glim
