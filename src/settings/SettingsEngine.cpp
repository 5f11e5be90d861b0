#include "settings/SettingsEngine.h"

#include "app/Paths.h"
#include "fs/AtomicWrite.h"
#include "fs/Files.h"
#include "settings/SettingsNotices.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCoreApplication>
#include <algorithm>

namespace tuji {

namespace {

// A section whose header cannot be found after this many appends is given up.
constexpr int kMaxHeaderAppends = 10;

void ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

std::string Header(std::string_view section) {
    return "[" + std::string(section) + "]";
}

} // namespace

bool SettingsEngine::Open(std::string_view path, SettingsMode mode) {
    Close();
    path_ = std::string(path);
    mode_ = mode;
    if (mode == SettingsMode::File) {
        file_ = OpenLockedFile(path);
        // Read through the locked descriptor, so the copy is what the lock protects.
        if (file_) {
            auto bytes = file_->ReadAll();
            if (bytes)
                copy_ = std::move(*bytes);
            else
                file_.reset();
        }
        if (!file_) ReadFileBytes(path, copy_);
    } else {
        // The registry mode keeps its values with the memory-only ones: this
        // program never uses it, and no platform but one has a registry.
        ReadFileBytes(path, copy_);
        file_ = MakeMemoryFile(copy_);
    }
    return file_ != nullptr;
}

void SettingsEngine::Close() {
    file_.reset();
    copy_.clear();
}

void SettingsEngine::Apply(size_t offset, size_t oldLength, std::string_view bytes) {
    copy_.replace(offset, oldLength, bytes);
    // A file that missed one edit no longer matches the copy's offsets; it is
    // let go rather than edited at wrong places.
    if (file_ && !file_->Replace(offset, oldLength, bytes)) file_.reset();
}

SettingsPlace SettingsEngine::Find(std::string_view section, std::string_view key, int start,
                                   bool wantKey) {
    SettingsPlace place;
    std::string head = Header(section);
    for (int s = std::max(start, 1);;) {
        ProcessPendingEvents();
        int p = FindText(copy_, head, s);
        if (p < 0) return place;
        if (HeaderStartsAt(copy_, p)) {
            place.header = p;
            break;
        }
        s = p + 1;
    }
    place.headerEnd = place.header + int(head.size()) - 1;
    if (wantKey) FindKeyInSection(copy_, section, key, place);
    return place;
}

std::string SettingsEngine::GetValue(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) {
    SettingsPlace place = Find(section, key);
    if (!place.hasKey()) return std::string(defaultValue);
    return copy_.substr(size_t(place.valueStart) - 1, size_t(place.valueEnd - place.valueStart));
}

int SettingsEngine::SetValue(std::string_view section, std::string_view key,
                             std::string_view value) {
    return Enqueue({EditKind::Set, std::string(section), std::string(key), std::string(value)});
}

int SettingsEngine::DeleteSection(std::string_view section) {
    return Enqueue({EditKind::DeleteSection, std::string(section), {}, {}});
}

int SettingsEngine::DeleteKey(std::string_view section, std::string_view key) {
    return Enqueue({EditKind::DeleteKey, std::string(section), std::string(key), {}});
}

int SettingsEngine::RenameSection(std::string_view section, std::string_view newName) {
    return Enqueue({EditKind::RenameSection, std::string(section), std::string(newName), {}});
}

int SettingsEngine::RenameKey(std::string_view section, std::string_view key,
                              std::string_view newKey) {
    return Enqueue(
        {EditKind::RenameKey, std::string(section), std::string(key), std::string(newKey)});
}

int SettingsEngine::SetWholeText(std::string_view bytes) {
    return Enqueue({EditKind::WholeText, std::string(bytes), {}, {}});
}

int SettingsEngine::Enqueue(Edit edit) {
    queue_.push_back(std::move(edit));
    if (busy_) return kEditQueued;
    int first = kEditDone;
    bool isFirst = true;
    while (!queue_.empty()) {
        Edit next = queue_.front();
        busy_ = true;
        int result = CarryOut(next);
        queue_.pop_front();
        busy_ = false;
        if (isFirst) first = result;
        isFirst = false;
    }
    return first;
}

int SettingsEngine::CarryOut(const Edit& edit) {
    switch (edit.kind) {
    case EditKind::Set:
        return CarryOutSet(edit.a, edit.b, edit.c);
    case EditKind::DeleteSection:
        return CarryOutDeleteSection(edit.a);
    case EditKind::DeleteKey: {
        SettingsPlace place = Find(edit.a, edit.b);
        if (!place.hasKey()) return kEditFailed;
        Apply(size_t(place.keyLine) - 1, size_t(place.valueEnd - place.keyLine), {});
        return kEditDone;
    }
    case EditKind::RenameSection: {
        SettingsPlace place = Find(edit.a, {}, 1, false);
        if (!place.hasSection()) return kEditFailed;
        Apply(size_t(place.header), edit.a.size(), edit.b);
        return kEditDone;
    }
    case EditKind::RenameKey: {
        SettingsPlace place = Find(edit.a, edit.b);
        if (!place.hasKey()) return kEditFailed;
        Apply(size_t(place.keyLine) + 1, edit.b.size(), edit.c);
        return kEditDone;
    }
    case EditKind::WholeText:
        Apply(0, copy_.size(), edit.a);
        return kEditDone;
    }
    return kEditFailed;
}

int SettingsEngine::CarryOutSet(const std::string& section, const std::string& key,
                                const std::string& value) {
    int start = 1;
    int appends = 0;
    bool keyInserted = false;
    for (;;) {
        SettingsPlace place = Find(section, key, start);
        if (!place.hasSection()) {
            size_t length = copy_.size();
            Apply(length, 0, (length > 0 ? std::string(kCrLf) : std::string()) + Header(section));
            if (++appends > kMaxHeaderAppends) {
                ShowSettingsNotice(SettingsNotice::SectionNotCreated,
                                   T("配置模块出现意外，可能导致无法正常保存！详情请咨询岚舟。"));
                ShowSettingsNotice(SettingsNotice::FileImage, copy_);
                return kEditFailed;
            }
            start = std::max(int(length), 1);
            continue;
        }
        if (!place.hasKey()) {
            // A key the finding rules cannot see even right after inserting it
            // (a name holding a line break and a header) would be inserted forever.
            if (keyInserted) return kEditFailed;
            keyInserted = true;
            Apply(size_t(place.headerEnd), 0, std::string(kCrLf) + key + "=");
            start = place.header;
            continue;
        }
        size_t at = size_t(place.valueStart) - 1;
        size_t oldLength = size_t(place.valueEnd - place.valueStart);
        // An unchanged value leaves the file alone.
        if (copy_.compare(at, oldLength, value) != 0) Apply(at, oldLength, value);
        return kEditDone;
    }
}

int SettingsEngine::CarryOutDeleteSection(const std::string& section) {
    SettingsPlace place = Find(section, {}, 1, false);
    if (!place.hasSection()) return kEditFailed;
    int next = NextHeaderLine(copy_, place.headerEnd + 1);
    size_t from, to; // 0-based, to exclusive
    if (place.header == 1) {
        // The next header moves to the start of the file, without its CR LF.
        from = 0;
        to = next < 0 ? copy_.size() : size_t(next) + 1;
    } else {
        from = size_t(place.header) - 3;
        to = next < 0 ? copy_.size() : size_t(next) - 1;
    }
    Apply(from, to - from, {});
    return kEditDone;
}

bool SettingsEngine::SaveCopyAs(std::string_view path) const {
    return WriteFileAtomic(path, copy_, ReplaceMode::Replace) == AtomicWriteResult::Written;
}

std::vector<std::string> SettingsEngine::SectionNames() const {
    return SectionNamesIn(copy_);
}

std::vector<std::string> SettingsEngine::KeyNames(std::string_view section) {
    SettingsPlace place = Find(section, {}, 1, false);
    if (!place.hasSection()) return {};
    return KeyNamesIn(copy_, place.header);
}

std::vector<std::string> SettingsEngine::SectionsWithKey(std::string_view key) {
    std::vector<std::string> found;
    for (const std::string& section : SectionNames()) {
        if (std::find(found.begin(), found.end(), section) != found.end()) continue;
        if (Find(section, key).hasKey()) found.push_back(section);
    }
    return found;
}

std::vector<std::string> SettingsEngine::KeysWithValue(std::string_view section,
                                                       std::string_view value) {
    std::vector<std::string> found;
    for (const std::string& key : KeyNames(section)) {
        SettingsPlace place = Find(section, key);
        if (place.hasKey() && copy_.compare(size_t(place.valueStart) - 1,
                                            size_t(place.valueEnd - place.valueStart), value) == 0)
            found.push_back(key);
    }
    return found;
}

std::string SettingsEngine::SideFilePath(std::string_view section, std::string_view key) const {
    std::string folder = JoinPath(PathFolder(path_, PathForm::File), T("inibin"));
    std::string name = std::string(section) + "-" + std::string(key) + ".ibn";
    return JoinPath(folder, SafeFileName(name));
}

bool SettingsEngine::WriteSideFile(std::string_view section, std::string_view key,
                                   std::string_view bytes) {
    std::string path = SideFilePath(section, key);
    if (!CreateMissingFolders(path)) return false;
    return WriteFileAtomic(path, bytes, ReplaceMode::Replace) == AtomicWriteResult::Written;
}

std::string SettingsEngine::ReadSideFile(std::string_view section, std::string_view key,
                                         std::string_view defaultBytes) const {
    std::string bytes;
    if (!ReadFileBytes(SideFilePath(section, key), bytes) || bytes.empty())
        return std::string(defaultBytes);
    return bytes;
}

} // namespace tuji
