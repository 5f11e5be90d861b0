#pragma once

// The settings file engine. The whole file is kept in memory; every edit is
// applied to the memory copy and at once to the file at the same offset, so
// the file is always current, never rewritten whole, and every byte around an
// edit stays as it was. The file is GBK text with CR LF line ends and no
// byte-order mark (see SettingsLayout.h for its lines).
//
// Edits are queued: every search pass processes pending window events, so an
// event handler may ask for an edit while another runs; such an edit waits its
// turn and is carried out before the outermost call returns.
// User-interface thread only.

#include "settings/EditableFile.h"
#include "settings/SettingsLayout.h"

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

enum class SettingsMode {
    File = 0,     // the file on disk, held against other writers
    Memory = 1,   // a copy in memory; edits never reach the disk
    Registry = 2, // kept for the settings API; handled like Memory on every platform
};

// Results of SetValue and the other edits.
inline constexpr int kEditDone = 0;
inline constexpr int kEditFailed = -1;
inline constexpr int kEditQueued = 3;

class SettingsEngine {
public:
    SettingsEngine() = default;
    ~SettingsEngine() { Close(); }
    SettingsEngine(const SettingsEngine&) = delete;
    SettingsEngine& operator=(const SettingsEngine&) = delete;

    // Loads the file and opens it (mode File) or its memory stand-in. False
    // when the file cannot be opened, e.g. another instance holds it; reads
    // and edits then work on the memory copy only.
    bool Open(std::string_view path, SettingsMode mode = SettingsMode::File);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    SettingsMode Mode() const { return mode_; }

    std::string GetValue(std::string_view section, std::string_view key,
                         std::string_view defaultValue = {});
    int SetValue(std::string_view section, std::string_view key, std::string_view value);

    // The edits the program itself never asks for.
    int DeleteSection(std::string_view section);
    int DeleteKey(std::string_view section, std::string_view key);
    int RenameSection(std::string_view section, std::string_view newName);
    int RenameKey(std::string_view section, std::string_view key, std::string_view newKey);
    int SetWholeText(std::string_view bytes);
    const std::string& WholeText() const { return copy_; }
    bool SaveCopyAs(std::string_view path) const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section);
    std::vector<std::string> SectionsWithKey(std::string_view key);
    std::vector<std::string> KeysWithValue(std::string_view section, std::string_view value);

    // Values kept as bytes live in side files: the settings file's folder +
    // "/inibin/" + section + "-" + key + ".ibn", holding the bytes only.
    std::string SideFilePath(std::string_view section, std::string_view key) const;
    bool WriteSideFile(std::string_view section, std::string_view key, std::string_view bytes);
    std::string ReadSideFile(std::string_view section, std::string_view key,
                             std::string_view defaultBytes = {}) const;

private:
    enum class EditKind { Set, DeleteSection, DeleteKey, RenameSection, RenameKey, WholeText };
    struct Edit {
        EditKind kind;
        std::string a, b, c;
    };

    int Enqueue(Edit edit);
    int CarryOut(const Edit& edit);
    int CarryOutSet(const std::string& section, const std::string& key, const std::string& value);
    int CarryOutDeleteSection(const std::string& section);
    SettingsPlace Find(std::string_view section, std::string_view key, int start = 1,
                       bool wantKey = true);
    // Replaces bytes of the memory copy and of the file at one 0-based offset.
    void Apply(size_t offset, size_t oldLength, std::string_view bytes);

    std::string copy_;
    std::unique_ptr<EditableFile> file_;
    bool busy_ = false;
    std::deque<Edit> queue_;
    std::string path_;
    SettingsMode mode_ = SettingsMode::File;
};

} // namespace tuji
