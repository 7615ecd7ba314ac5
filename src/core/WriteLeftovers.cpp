#include "core/WriteLeftovers.h"

#include "core/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovani {

bool IsWriteLeftoverName(std::string_view fileName) {
    constexpr std::string_view kMark = ".tmp";
    if (fileName.size() < 2 || fileName.front() != '.')
        return false;
    size_t digits = 0;
    while (digits < fileName.size() && fileName[fileName.size() - 1 - digits] >= '0' &&
           fileName[fileName.size() - 1 - digits] <= '9')
        ++digits;
    if (digits < 1 || digits > 6)
        return false;
    const std::string_view rest = fileName.substr(0, fileName.size() - digits);
    if (rest.size() < kMark.size() + 2 || rest.substr(rest.size() - kMark.size()) != kMark)
        return false;
    // Something must be left of the name that was being written.
    return rest.size() - kMark.size() > 1;
}

int ClearWriteLeftovers(const std::string& dir, int64_t startedMs) {
    int removed = 0;
    for (const std::string& name : ListFiles(dir)) {
        if (!IsWriteLeftoverName(name))
            continue;
        const std::string path = JoinPath(dir, name);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        const int64_t changedMs =
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        if (changedMs >= startedMs)
            continue; // written since this start: perhaps by a program running beside us
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        // A writer holds its lock until the file is renamed or the writer ends, whatever way it
        // ends; a lock we can take means nobody will finish this file.
        struct stat held {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
            held.st_ino == st.st_ino && held.st_dev == st.st_dev && ::unlink(path.c_str()) == 0)
            ++removed;
        ::close(fd); // lets the lock go
    }
    return removed;
}

} // namespace tovani
