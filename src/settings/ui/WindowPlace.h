#pragma once

// A window's place on the screen, in section + ".尺寸" (default "主界面.尺寸"):
// "位置" = 0 normal, 2 minimised, 3 maximised or full screen; for a normal
// window also "左边", "顶边" (its frame's top-left corner), "宽度", "高度"
// (its inner size). The program itself does not call these.

#include "settings/SettingsStore.h"

#include <string_view>

class QWidget;

namespace tuji {

void SaveWindowPlace(SettingsStore& store, QWidget* window, std::string_view section = {});
void RestoreWindowPlace(SettingsStore& store, QWidget* window, std::string_view section = {});

} // namespace tuji
