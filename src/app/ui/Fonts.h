#pragma once

#include <QString>

namespace tuji {

// Maps "宋体" and the other Windows face names the forms and the settings
// file use onto an installed CJK face, so Chinese text draws in one face, and
// makes that face the program's default. Returns the face chosen (empty when
// no CJK face is installed; then nothing changes). Call once after the
// application object exists.
QString InstallFontSubstitutions();

} // namespace tuji
