#include "ZuXFileReplacement.h"

#include "ZuXName.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// Symbolic links followed in a row at most, as the kernel does.
constexpr int kMaxLinks = 40;
// Names tried for the new file before giving up.
constexpr int kNameAttempts = 100;
// How much of the file's name goes into the new file's name, which must stay below NAME_MAX.
constexpr std::size_t kNameKept = 200;

int (*s_failure)(FileCall) = nullptr;

// Whether a test makes `call` fail; errno then holds its error number.
bool Refused(FileCall call) {
    const int error = s_failure ? s_failure(call) : 0;
    if (error != 0) errno = error;
    return error != 0;
}

// The error number of the call that just failed; EIO where a call failed without saying why.
int LastError() {
    return errno != 0 ? errno : EIO;
}

struct CloseFile {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, CloseFile>;

// What pugixml's file writer does, plus keeping the error of the first write that failed.
class CStdioWriter : public pugi::xml_writer {
public:
    explicit CStdioWriter(FILE* file) : m_file(file) {}

    void write(const void* data, size_t size) override {
        if (m_error != 0) return;
        if (Refused(FileCall::Write) || std::fwrite(data, 1, size, m_file) != size) m_error = LastError();
    }

    // Writes out what stdio still holds: 0, or the error number of the first write that failed.
    int Flush() {
        if (m_error == 0 && std::fflush(m_file) != 0) m_error = LastError();
        return m_error;
    }

private:
    FILE* m_file;
    int m_error = 0;
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

// Whether the entry `path` lies in /proc, where the links in fd/ name what a descriptor refers to.
bool InProc(const std::string& path) {
    const std::string directory = DirectoryOf(path);
    struct statfs system {};
    return statfs(directory.empty() ? "." : directory.c_str(), &system) == 0 && system.f_type == PROC_SUPER_MAGIC;
}

enum class Resolved { File, ThroughProc, Failed };

// The path of the file that `path` finally names, following symbolic links, so that a link stays a
// link and its target is replaced. It need not exist. Stops at the first entry in /proc.
Resolved FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int links = 0; links < kMaxLinks; ++links) {
        if (InProc(target)) return Resolved::ThroughProc;
        struct stat status {};
        if (lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return Resolved::File;
        std::string link = ReadLink(target);
        if (link.empty()) return Resolved::Failed;
        if (link[0] != '/') link.insert(0, DirectoryOf(target));
        target = std::move(link);
    }
    errno = ELOOP;
    return Resolved::Failed;
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
        if (Refused(FileCall::CreateTemporary)) return -1;
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%012llx", RandomNumber() & 0xFFFFFFFFFFFFULL);
        created = DirectoryOf(target) + "." + name.substr(0, kNameKept) + suffix;
        const int descriptor = open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// A file's extended attributes, names with values, in name order.
using Attributes = std::vector<std::pair<std::string, std::string>>;

// What `read(buffer, size)` gives (a list or a value of extended attributes), into `text`, asking
// again while it changes its size.
template <class Read>
bool ReadSized(const Read& read, std::string& text) {
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0) return false;
        text.resize(static_cast<std::size_t>(size));
        const ssize_t got = read(text.data(), text.size());
        if (got >= 0) {
            text.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) return false;
    }
}

// The extended attributes of a file, through `list(buffer, size)` and `get(name, buffer, size)`:
// none on a file system without them.
template <class List, class Get>
bool ReadAttributes(const List& list, const Get& get, Attributes& attributes) {
    attributes.clear();
    std::string names;
    if (!ReadSized(list, names)) return errno == ENOTSUP;
    for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
        std::string name = names.c_str() + at;
        std::string value;
        if (!ReadSized([&](char* buffer, std::size_t size) { return get(name.c_str(), buffer, size); }, value))
            return false;
        attributes.emplace_back(std::move(name), std::move(value));
    }
    std::sort(attributes.begin(), attributes.end());
    return true;
}

bool ReadAttributes(const std::string& path, Attributes& attributes) {
    return ReadAttributes(
        [&](char* names, std::size_t size) { return listxattr(path.c_str(), names, size); },
        [&](const char* name, char* value, std::size_t size) { return getxattr(path.c_str(), name, value, size); },
        attributes);
}

