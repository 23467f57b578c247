// Not part of the public interface.
//
// Saving a file so that a failed or interrupted save never costs the previous content.
//
// Opening the file and writing into it, as pugixml's save_file does, truncates it first: when the
// write then fails (disk full, quota, file-size limit, I/O error) or the process dies, the previous
// content is gone and a partial file is left. Here a regular file is replaced instead: the new
// content goes to a new file in the same directory, which is flushed to disk and then renamed over
// the old one. A rename within a file system is atomic, so the path names either the complete old
// file or the complete new one, also after a crash or a power cut.
//
// The replacement must not weaken what protects the file, so it gets the old file's owner and
// group, extended attributes (POSIX ACLs, security labels, capabilities, user attributes) and
// permission bits. Where any of these cannot be reproduced, and wherever the replacement cannot be
// set up although a direct write may still work, the file is written in place, as pugixml's
// save_file writes it (truncated, then written), without the guarantee:
//  - no new file can be made beside it (EACCES, EPERM; EROFS: a file bind-mounted into a read-only
//    directory; ENOENT: a pseudo-filesystem; ENAMETOOLONG: only the new file's path is too long);
//  - the owner, the group or an extended attribute cannot be set (a user namespace, a label the
//    process may not give), or the new file does not end up with them all;
//  - the rename is refused (EPERM: a sticky directory; EBUSY, EXDEV: a file mounted into place).
// Errors that a direct write meets too (no space, quota, I/O errors, the file-size limit) fail the
// save and keep the old file. The default action of SIGXFSZ ends the process during the write: the
// old file survives, and the new one is left behind.
//
// Never replaced, always written in place: anything that is not a regular file (a device such as
// /dev/null, a FIFO), and every path that reaches its file through /proc, which is how
// /dev/stdout, /dev/stderr, /dev/fd/N and /proc/self/fd/N (and links to them) name what a
// descriptor refers to: a replacement would leave the descriptor on the old file, so that all
// later output through it would be lost. One of the process's own descriptors is written through
// itself, at its offset, without truncating (after what stdio holds for it), so that
// `prog /dev/stdout > out.txt` keeps everything the program prints, in order. A file that may not be written is not
// replaced either: the save fails, as opening it would. A path that names nothing yet is created by a rename too, with
// 0666 less the umask, as fopen would create it.
#ifndef ZUX_ZUXFILEREPLACEMENT_H
#define ZUX_ZUXFILEREPLACEMENT_H

#include <pugixml.hpp>

#include <string>

/// What produces the file's content into the writer it is given: a reference to a callable, which
/// must outlive the call (a lambda in the argument list does). Unlike std::function it never
/// allocates. May be called twice when the file has to be written in place after all; it must
/// write the same both times.
class CFileContent {
public:
    template <class Write>
    CFileContent(const Write& write) // implicit: it stands for the callable
        : m_write(&write),
          m_call([](const void* w, pugi::xml_writer& file) { (*static_cast<const Write*>(w))(file); }) {}

    void operator()(pugi::xml_writer& file) const { m_call(m_write, file); }

private:
    const void* m_write;
    void (*m_call)(const void*, pugi::xml_writer&);
};

/// Writes what `content` produces to the file at `path`, as described above. Returns 0, or the error
/// number of the call that failed: ENOMEM when memory ran out, EINVAL for a path holding a NUL
/// character (the file named by the part before it is not the file asked for). A regular file
/// that was to be replaced then still holds its previous content, and no new file is left behind.
int WriteFileReplacing(const std::string& path, const CFileContent& content);

/// The calls of a save that tests make fail, to reach every way a save can go.
enum class FileCall { CreateTemporary, Chown, SetAttribute, Write, Sync, Rename };
/// For tests only: while set, `failure` is asked before each of those calls, and a nonzero error
/// number makes the call fail with it instead of being made. Null, the default, makes every call.
/// Not to be changed while a save runs.
void SetFileCallFailure(int (*failure)(FileCall));

#endif
