#include "settings/SettingsNotices.h"

namespace tuji {

namespace {
SettingsNoticeHandler& Handler() {
    static SettingsNoticeHandler handler;
    return handler;
}
} // namespace

void SetSettingsNoticeHandler(SettingsNoticeHandler handler) {
    Handler() = std::move(handler);
}

void ShowSettingsNotice(SettingsNotice notice, const std::string& text) {
    if (Handler()) Handler()(notice, text);
}

} // namespace tuji