bool ReadAttributes(int descriptor, Attributes& attributes) {
    return ReadAttributes(
        [&](char* names, std::size_t size) { return flistxattr(descriptor, names, size); },
        [&](const char* name, char* value, std::size_t size) { return fgetxattr(descriptor, name, value, size); },
        attributes);
}

// Gives the new file exactly the extended attributes `wanted`: removes those it got that the old
// file has not (an ACL inherited from the directory), and sets those that differ.
bool SetAttributes(int descriptor, const Attributes& wanted) {
    Attributes present;
    if (!ReadAttributes(descriptor, present)) return false;
    for (const auto& attribute : present)
        if (std::none_of(wanted.begin(), wanted.end(), [&](const auto& w) { return w.first == attribute.first; }) &&
            fremovexattr(descriptor, attribute.first.c_str()) != 0)
            return false;
    for (const auto& attribute : wanted)
        if (!std::binary_search(present.begin(), present.end(), attribute) &&
            (Refused(FileCall::SetAttribute) ||
             fsetxattr(descriptor, attribute.first.c_str(), attribute.second.data(), attribute.second.size(), 0) != 0))
            return false;
    return true;
}

// Gives the new file everything that protects the old one `target`: its owner and group first (a
// change of owner clears the set-user-ID bit and capabilities), then its extended attributes, then
// its permission bits. What counts is the result, which is read back: a file system that keeps no
// owners or modes (vfat) gives the new file what it gave the old one. Only the read, write and
// execute bits are compared: the kernel drops set-group-ID for a group the saving user is not in.
bool TakeOverProtection(int descriptor, const std::string& target, const struct stat& old) {
    if (Refused(FileCall::Chown) || fchown(descriptor, old.st_uid, old.st_gid) != 0) return false;
    Attributes wanted;
    if (!ReadAttributes(target, wanted) || !SetAttributes(descriptor, wanted)) return false;
    if (fchmod(descriptor, old.st_mode & 07777) != 0) return false;
    struct stat now {};
    Attributes given;
    return fstat(descriptor, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid &&
           (now.st_mode & 0777) == (old.st_mode & 0777) && ReadAttributes(descriptor, given) && given == wanted;
}

// After a rename, the directory entry is only durable once the directory is synced. Its failure
// is not the save's: the new content is in place, and some file systems cannot sync directories.
void SyncDirectory(const std::string& directory) {
    const int descriptor = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    (void)fsync(descriptor);
    close(descriptor);
}

// Where a direct write may still work although no new file can be made beside the target.
bool CreationRefused(int error) {
    return error == EACCES || error == EPERM || error == EROFS || error == ENOENT || error == ENAMETOOLONG;
}

// Where a direct write may still work although the new file cannot be renamed over the target.
bool RenameRefused(int error) {
    return error == EPERM || error == EBUSY || error == EXDEV;
}

// Writes the content to a new file beside `target` and renames it over `target`. `old` is the
// status of the file it replaces, or null for a new path. On failure, `error` gets the error
// number of the call that failed.
Outcome Replace(const std::string& target, const struct stat* old, const CFileContent& content, int& error) {
    std::string created;
    const int descriptor = CreateBeside(target, old ? 0600 : 0666, created);
    if (descriptor < 0) {
        error = LastError();
        return CreationRefused(error) ? Outcome::WriteInPlace : Outcome::Failed;
    }
    CRemoveUnlessKept removal(created);
    FilePtr file(fdopen(descriptor, "wb"));
    if (!file) {
        error = LastError();
        close(descriptor);
        return Outcome::Failed;
    }

    // The content first: a write clears capabilities, and without privilege the set-user-ID bit.
    CStdioWriter writer(file.get());
    content(writer);
    error = writer.Flush();
    if (error != 0) return Outcome::Failed;
    if (old && !TakeOverProtection(descriptor, target, *old)) return Outcome::WriteInPlace;
    if (Refused(FileCall::Sync) || fsync(descriptor) != 0) {
        error = LastError();
        return Outcome::Failed;
    }
    if (std::fclose(file.release()) != 0) {
        error = LastError();
        return Outcome::Failed;
    }

    if (Refused(FileCall::Rename) || std::rename(created.c_str(), target.c_str()) != 0) {
        error = LastError();
        return RenameRefused(error) ? Outcome::WriteInPlace : Outcome::Failed;
    }
    removal.Keep();
    SyncDirectory(DirectoryOf(target));
    return Outcome::Replaced;
}

// Writes the content into `file` and closes it: 0, or the error number of the call that failed.
int WriteAndClose(FilePtr file, const CFileContent& content) {
    CStdioWriter writer(file.get());
    content(writer);
    const int error = writer.Flush();
    if (std::fclose(file.release()) != 0 && error == 0) return LastError();
    return error;
}

// What pugixml's save_file does: open (creating or truncating), write, close.
int WriteInPlace(const std::string& path, const CFileContent& content) {
    FilePtr file(std::fopen(path.c_str(), "wb"));
    return file ? WriteAndClose(std::move(file), content) : LastError();
}

// The descriptor that `entry`, reached through /proc, names when it is one of this process's own
// fd/N links (/proc/self/fd/N, /dev/fd/N, /dev/stdout); -1 otherwise.
int OwnDescriptorNamed(const std::string& entry) {
    const std::string number = entry.substr(DirectoryOf(entry).size());
    if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos) return -1;
    struct stat directory {};
    if (stat(DirectoryOf(entry).c_str(), &directory) != 0) return -1;
    for (const char* own : {"/proc/self/fd", "/proc/thread-self/fd"}) {
        struct stat status {};
        if (stat(own, &status) == 0 && status.st_dev == directory.st_dev && status.st_ino == directory.st_ino)
            return std::stoi(number);
    }
    return -1;
}

