#pragma once

// The settings engine runs below the windows, yet has one thing to tell the
// user: a section it cannot create. The windows layer installs the handler
// that shows it; without one the engine stays quiet.

#include <functional>
#include <string>

namespace tuji {

enum class SettingsNotice {
    SectionNotCreated, // text: the warning, shown with the exclamation icon
    FileImage,         // text: the whole memory copy, shown in a plain box "信息："
};

using SettingsNoticeHandler = std::function<void(SettingsNotice, const std::string& text)>;

void SetSettingsNoticeHandler(SettingsNoticeHandler handler);
void ShowSettingsNotice(SettingsNotice notice, const std::string& text);

} // namespace tuji
