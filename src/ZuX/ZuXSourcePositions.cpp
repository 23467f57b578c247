#include "ZuXSourcePositions.h"

#include "ZuXLoad.h"

#include <algorithm>
#include <cstdint>
#include <new>

static_assert(PUGIXML_VERSION == 1130,
              "positions are where pugixml 1.13 leaves names and values in its buffer (as offset_debug counts), "
              "shared by copies within the document and kept in place when rewritten shorter");

namespace {

constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

void CZuXSourcePositions::Clear() noexcept {
    m_text = nullptr;
    m_size = 0;
    m_path.clear();
    m_table.reset();
    m_counted = 0;
    m_failed = false;
}

void CZuXSourcePositions::ReadAgainFrom(const std::string& path, const struct stat& status) noexcept {
    try {
        m_path = path;
        m_file = status;
    } catch (const std::bad_alloc&) {
        // Without the path the file cannot be read again: its items have no positions.
    }
}

void CZuXSourcePositions::Count(const char* text, std::size_t size) {
    m_table = std::make_unique<CZuXLineTable>(text, size);
    m_counted = size > 0 ? size - 1 : 0; // the text ends at its closing NUL
}

void CZuXSourcePositions::FailedAt(std::size_t offset) {
    if (TableReady() != PositionLookup::Found) return;
    m_failed = true;
    m_error = m_table->At(std::min(offset, m_counted));
}

bool CZuXSourcePositions::ErrorPosition(SourcePosition& position) const noexcept {
    if (m_failed) position = m_error;
    return m_failed;
}

PositionLookup CZuXSourcePositions::TableReady() {
    if (m_table) return PositionLookup::Found;
    if (m_path.empty()) return PositionLookup::NotKept;
    try {
        const DecodedInput again = ReadFileAgain(m_path, m_file);
        // The same file decodes to the same text; a text of another size is another file.
        if (again.outcome == DecodedInput::Outcome::OutOfMemory) return PositionLookup::OutOfMemory;
        if (again.outcome != DecodedInput::Outcome::Done || again.size != m_size) return PositionLookup::TextGone;
        Count(again.text.get(), again.size);
    } catch (const std::bad_alloc&) {
        return PositionLookup::OutOfMemory;
    }
    return PositionLookup::Found;
}

std::size_t CZuXSourcePositions::OffsetOf(const char* anchor) const noexcept {
    // Compared as numbers: a name or value that a program wrote lies in another allocation.
    const auto address = reinterpret_cast<std::uintptr_t>(anchor);
    const auto begin = reinterpret_cast<std::uintptr_t>(m_text);
    return m_text && address >= begin && address - begin < m_size ? address - begin : kNowhere;
}

PositionLookup CZuXSourcePositions::FindAt(const char* anchor, std::size_t before, SourcePosition& position) {
    const std::size_t offset = OffsetOf(anchor);
    if (offset == kNowhere || offset < before) return PositionLookup::NotInText;
    const PositionLookup table = TableReady();
    if (table == PositionLookup::Found) position = m_table->At(offset - before);
    return table;
}

PositionLookup CZuXSourcePositions::Find(const pugi::xml_node& node, SourcePosition& position) {
    // Names and values are preceded by markup that pugixml reads without writing to it.
    switch (node.type()) {
    case pugi::node_element:
        return FindAt(node.name(), 1, position); // "<name"
    case pugi::node_declaration:
    case pugi::node_pi:
        return FindAt(node.name(), 2, position); // "<?name"
    case pugi::node_pcdata:
        return FindAt(node.value(), 0, position);
    case pugi::node_cdata:
        return FindAt(node.value(), 9, position); // "<![CDATA["
    case pugi::node_comment:
        return FindAt(node.value(), 4, position); // "<!--"
    case pugi::node_doctype: {
        // "<!DOCTYPE", white space, then the value; the white space is looked at only in the text.
        const char* value = node.value();
        const std::size_t offset = OffsetOf(value);
        if (offset == kNowhere) return PositionLookup::NotInText;
        std::size_t space = 0;
        while (space < offset && IsSpace(value[-1 - static_cast<std::ptrdiff_t>(space)])) ++space;
        return FindAt(value, space + 9, position);
    }
    default: // the document node and no node
        return PositionLookup::NotInText;
    }
}

PositionLookup CZuXSourcePositions::Find(const pugi::xml_attribute& attribute, SourcePosition& position) {
    return attribute ? FindAt(attribute.name(), 0, position) : PositionLookup::NotInText;
}

CZuError PositionResult(PositionLookup lookup, const SourcePosition& position, unsigned long& line,
                        unsigned long& column, const WNCodeLocation& location) {
    const char* reason = nullptr;
    switch (lookup) {
    case PositionLookup::Found:
        line = position.line;
        column = position.column;
        return CZuError::Success();
    case PositionLookup::NotInText:
        reason = "not loaded from text";
        break;
    case PositionLookup::NotKept:
        reason = "loaded from a string without BZuXLoad::KeepPositions";
        break;
    case PositionLookup::TextGone:
        reason = "the file changed or cannot be read since it was loaded";
        break;
    case PositionLookup::OutOfMemory:
        return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    }
    return WNErrorUtil::ErrorWin32(location, ZuWin32::NotFound, "Reason=[%s]", reason);
}
