#include "settings/SettingsStore.h"

#include "app/Paths.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

namespace tuji {

namespace {

const std::string& LineBreakMark() {
    static const std::string mark = T("┊*┊");
    return mark;
}
const std::string& TrueWord() {
    static const std::string word = T("真");
    return word;
}
const std::string& FalseWord() {
    static const std::string word = T("假");
    return word;
}

const QString kDateForm = QStringLiteral("yyyy-MM-dd hh:mm:ss");

} // namespace

std::string EncodeSettingsText(std::string_view text) {
    return ReplaceText(text, kCrLf, LineBreakMark());
}

std::string DecodeSettingsText(std::string_view value) {
    return ReplaceText(value, LineBreakMark(), kCrLf);
}

std::string EncodeSettingsBool(bool value) {
    return value ? TrueWord() : FalseWord();
}

std::string SettingsStore::SelectSection(std::string_view section) {
    section_ = std::string(section);
    // The base name stops at the last "." of the file name, after the last "\"
    // (or "/") of the path.
    std::string base = PathBaseName(SettingsPath(), PathForm::File);
    return T("岚舟软件\\") + base + "\\" + section_ + "\\";
}

bool SettingsStore::WriteText(std::string_view key, std::string_view text) {
    return engine_.SetValue(section_, key, EncodeSettingsText(text)) == kEditDone;
}

std::string SettingsStore::ReadText(std::string_view key, std::string_view defaultText) {
    return DecodeSettingsText(engine_.GetValue(section_, key, EncodeSettingsText(defaultText)));
}

bool SettingsStore::WriteNumber(std::string_view key, long long number) {
    return engine_.SetValue(section_, key, NumberText(number)) == kEditDone;
}

long long SettingsStore::ReadNumber(std::string_view key, long long defaultNumber) {
    return TextNumber(engine_.GetValue(section_, key, NumberText(defaultNumber)));
}

bool SettingsStore::WriteBool(std::string_view key, bool value) {
    return engine_.SetValue(section_, key, EncodeSettingsBool(value)) == kEditDone;
}

bool SettingsStore::ReadBool(std::string_view key, bool defaultValue) {
    return engine_.GetValue(section_, key, EncodeSettingsBool(defaultValue)) == TrueWord();
}

bool SettingsStore::ReadBoolUnlessFalse(std::string_view key, bool defaultValue) {
    return engine_.GetValue(section_, key, EncodeSettingsBool(defaultValue)) != FalseWord();
}

bool SettingsStore::WriteDate(std::string_view key, const QDateTime& when) {
    return WriteText(key, FromQString(when.toString(kDateForm)));
}

QDateTime SettingsStore::ReadDate(std::string_view key, const QDateTime& defaultWhen) {
    std::string text = ReadText(key, FromQString(defaultWhen.toString(kDateForm)));
    QDateTime when = QDateTime::fromString(ToQString(text), kDateForm);
    return when.isValid() ? when : defaultWhen;
}

bool SettingsStore::WriteSideFile(std::string_view key, std::string_view bytes) {
    return engine_.WriteSideFile(section_, key, bytes);
}

std::string SettingsStore::ReadSideFile(std::string_view key, std::string_view defaultBytes) {
    return engine_.ReadSideFile(section_, key, defaultBytes);
}

} // namespace tuji
