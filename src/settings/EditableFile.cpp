#include "settings/EditableFile.h"

#include "app/Paths.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tuji {

namespace {

// Owns one file descriptor and its lock; both end with the descriptor.
class LockedFile final : public EditableFile {
public:
    explicit LockedFile(int fd) : fd_(fd) {}
    ~LockedFile() override { ::close(fd_); }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    bool Replace(size_t offset, size_t oldLength, std::string_view bytes) override {
        auto size = Size();
        if (!size || offset + oldLength > *size) return false;
        size_t tailStart = offset + oldLength;
        size_t tailLength = *size - tailStart;
        size_t newTailStart = offset + bytes.size();
        if (newTailStart > tailStart) {
            // Growing: move the tail right, last chunk first, so no byte is
            // overwritten before it was copied.
            if (!MoveRange(tailStart, tailLength, newTailStart)) return false;
            return WriteAt(offset, bytes);
        }
        if (!WriteAt(offset, bytes)) return false;
        if (newTailStart == tailStart) return true;
        if (!MoveRange(tailStart, tailLength, newTailStart)) return false;
        return ::ftruncate(fd_, static_cast<off_t>(newTailStart + tailLength)) == 0;
    }

    std::optional<std::string> ReadAll() override {
        auto size = Size();
        if (!size) return std::nullopt;
        std::string bytes(*size, '\0');
        if (!ReadAt(0, bytes.data(), bytes.size())) return std::nullopt;
        return bytes;
    }

private:
    static constexpr size_t kChunk = 64 * 1024;

    std::optional<size_t> Size() const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return std::nullopt;
        return static_cast<size_t>(st.st_size);
    }

    bool ReadAt(size_t offset, char* out, size_t length) const {
        while (length > 0) {
            ssize_t n = ::pread(fd_, out, length, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            out += n, offset += size_t(n), length -= size_t(n);
        }
        return true;
    }

    bool WriteAt(size_t offset, std::string_view bytes) const {
        const char* p = bytes.data();
        size_t length = bytes.size();
        while (length > 0) {
            ssize_t n = ::pwrite(fd_, p, length, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n, offset += size_t(n), length -= size_t(n);
        }
        return true;
    }

    // Copies `length` bytes from `from` to `to` within the file; the ranges
    // may overlap.
    bool MoveRange(size_t from, size_t length, size_t to) const {
        std::vector<char> buffer(std::min(length, kChunk));
        size_t done = 0;
        while (done < length) {
            size_t n = std::min(kChunk, length - done);
            // Moving right copies from the end backwards, moving left from the start.
            size_t at = to > from ? length - done - n : done;
            if (!ReadAt(from + at, buffer.data(), n)) return false;
            if (!WriteAt(to + at, std::string_view(buffer.data(), n))) return false;
            done += n;
        }
        return true;
    }

    int fd_;
};

class MemoryFile final : public EditableFile {
public:
    explicit MemoryFile(std::string bytes) : bytes_(std::move(bytes)) {}
    bool Replace(size_t offset, size_t oldLength, std::string_view bytes) override {
        if (offset + oldLength > bytes_.size()) return false;
        bytes_.replace(offset, oldLength, bytes);
        return true;
    }
    std::optional<std::string> ReadAll() override { return bytes_; }

private:
    std::string bytes_;
};

} // namespace

std::unique_ptr<EditableFile> OpenLockedFile(std::string_view path) {
    QByteArray native = QFile::encodeName(FsPath(path));
    if (native.isEmpty()) return nullptr;
    int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<LockedFile>(fd);
}

std::unique_ptr<EditableFile> MakeMemoryFile(std::string bytes) {
    return std::make_unique<MemoryFile>(std::move(bytes));
}

} // namespace tuji
