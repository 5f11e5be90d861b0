#include "settings/EditableFile.h"

#include "app/Paths.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tuji {

namespace {

// The few file operations the engine needs, per platform. Positions are
// explicit, so an edit never depends on a shared file pointer.
#ifdef _WIN32
int OpenHeldAgainstWriters(const QString& path) {
    int fd = -1;
    // Others may read the file while this program runs, but not write it.
    if (_wsopen_s(&fd, reinterpret_cast<const wchar_t*>(path.utf16()),
                  _O_RDWR | _O_CREAT | _O_BINARY | _O_NOINHERIT, _SH_DENYWR,
                  _S_IREAD | _S_IWRITE) != 0)
        return -1;
    return fd;
}
void CloseFile(int fd) {
    _close(fd);
}
long long ReadSome(int fd, char* out, size_t length, size_t offset) {
    if (_lseeki64(fd, static_cast<long long>(offset), SEEK_SET) < 0) return -1;
    return _read(fd, out, static_cast<unsigned>(std::min<size_t>(length, 1u << 30)));
}
long long WriteSome(int fd, const char* bytes, size_t length, size_t offset) {
    if (_lseeki64(fd, static_cast<long long>(offset), SEEK_SET) < 0) return -1;
    return _write(fd, bytes, static_cast<unsigned>(std::min<size_t>(length, 1u << 30)));
}
bool TruncateFile(int fd, size_t size) {
    return _chsize_s(fd, static_cast<long long>(size)) == 0;
}
std::optional<size_t> FileSize(int fd) {
    struct _stat64 st {};
    if (_fstat64(fd, &st) != 0) return std::nullopt;
    return static_cast<size_t>(st.st_size);
}
#else
int OpenHeldAgainstWriters(const QString& path) {
    QByteArray native = QFile::encodeName(path);
    if (native.isEmpty()) return -1;
    int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    // An advisory lock: every instance of the program asks for it, so a second
    // one finds the file held and keeps its changes in memory.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
void CloseFile(int fd) {
    ::close(fd);
}
long long ReadSome(int fd, char* out, size_t length, size_t offset) {
    return ::pread(fd, out, length, static_cast<off_t>(offset));
}
long long WriteSome(int fd, const char* bytes, size_t length, size_t offset) {
    return ::pwrite(fd, bytes, length, static_cast<off_t>(offset));
}
bool TruncateFile(int fd, size_t size) {
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}
std::optional<size_t> FileSize(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    return static_cast<size_t>(st.st_size);
}
#endif

// Owns one file descriptor and its lock; both end with the descriptor.
class LockedFile final : public EditableFile {
public:
    explicit LockedFile(int fd) : fd_(fd) {}
    ~LockedFile() override { CloseFile(fd_); }
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
        return TruncateFile(fd_, newTailStart + tailLength);
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

    std::optional<size_t> Size() const { return FileSize(fd_); }

    bool ReadAt(size_t offset, char* out, size_t length) const {
        while (length > 0) {
            long long n = ReadSome(fd_, out, length, offset);
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
            long long n = WriteSome(fd_, p, length, offset);
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
    int fd = OpenHeldAgainstWriters(FsPath(path));
    if (fd < 0) return nullptr;
    return std::make_unique<LockedFile>(fd);
}

std::unique_ptr<EditableFile> MakeMemoryFile(std::string bytes) {
    return std::make_unique<MemoryFile>(std::move(bytes));
}

} // namespace tuji