// A path that reaches its file through /proc. One of the process's own descriptors is written
// through itself, at its offset and without truncating: opening its path again would truncate a
// redirected output file and write from its start, over what the program printed before (and
// after). What stdio still holds for that descriptor goes out first, so the order is kept.
int WriteThroughProc(const std::string& entry, const std::string& path, const CFileContent& content) {
    const int descriptor = OwnDescriptorNamed(entry);
    if (descriptor < 0) return WriteInPlace(path, content);
    for (FILE* stream : {stdout, stderr})
        if (fileno(stream) == descriptor) std::fflush(stream);
    const int copy = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return LastError();
    FilePtr file(fdopen(copy, "wb")); // fdopen never truncates
    if (file) return WriteAndClose(std::move(file), content);
    const int error = LastError();
    close(copy);
    return error;
}

int WriteReplacing(const std::string& target, const struct stat* old, const std::string& path,
                   const CFileContent& content) {
    int error = 0;
    switch (Replace(target, old, content, error)) {
    case Outcome::Replaced:
        return 0;
    case Outcome::WriteInPlace:
        return WriteInPlace(path, content);
    case Outcome::Failed:
        break;
    }
    return error;
}

int WriteFile(const std::string& path, const CFileContent& content) {
    if (HoldsNul(path)) return EINVAL;
    std::string target;
    struct stat old {};
    if (stat(path.c_str(), &old) != 0) {
        // A new path (perhaps behind a dangling link) is created by a rename too, so that no
        // partial file appears under its name. Other failures are left to fopen to report.
        if (errno != ENOENT) return WriteInPlace(path, content);
        switch (FollowLinks(path, target)) {
        case Resolved::File:
            return WriteReplacing(target, nullptr, path, content);
        case Resolved::ThroughProc:
            return WriteThroughProc(target, path, content);
        case Resolved::Failed:
            break;
        }
        return LastError();
    }
    const Resolved resolved = FollowLinks(path, target);
    if (resolved == Resolved::ThroughProc) return WriteThroughProc(target, path, content);
    if (!S_ISREG(old.st_mode)) return WriteInPlace(path, content);

    // A file that may not be written is not replaced behind its back.
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return LastError();
    // Links that cannot be followed by name are written through.
    struct stat found {};
    if (resolved != Resolved::File || lstat(target.c_str(), &found) != 0 || found.st_dev != old.st_dev ||
        found.st_ino != old.st_ino)
        return WriteInPlace(path, content);
    return WriteReplacing(target, &old, path, content);
}

} // namespace

int WriteFileReplacing(const std::string& path, const CFileContent& content) {
    try {
        return WriteFile(path, content);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

void SetFileCallFailure(int (*failure)(FileCall)) {
    s_failure = failure;
}
