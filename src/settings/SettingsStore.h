#pragma once

// The control state store: typed values in sections of the settings file.
//
//   SettingsStore& store = ProgramSettings();     // settings/ProgramSettings.h
//   store.SelectSection(T("下载图片"));
//   store.WriteNumber(T("组合框线程数"), 4);
//   int threads = store.ReadNumber(T("组合框线程数"), 4);
//
// Every typed operation works in the section chosen last. Texts are kept with
// their CR LF as "┊*┊", numbers as decimal text, truth values as "真"/"假",
// bytes in side files beside the settings file (see SettingsEngine.h).
// Reads give their default when the section or key is missing; writes give
// true only when the value was written (not queued, not failed), and every
// caller may ignore that. Windows are saved and restored by
// settings/ui/WindowControls.h. User-interface thread only.

#include "settings/SettingsEngine.h"

#include <QDateTime>
#include <string>
#include <string_view>

namespace tuji {

class SettingsStore {
public:
    SettingsStore() = default;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool Open(std::string_view path, SettingsMode mode = SettingsMode::File) {
        return engine_.Open(path, mode);
    }
    void Close() { engine_.Close(); }
    // True while the settings file (or its memory stand-in) takes the edits.
    bool IsOpen() const { return engine_.IsOpen(); }
    const std::string& SettingsPath() const { return engine_.Path(); }

    // Sets the current section; gives the registry prefix
    // "岚舟软件\" + base name of the settings file + "\" + section + "\".
    std::string SelectSection(std::string_view section);
    const std::string& Section() const { return section_; }

    bool WriteText(std::string_view key, std::string_view text);
    std::string ReadText(std::string_view key, std::string_view defaultText = {});
    bool WriteNumber(std::string_view key, long long number);
    long long ReadNumber(std::string_view key, long long defaultNumber = 0);
    bool WriteBool(std::string_view key, bool value);
    bool ReadBool(std::string_view key, bool defaultValue = false);
    // True unless the stored value is "假".
    bool ReadBoolUnlessFalse(std::string_view key, bool defaultValue = true);
    // Local date and time as "yyyy-MM-dd hh:mm:ss"; an unreadable value gives the default.
    bool WriteDate(std::string_view key, const QDateTime& when);
    QDateTime ReadDate(std::string_view key, const QDateTime& defaultWhen = {});

    bool WriteSideFile(std::string_view key, std::string_view bytes);
    std::string ReadSideFile(std::string_view key, std::string_view defaultBytes = {});

    // The engine underneath, for raw values and the maintenance operations.
    SettingsEngine& Engine() { return engine_; }

private:
    SettingsEngine engine_;
    std::string section_;
};

// The value forms, shared with whoever reads the file another way.
std::string EncodeSettingsText(std::string_view text);  // CR LF -> "┊*┊"
std::string DecodeSettingsText(std::string_view value); // "┊*┊" -> CR LF
std::string EncodeSettingsBool(bool value);             // "真" / "假"

} // namespace tuji
