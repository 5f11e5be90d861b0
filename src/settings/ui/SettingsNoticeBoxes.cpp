#include "settings/ui/SettingsNoticeBoxes.h"

#include "app/ui/MessageBox.h"
#include "settings/SettingsNotices.h"

namespace tuji {

void InstallSettingsNoticeBoxes() {
    SetSettingsNoticeHandler([](SettingsNotice notice, const std::string& text) {
        if (notice == SettingsNotice::SectionNotCreated)
            ShowMessage(text, MessageStyle::IconExclamation);
        else
            ShowPlainMessage(text, MessageStyle::Ok);
    });
}

} // namespace tuji
