// Not part of the public interface.
//
// Lines and columns of byte offsets into UTF-8 text, as an editor counts them: lines from 1, broken
// by "\n", "\r\n" or a lone "\r" (XML's line ends); columns from 1, one per character (Unicode code
// point), so a tab is one column and a byte-order mark at the start is none.
//
// Built once from the text, which it does not keep: a document asks for positions long after
// pugixml has parsed its buffer in place, and by then the buffer no longer holds the text (names
// and values are cut with NULs, entity references and line ends rewritten). So the table holds what
// an offset needs and nothing of the text: the line starts, as 16-bit offsets inside 64 KiB blocks,
// and the runs of bytes from 0x80 up, whose continuation bytes are the only bytes that are not a
// character of their own. That is 2 bytes a line and 6 a run: about 1/9 of iso_639-3.xml (18 bytes a
// line, almost all ASCII) and 1/10 of freedesktop.org.xml (many translated lines).
#ifndef ZUX_ZUXLINETABLE_H
#define ZUX_ZUXLINETABLE_H

#include <cstddef>
#include <cstdint>
#include <vector>

/// A line and a column, both from 1.
struct SourcePosition {
    unsigned long line;
    unsigned long column;
};

class CZuXLineTable {
public:
    /// The table of `text` (`length` bytes of UTF-8). Throws std::bad_alloc.
    CZuXLineTable(const char* text, std::size_t length);

    /// The position of the byte at `offset` (at most the length). Exact for an offset at the start
    /// of a character; inside a character, the column of that character.
    SourcePosition At(std::size_t offset) const noexcept;

    /// The bytes the table holds.
    std::size_t MemoryUsed() const noexcept;

private:
    struct Block {
        std::uint64_t firstLine;           // index in m_lineStarts of the first line start in the block
        std::uint64_t firstRun;            // index in m_runs of the first run in the block
        std::uint64_t continuationsBefore; // continuation bytes before the block
    };
    struct Run {
        std::uint16_t begin;         // offsets inside the block; a run never crosses a block's end
        std::uint16_t last;          // its last byte
        std::uint16_t continuations; // continuation bytes in the block up to the run's end
    };

    void Scan(const char* text, std::size_t length);
    std::size_t LineStartAt(std::size_t index) const noexcept;
    std::uint64_t ContinuationsBefore(std::size_t offset) const noexcept;

    std::size_t m_firstLineStart = 0;        // after a byte-order mark
    std::vector<Block> m_blocks;             // one per 64 KiB, and one past the end
    std::vector<std::uint16_t> m_lineStarts; // the starts of lines 2, 3, ... inside their blocks
    std::vector<Run> m_runs;
};

#endif
