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
// Consequences and exceptions:
//  - The new file is a new inode. It gets the old file's permission bits (and, for root, its owner
//    and group); other hard links to the old file keep the old content. A symbolic link stays a
//    link: the file it finally leads to is the one replaced.
//  - A path that names nothing yet is created with 0666 less the umask, as fopen would create it.
//  - Anything that is not a regular file (a device such as /dev/null, a FIFO) cannot be replaced
//    and is written directly, as before.
//  - When no new file can be made in the directory (no write permission there) but the file
//    itself is writable, or the file cannot be renamed over (a file bind-mounted into place), the
//    file is written in place, without the guarantee.
//  - A file that may not be written is not replaced either: the save fails, as opening it would.
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

/// Writes what `content` produces to the file at `path`, as described above. Returns false when the
/// file could not be written, also when memory ran out; a regular file then still holds its previous
/// content, and no new file is left behind.
bool WriteFileReplacing(const std::string& path, const CFileContent& content);

#endif
