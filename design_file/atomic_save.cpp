// The temporary file, its flush and its rename, on POSIX systems and on Windows.
#include "design_file/atomic_save.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace design_file {
namespace {

namespace fs = std::filesystem;

// Opens a file that did not exist, for writing; -1 with errno set when it cannot.
int CreateNew(const fs::path& path) {
#ifdef _WIN32
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
#ifdef _WIN32
        const int chunk = text.size() > (1u << 30) ? (1 << 30) : int(text.size());
        const int written = _write(fd, text.data(), unsigned(chunk));
#else
        const ssize_t written = write(fd, text.data(), text.size());
#endif
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        text.remove_prefix(std::size_t(written));
    }
    return true;
}

// On the disk before the rename, so that a crash leaves the old file or the new, never an empty
// one.
bool Flush(int fd) {
#ifdef _WIN32
    return _commit(fd) == 0;
#else
    return fsync(fd) == 0;
#endif
}

int CloseFile(int fd) {
#ifdef _WIN32
    return _close(fd);
#else
    return close(fd);
#endif
}

std::string Reason(int error) {
    return std::generic_category().message(error);
}

// A name beside the target that no other save picks: the process and a count.
fs::path TemporaryBeside(const fs::path& target, unsigned attempt) {
#ifdef _WIN32
    const unsigned long process = unsigned(_getpid());
#else
    const unsigned long process = unsigned(getpid());
#endif
    fs::path name = target;
    name += ".tmp-" + std::to_string(process) + "-" + std::to_string(attempt);
    return name;
}

} // namespace

std::string SaveAtomically(const fs::path& target, std::string_view text) {
    std::error_code error;
    if (fs::is_directory(target, error)) {
        return "it is a folder";
    }
    static std::atomic<unsigned> attempts = 0;
    fs::path temporary;
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 100; ++tries) {
        temporary = TemporaryBeside(target, attempts++);
        fd = CreateNew(temporary);
        if (fd < 0 && errno != EEXIST) {
            return Reason(errno);
        }
    }
    if (fd < 0) {
        return Reason(EEXIST);
    }
    const bool written = WriteAll(fd, text) && Flush(fd);
    const int writeError = errno;
    if (CloseFile(fd) != 0 || !written) {
        const int reason = written ? errno : writeError;
        fs::remove(temporary, error);
        return Reason(reason);
    }
    // A file that was there keeps who may read and write it.
    const fs::file_status existing = fs::status(target, error);
    if (!error && fs::is_regular_file(existing)) {
        fs::permissions(temporary, existing.permissions(), error);
    }
    fs::rename(temporary, target, error);
    if (error) {
        std::string reason = error.message();
        fs::remove(temporary, error);
        return reason;
    }
    return {};
}

} // namespace design_file
