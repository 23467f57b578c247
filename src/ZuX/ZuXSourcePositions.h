// Not part of the public interface.
//
// Where the items of a loaded document stand in the text it was loaded from.
//
// pugixml parses the text in place and keeps it as the document's buffer: every name and value
// that a load made points into it, so an item's offset in the text is where its name (or value)
// lies in the buffer. What pugixml no longer keeps is the text around them: it cuts names and
// values with NULs (over the character after an element's name, which may be a line end) and
// rewrites entity references and line ends inside values, so lines and columns cannot be counted
// in the buffer. They are counted in the text itself (CZuXLineTable), which is had again when the
// first position is asked for, so that loads that never ask pay nothing:
//  - a file is read and decoded again, exactly as the load did, once its identity (device, inode,
//    size, modification time) shows it unchanged; a file changed since gives no positions;
//  - a string is gone by then: its table is built while it loads when BZuXLoad::KeepPositions
//    asks for it (a file's too, then), and a string loaded without that bit gives none;
//  - a load that fails has the text at hand: it counts the error's position before it returns.
// Positions survive edits elsewhere: nothing here depends on the tree. A name or value rewritten
// shorter stays in place in the buffer, so the item keeps its position; one rewritten longer, a
// node created, or a copy from another document lives outside the buffer and has none. A copy made
// within the document shares its source's names (pugixml shares text within a document) and gives
// its source's position.
#ifndef ZUX_ZUXSOURCEPOSITIONS_H
#define ZUX_ZUXSOURCEPOSITIONS_H

#include "ZuXLineTable.h"

#include <ZuUtils/CZuError.h>

#include <pugixml.hpp>

#include <sys/stat.h>

#include <cstddef>
#include <memory>
#include <string>

/// Why a position is not known, or that it is.
enum class PositionLookup {
    Found,
    NotInText, ///< the item was not loaded (created, renamed, copied from another document)
    NotKept,   ///< the text is gone: a string loaded without KeepPositions
    TextGone,  ///< the file changed or cannot be read since it was loaded
    OutOfMemory,
};

class CZuXSourcePositions {
public:
    /// Forgets the last load.
    void Clear() noexcept;
    /// The text pugixml parses in place and keeps: `size` bytes, the last of them a NUL.
    void Parsing(const char* text, std::size_t size) noexcept {
        m_text = text;
        m_size = size;
    }
    /// Where the text can be read again: the regular file `path`, as `status` describes it. When
    /// memory for the path runs out, nowhere.
    void ReadAgainFrom(const std::string& path, const struct stat& status) noexcept;
    /// Counts the positions of `text`, the UTF-8 that pugixml parses: `size` bytes, the last of
    /// them its closing NUL.
    void Count(const char* text, std::size_t size);
    /// Whether the positions are counted.
    bool Counted() const noexcept { return static_cast<bool>(m_table); }
    /// Takes the position at `offset` in the text (its end, at most) as the load's error's.
    void FailedAt(std::size_t offset);

    /// The position of `node`: its '<', or a text node's first character.
    PositionLookup Find(const pugi::xml_node& node, SourcePosition& position);
    /// The position of `attribute`: its name's first character.
    PositionLookup Find(const pugi::xml_attribute& attribute, SourcePosition& position);
    /// The load error's position, when a load failed at a known place.
    bool ErrorPosition(SourcePosition& position) const noexcept;
    /// The bytes the table of positions holds; 0 before it is built.
    std::size_t MemoryUsed() const noexcept { return m_table ? m_table->MemoryUsed() : 0; }

private:
    PositionLookup TableReady();
    std::size_t OffsetOf(const char* anchor) const noexcept;
    PositionLookup FindAt(const char* anchor, std::size_t before, SourcePosition& position);

    const char* m_text = nullptr; // null when the last load failed before parsing
    std::size_t m_size = 0;
    std::string m_path; // empty: nothing to read again
    struct stat m_file {};
    std::unique_ptr<CZuXLineTable> m_table;
    std::size_t m_counted = 0; // the length of the text counted
    bool m_failed = false;
    SourcePosition m_error{0, 0};
};

/// A GetSourcePosition's result: success with `line` and `column` set when `lookup` found the
/// position; otherwise 1168 with "Reason=[...]" (14 for lack of memory), both left untouched.
CZuError PositionResult(PositionLookup lookup, const SourcePosition& position, unsigned long& line,
                        unsigned long& column, const WNCodeLocation& location);

#endif
