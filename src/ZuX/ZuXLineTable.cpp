#include "ZuXLineTable.h"

#include <emmintrin.h>

#include <algorithm>

namespace {

constexpr unsigned kBlockBits = 16;
constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits;
constexpr std::size_t kInBlock = kBlockSize - 1;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The bytes among the 16 at `p` that the table counts: line ends, and bytes from 0x80 up (the sign
// bit), one bit each. Most of a document's text holds none, and is passed over 16 bytes at a time.
unsigned CountedBytes(const char* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i ends =
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(ends, bytes)));
}

// Where the run of bytes from 0x80 up that starts at `i` ends (at `end` at the latest), adding its
// continuation bytes to `continuations`.
std::size_t RunEnd(const char* text, std::size_t i, std::size_t end, std::uint16_t& continuations) {
    for (; i + 16 <= end; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const auto high = static_cast<unsigned>(_mm_movemask_epi8(bytes));
        const auto follow = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(
            _mm_and_si128(bytes, _mm_set1_epi8(static_cast<char>(0xC0))), _mm_set1_epi8(static_cast<char>(0x80)))));
        const auto length = static_cast<unsigned>(__builtin_ctz(~high)); // the run's bytes in these 16
        continuations = static_cast<std::uint16_t>(continuations + __builtin_popcount(follow & ((1u << length) - 1)));
        if (length < 16) return i + length;
    }
    for (; i < end && static_cast<unsigned char>(text[i]) >= 0x80; ++i)
        if (IsContinuation(static_cast<unsigned char>(text[i]))) ++continuations;
    return i;
}

} // namespace

CZuXLineTable::CZuXLineTable(const char* text, std::size_t length) {
    if (length >= 3 && static_cast<unsigned char>(text[0]) == 0xEF && static_cast<unsigned char>(text[1]) == 0xBB &&
        static_cast<unsigned char>(text[2]) == 0xBF)
        m_firstLineStart = 3;
    Scan(text, length);
    m_lineStarts.shrink_to_fit();
    m_runs.shrink_to_fit();
}

void CZuXLineTable::Scan(const char* text, std::size_t length) {
    const std::size_t blocks = length / kBlockSize + 1;
    m_blocks.reserve(blocks + 1);
    std::uint64_t continuations = 0;
    bool lineAtBlockStart = false; // a line end was the last byte of the block before
    for (std::size_t block = 0; block < blocks; ++block) {
        const std::size_t base = block * kBlockSize;
        const std::size_t end = std::min(length, base + kBlockSize);
        m_blocks.push_back({m_lineStarts.size(), m_runs.size(), continuations});
        if (lineAtBlockStart) m_lineStarts.push_back(0);
        lineAtBlockStart = false;
        std::uint16_t inBlock = 0; // continuation bytes of the block so far
        std::size_t i = base + (block == 0 ? m_firstLineStart : 0);
        while (i < end) {
            if (i + 16 <= end) {
                const unsigned counted = CountedBytes(text + i);
                if (counted == 0) {
                    i += 16;
                    continue;
                }
                i += static_cast<std::size_t>(__builtin_ctz(counted));
            }
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte >= 0x80) {
                const std::size_t begin = i;
                i = RunEnd(text, i, end, inBlock);
                m_runs.push_back({static_cast<std::uint16_t>(begin & kInBlock),
                                  static_cast<std::uint16_t>((i - 1) & kInBlock), inBlock});
                continue;
            }
            ++i;
            if (byte != '\n' && (byte != '\r' || (i < length && text[i] == '\n'))) continue;
            if (i == end && end == base + kBlockSize)
                lineAtBlockStart = true;
            else
                m_lineStarts.push_back(static_cast<std::uint16_t>(i & kInBlock));
        }
        continuations += inBlock;
    }
    m_blocks.push_back({m_lineStarts.size(), m_runs.size(), continuations});
}

std::size_t CZuXLineTable::LineStartAt(std::size_t index) const noexcept {
    // The block that holds line start `index`: the last one whose first line is not after it.
    const auto after = std::upper_bound(m_blocks.begin(), m_blocks.end() - 1, index,
                                        [](std::size_t i, const Block& b) { return i < b.firstLine; });
    const auto block = static_cast<std::size_t>(after - m_blocks.begin()) - 1;
    return (block << kBlockBits) + m_lineStarts[index];
}

std::uint64_t CZuXLineTable::ContinuationsBefore(std::size_t offset) const noexcept {
    const std::size_t block = offset >> kBlockBits;
    const Block& at = m_blocks[block];
    const auto inBlock = static_cast<std::uint16_t>(offset & kInBlock);
    const auto first = m_runs.begin() + static_cast<std::ptrdiff_t>(at.firstRun);
    const auto last = m_runs.begin() + static_cast<std::ptrdiff_t>(m_blocks[block + 1].firstRun);
    // The first run that does not end before the offset.
    const auto run = std::lower_bound(first, last, inBlock, [](const Run& r, std::uint16_t o) { return r.last < o; });
    std::uint64_t count = at.continuationsBefore + (run == first ? 0 : (run - 1)->continuations);
    if (run != last && run->begin < inBlock) {
        // Inside a run, which only an offset inside a character or a malformed sequence gives:
        // its continuation bytes are spread evenly, which is exact for runs of one script.
        const std::uint16_t before = run == first ? 0 : (run - 1)->continuations;
        const std::uint64_t runContinuations = run->continuations - before;
        count += runContinuations * (inBlock - run->begin) / (run->last - run->begin + 1u);
    }
    return count;
}

SourcePosition CZuXLineTable::At(std::size_t offset) const noexcept {
    const std::size_t block = std::min(offset >> kBlockBits, m_blocks.size() - 2);
    const Block& at = m_blocks[block];
    const auto begin = m_lineStarts.begin() + static_cast<std::ptrdiff_t>(at.firstLine);
    const auto end = m_lineStarts.begin() + static_cast<std::ptrdiff_t>(m_blocks[block + 1].firstLine);
    // The line starts of the block at or before the offset.
    const auto after = std::upper_bound(begin, end, static_cast<std::uint16_t>(offset & kInBlock));
    const auto index = static_cast<std::size_t>(after - m_lineStarts.begin()); // lines started so far, less one
    const std::size_t start = index == 0 ? m_firstLineStart : LineStartAt(index - 1);
    const std::size_t from = std::max(start, std::min(offset, m_firstLineStart));
    const std::uint64_t characters = (offset - from) - (ContinuationsBefore(offset) - ContinuationsBefore(from));
    return {static_cast<unsigned long>(index + 1), static_cast<unsigned long>(characters + 1)};
}

std::size_t CZuXLineTable::MemoryUsed() const noexcept {
    return sizeof *this + m_blocks.capacity() * sizeof(Block) + m_lineStarts.capacity() * sizeof(std::uint16_t) +
           m_runs.capacity() * sizeof(Run);
}
