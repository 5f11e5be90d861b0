#pragma once

namespace tuji {

// Lets the settings engine's notices appear as the program's message boxes.
void InstallSettingsNoticeBoxes();

} // namespace tuji
