// The Win32 error codes ZuX reports, in one table.
#ifndef ZUUTILS_ZUWIN32CODES_H
#define ZUUTILS_ZUWIN32CODES_H

/// @file
/// Named constants for the Win32 codes that CZuError::GetWin32Code() gives, and their Windows
/// names as CZuError::AsString() shows them. Compare a result with them:
/// `if (error.GetWin32Code() == ZuWin32::NotFound) ...`

/// The Win32 codes ZuX reports.
namespace ZuWin32 {

constexpr unsigned int FileNotFound = 2;        ///< ERROR_FILE_NOT_FOUND: a file to load cannot be opened
constexpr unsigned int InvalidData = 13;        ///< ERROR_INVALID_DATA: malformed XML, or a malformed value
constexpr unsigned int OutOfMemory = 14;        ///< ERROR_OUTOFMEMORY: memory ran out
constexpr unsigned int ReadFault = 30;          ///< ERROR_READ_FAULT: reading a file failed
constexpr unsigned int ErrorsEncountered = 774; ///< ERROR_ERRORS_ENCOUNTERED: a save or a query failed
constexpr unsigned int NotFound = 1168;         ///< ERROR_NOT_FOUND: no such item, or nothing to write to
constexpr unsigned int InternalError = 1359;    ///< ERROR_INTERNAL_ERROR: pugixml's internal error
constexpr unsigned int Empty = 4306;            ///< ERROR_EMPTY: a document without an element

/// One row of the table.
struct Code {
    unsigned int value; ///< the code
    const char* name;   ///< its Windows name
};

/// Every code ZuX reports.
constexpr Code kCodes[] = {
    {FileNotFound, "ERROR_FILE_NOT_FOUND"},
    {InvalidData, "ERROR_INVALID_DATA"},
    {OutOfMemory, "ERROR_OUTOFMEMORY"},
    {ReadFault, "ERROR_READ_FAULT"},
    {ErrorsEncountered, "ERROR_ERRORS_ENCOUNTERED"},
    {NotFound, "ERROR_NOT_FOUND"},
    {InternalError, "ERROR_INTERNAL_ERROR"},
    {Empty, "ERROR_EMPTY"},
};

/// The Windows name of `code` ("ERROR_NOT_FOUND"), or null for a code ZuX does not report.
constexpr const char* Name(unsigned int code) {
    for (const Code& row : kCodes)
        if (row.value == code) return row.name;
    return nullptr;
}

} // namespace ZuWin32

#endif
