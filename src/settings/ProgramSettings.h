#pragma once

// The program's one settings store and the file it lives in.

#include "settings/SettingsStore.h"

#include <string>

namespace tuji {

// Created empty on first use, closed when the program ends.
SettingsStore& ProgramSettings();

// ProgramFolder() + "/岚舟·图集工坊.ini".
std::string ProgramSettingsPath();

// Opens ProgramSettings() on ProgramSettingsPath(); false when another
// instance holds the file (this run then keeps its changes in memory).
bool OpenProgramSettings();

} // namespace tuji
