#include "settings/ProgramSettings.h"

#include "app/Paths.h"
#include "text/Encoding.h"

namespace tuji {

SettingsStore& ProgramSettings() {
    static SettingsStore store;
    return store;
}

std::string ProgramSettingsPath() {
    return JoinPath(ProgramFolder(), T("岚舟·图集工坊.ini"));
}

bool OpenProgramSettings() {
    return ProgramSettings().Open(ProgramSettingsPath());
}

} // namespace tuji
