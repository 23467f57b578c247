#include "ZuXDocumentPrivate.h"

#include <cstddef>
#include <cstring>

namespace {

// Win32 codes of the parse outcomes.
constexpr unsigned int kFileNotFound = 2;     // ERROR_FILE_NOT_FOUND
constexpr unsigned int kInvalidData = 13;     // ERROR_INVALID_DATA
constexpr unsigned int kOutOfMemory = 14;     // ERROR_OUTOFMEMORY
constexpr unsigned int kReadFault = 30;       // ERROR_READ_FAULT
constexpr unsigned int kUnknown = 774;        // ERROR_ERRORS_ENCOUNTERED
constexpr unsigned int kInternalError = 1359; // ERROR_INTERNAL_ERROR
constexpr unsigned int kEmpty = 4306;         // ERROR_EMPTY

struct ParseFailure {
    unsigned int win32;
    const char* format; // takes the offset (%lld), then the description (%s)
};

// Indexed by pugi::xml_parse_status; status_ok and status_file_not_found are handled apart.
constexpr ParseFailure kParseFailures[] = {
    {0, nullptr},
    {kFileNotFound, nullptr},
    {kReadFault, "Error reading from file/stream, Offset=[%lld], Description=[%s]"},
    {kOutOfMemory, "Out of memory, Offset=[%lld], Description=[%s]"},
    {kInternalError, "Internal error, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing, unrecognized tag, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing document declaration/processing instruction, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing comment, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing CDATA section, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing PCDATA section, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing start element tag, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing element attribute, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing end element tag, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing, mismatch of start-end tags, Offset=[%lld], Description=[%s]"},
    {kInvalidData, "Error parsing, unable to append nodes, Offset=[%lld], Description=[%s]"},
    {kEmpty, "Error parsing, document without element nodes, Offset=[%lld], Description=[%s]"},
};
constexpr std::size_t kKnownStatuses = sizeof kParseFailures / sizeof kParseFailures[0];

static_assert(kKnownStatuses == pugi::status_no_document_element + 1, "one row per pugixml parse status");

constexpr const char* kFunction =
    "static CZuError CZuXDocumentPrivate::GetErrorFromParseResult(pugi::xml_parse_result&)";

// The status as stored. Statuses that pugixml never makes, which the unknown row is for, can lie
// outside the enumeration's range, and reading such a value as the enumeration is undefined.
int StoredStatus(const pugi::xml_parse_result& result) {
    static_assert(sizeof(int) == sizeof result.status, "the status is stored as an int");
    int status;
    std::memcpy(&status, &result.status, sizeof status);
    return status;
}

} // namespace

CZuXDocumentPrivate::CZuXDocumentPrivate() = default;

CZuXDocumentPrivate::~CZuXDocumentPrivate() = default;

CZuError CZuXDocumentPrivate::GetErrorFromParseResult(pugi::xml_parse_result& result) {
    // Compared unsigned, so that negative statuses fall into the unknown row too.
    const auto status = static_cast<unsigned int>(StoredStatus(result));
    if (status == pugi::status_ok) return CZuError::Success();

    const auto offset = static_cast<long long>(result.offset);
    const char* description = result.description();
    if (status == pugi::status_file_not_found)
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), kFileNotFound, "Description=[%s]", description);
    if (status < kKnownStatuses) {
        const ParseFailure& row = kParseFailures[status];
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), row.win32, row.format, offset, description);
    }
    return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), kUnknown,
                                   "Unknown error, Offset=[%lld], Status=[%d], Description=[%s]", offset,
                                   StoredStatus(result), description);
}
