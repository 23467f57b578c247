#include "ZuXFileReplacement.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <memory>
#include <new>
#include <utility>

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Symbolic links followed in a row at most, as the kernel does.
constexpr int kMaxLinks = 40;
// Names tried for the new file before giving up.
constexpr int kNameAttempts = 100;
// How much of the file's name goes into the new file's name, which must stay below NAME_MAX.
constexpr std::size_t kNameKept = 200;

struct CloseFile {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, CloseFile>;

// What pugixml's file writer does, plus noticing a short write.
class CStdioWriter : public pugi::xml_writer {
public:
    explicit CStdioWriter(FILE* file) : m_file(file) {}

    void write(const void* data, size_t size) override {
        if (std::fwrite(data, 1, size, m_file) != size) m_failed = true;
    }

    bool Failed() const { return m_failed || std::ferror(m_file) != 0; }

private:
    FILE* m_file;
    bool m_failed = false;
};

// Removes the new file on every way out but success, exceptions included.
class CRemoveUnlessKept {
public:
    explicit CRemoveUnlessKept(const std::string& path) : m_path(path) {}
    ~CRemoveUnlessKept() {
        if (!m_kept) unlink(m_path.c_str());
    }
    CRemoveUnlessKept(const CRemoveUnlessKept&) = delete;
    CRemoveUnlessKept& operator=(const CRemoveUnlessKept&) = delete;

    void Keep() { m_kept = true; }

private:
    const std::string& m_path;
    bool m_kept = false;
};

enum class Outcome { Replaced, Failed, WriteInPlace };

// "dir/" for "dir/name", "" for "name".
std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ReadLink(const std::string& path) {
    std::string link(PATH_MAX, '\0');
    for (;;) {
        const ssize_t length = readlink(path.c_str(), link.data(), link.size());
        if (length < 0) return std::string();
        if (static_cast<std::size_t>(length) < link.size()) return link.substr(0, static_cast<std::size_t>(length));
        link.resize(link.size() * 2);
    }
}

// The path of the file that `path` finally names, following symbolic links, so that a link stays a
// link and its target is replaced. It need not exist. False for a loop or an unreadable link.
bool FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int links = 0; links < kMaxLinks; ++links) {
        struct stat status {};
        if (lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return true;
        std::string link = ReadLink(target);
        if (link.empty()) return false;
        if (link[0] != '/') link.insert(0, DirectoryOf(target));
        target = std::move(link);
    }
    errno = ELOOP;
    return false;
}

unsigned long long RandomNumber() {
    unsigned long long value = 0;
    if (getrandom(&value, sizeof value, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof value)) return value;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<unsigned long long>(now.tv_nsec) ^ (static_cast<unsigned long long>(getpid()) << 32);
}

// Creates a new file beside `target`, exclusively, named ".name.random", and opens it for writing.
// Returns its descriptor and name, or -1 with errno set.
int CreateBeside(const std::string& target, mode_t mode, std::string& created) {
    const std::size_t slash = target.rfind('/');
    const std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%012llx", RandomNumber() & 0xFFFFFFFFFFFFULL);
        created = DirectoryOf(target) + "." + name.substr(0, kNameKept) + suffix;
        const int descriptor = open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// Gives the new file the old one's permission bits, and as root also its owner and group (first:
// a change of owner clears the set-user-ID bit). What counts is the result: a file system that
// keeps no such bits (vfat) gives the new file what it gave the old one. Only the read, write and
// execute bits are compared: the kernel drops set-group-ID for a group the saving user is not in.
bool TakeOverPermissions(int descriptor, const struct stat& old) {
    const bool root = geteuid() == 0;
    if (root) (void)fchown(descriptor, old.st_uid, old.st_gid);
    (void)fchmod(descriptor, old.st_mode & 07777);
    struct stat now {};
    if (fstat(descriptor, &now) != 0) return false;
    const bool owned = !root || (now.st_uid == old.st_uid && now.st_gid == old.st_gid);
    return owned && (now.st_mode & 0777) == (old.st_mode & 0777);
}

// After a rename, the directory entry is only durable once the directory is synced. Its failure
// is not the save's: the new content is in place, and some file systems cannot sync directories.
void SyncDirectory(const std::string& directory) {
    const int descriptor = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    (void)fsync(descriptor);
    close(descriptor);
}

// Writes the content to a new file beside `target` and renames it over `target`. `old` is the
// status of the file it replaces, or null for a new path.
Outcome Replace(const std::string& target, const struct stat* old, const CFileContent& content) {
    std::string created;
    const int descriptor = CreateBeside(target, old ? 0600 : 0666, created);
    if (descriptor < 0) return old && (errno == EACCES || errno == EPERM) ? Outcome::WriteInPlace : Outcome::Failed;
    CRemoveUnlessKept removal(created);
    FilePtr file(fdopen(descriptor, "wb"));
    if (!file) {
        close(descriptor);
        return Outcome::Failed;
    }
    if (old && !TakeOverPermissions(descriptor, *old)) return Outcome::Failed;

    CStdioWriter writer(file.get());
    content(writer);
    const bool written = std::fflush(file.get()) == 0 && !writer.Failed() && fsync(descriptor) == 0;
    if (std::fclose(file.release()) != 0 || !written) return Outcome::Failed;

    if (std::rename(created.c_str(), target.c_str()) != 0)
        return old && errno == EBUSY ? Outcome::WriteInPlace : Outcome::Failed;
    removal.Keep();
    SyncDirectory(DirectoryOf(target));
    return Outcome::Replaced;
}

// What pugixml's save_file does: open (creating or truncating), write, close.
bool WriteInPlace(const std::string& path, const CFileContent& content) {
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    CStdioWriter writer(file.get());
    content(writer);
    const bool written = std::fflush(file.get()) == 0 && !writer.Failed();
    return std::fclose(file.release()) == 0 && written;
}

bool WriteFile(const std::string& path, const CFileContent& content) {
    std::string target;
    struct stat old {};
    if (stat(path.c_str(), &old) != 0) {
        // A new path (perhaps behind a dangling link) is created by a rename too, so that no
        // partial file appears under its name. Other failures are left to fopen to report.
        if (errno != ENOENT) return WriteInPlace(path, content);
        return FollowLinks(path, target) && Replace(target, nullptr, content) == Outcome::Replaced;
    }
    if (!S_ISREG(old.st_mode)) return WriteInPlace(path, content);

    // A file that may not be written is not replaced behind its back.
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return false;
    // Links that cannot be followed by name, such as those in /proc, are written through.
    struct stat found {};
    if (!FollowLinks(path, target) || lstat(target.c_str(), &found) != 0 || found.st_dev != old.st_dev ||
        found.st_ino != old.st_ino)
        return WriteInPlace(path, content);

    switch (Replace(target, &old, content)) {
    case Outcome::Replaced:
        return true;
    case Outcome::WriteInPlace:
        return WriteInPlace(path, content);
    case Outcome::Failed:
        break;
    }
    return false;
}

} // namespace

bool WriteFileReplacing(const std::string& path, const CFileContent& content) {
    try {
        return WriteFile(path, content);
    } catch (const std::bad_alloc&) {
        return false;
    }
}
