#include "core/Files.h"

#include "core/TextCodec.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tovani {

std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    auto size = fs::file_size(path, ec);
    if (ec || size > maxBytes)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string data(static_cast<size_t>(size), '\0');
    in.read(data.data(), static_cast<std::streamsize>(size));
    data.resize(static_cast<size_t>(in.gcount()));
    return data;
}

namespace {

WriteFailureHook gWriteFailure = nullptr;

} // namespace

void SetWriteFailureHook(WriteFailureHook hook) {
    gWriteFailure = hook;
}

bool IsWriteProtected(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // The owner's write bit speaks for the player even when the program runs as root, for
    // whom access() always says yes.
    return (st.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
    if (gWriteFailure && gWriteFailure(path))
        return false;
    fs::path target(path);
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    // A rename would replace a write-protected file as readily as any other: the player's
    // protection is respected, and a file that stays keeps its access rights.
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || IsWriteProtected(path)))
        return false;
    std::random_device tmpNames; // fresh for every write, so forked writers differ too
    std::string tmp;
    int fd = -1;
    // The temporary file stays locked while it is written, so that a later start can tell the
    // leftover of a killed writer from a write in progress (ClearWriteLeftovers). A file that
    // was cleared between its creation and its lock is made again under another name.
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        tmp = (dir / ("." + target.filename().string() + ".tmp" +
                      std::to_string(tmpNames() % 1000000u)))
                  .string();
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        // A folder that knows no locks still takes the write; the leftover check then goes by
        // the file's age alone.
        (void)::flock(fd, LOCK_EX);
        struct stat mine {};
        if (::fstat(fd, &mine) != 0 || mine.st_nlink == 0) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0)
        return false;
    if (exists)
        (void)::fchmod(fd, old.st_mode & 07777);
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            ::unlink(tmp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    // The rename itself reaches the disk when the folder does.
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::vector<std::string> ListFiles(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    if (ec)
        return names;
    for (; it != end; it.increment(ec)) {
        if (ec)
            break;
        std::error_code ec2;
        if (it->is_regular_file(ec2))
            names.push_back(it->path().filename().string());
    }
    return names;
}

std::optional<std::string> FindNoCase(const std::string& dir, const std::string& name) {
    std::string exact = JoinPath(dir, name);
    if (FileExists(exact))
        return exact;
    for (const auto& f : ListFiles(dir))
        if (EqualsNoCase(f, name))
            return JoinPath(dir, f);
    return std::nullopt;
}

std::string ExecutableDirectory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "./";
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string ContentDirectoryFor(const std::string& executableDir) {
    std::error_code ec;
    if (fs::is_directory(JoinPath(executableDir, "Layouts"), ec))
        return executableDir;
    const fs::path installed = fs::path(executableDir) / ".." / "share" / "tovani";
    if (fs::is_directory(installed / "Layouts", ec)) {
        std::string dir = fs::weakly_canonical(installed, ec).string();
        if (!ec && !dir.empty()) {
            if (dir.back() != '/')
                dir += '/';
            return dir;
        }
    }
    return executableDir;
}

std::string ContentDirectory() {
    return ContentDirectoryFor(ExecutableDirectory());
}

std::string JoinPath(std::string_view dir, std::string_view rel) {
    std::string r(rel);
    for (char& c : r)
        if (c == '\\')
            c = '/';
    std::string d(dir);
    while (!d.empty() && d.back() == '/')
        d.pop_back();
    size_t start = 0;
    while (start < r.size() && r[start] == '/')
        ++start;
    if (d.empty())
        return r;
    return d + "/" + r.substr(start);
}

std::string FileNameOf(std::string_view path) {
    size_t cut = path.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

bool DirectoryWritable(const std::string& dir) {
    std::error_code ec;
    return fs::is_directory(dir, ec) && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string UserFilesDirectory(const std::string& programDir, bool programDirWritable,
                               const std::string& xdgDataHome, const std::string& home) {
    std::string dir;
    if (programDirWritable)
        dir = programDir;
    else if (!xdgDataHome.empty() && xdgDataHome.front() == '/')
        dir = JoinPath(xdgDataHome, "tovani");
    else
        dir = JoinPath(home.empty() ? std::string("/tmp") : home, ".local/share/tovani");
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string UserFilesDirectory(const std::string& programDir) {
    auto env = [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::string(v) : std::string();
    };
    std::string dir = UserFilesDirectory(programDir, DirectoryWritable(programDir),
                                         env("XDG_DATA_HOME"), env("HOME"));
    if (dir != programDir) {
        std::error_code ec;
        fs::create_directories(dir, ec);
    }
    return dir;
}

std::string PlayerFilesDirectory() {
    const std::string program = ExecutableDirectory();
    const std::string content = ContentDirectoryFor(program);
    if (content == program)
        return UserFilesDirectory(program);
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::string dir = UserFilesDirectory(content, false, data ? data : "", home ? home : "");
    std::error_code ec;
    fs::create_directories(dir, ec);
    return dir;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace tovani
