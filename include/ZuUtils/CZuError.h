// Result objects with Win32 error codes and context records.
#ifndef ZUUTILS_CZUERROR_H
#define ZUUTILS_CZUERROR_H

#include <ZuUtils/ZuUtilsExport.h>
#include <ZuUtils/ZuWin32Codes.h>

#include <boost/shared_ptr.hpp>

#include <cstdarg>
#include <string>
#include <vector>

/// Where a result record was made: a source file, the operation's signature text and a line. Keeps
/// the pointers it is given and copies no text, so the file and function texts must outlive the
/// location (string literals do); a null text reads as "".
class ZUUTILS_EXPORT WNCodeLocation {
public:
    /// The file's base name, never a directory path ("dir/a.cpp" gives "a.cpp"); the function, such
    /// as "CZuError CZuXDocument::LoadFromFile(const string&)"; the line.
    ///@{
    WNCodeLocation(const char* file, const char* function, int line)
        : m_file(file ? file : ""), m_function(function ? function : ""), m_line(line) {}
    const char* GetFile() const {
        const char* base = m_file;
        for (const char* p = m_file; *p; ++p)
            if (*p == '/' || *p == '\\') base = p + 1;
        return base;
    }
    const char* GetFunction() const { return m_function; }
    int GetLine() const { return m_line; }
    ///@}

private:
    const char* m_file;
    const char* m_function;
    int m_line;
};

/// A location in the current source file and line, for the given function text.
#define ZU_CODE_LOCATION(function) WNCodeLocation(__FILE__, (function), __LINE__)

/// One record of a result: where it was made and, optionally, what was found there.
class ZUUTILS_EXPORT CZuErrorRecord {
public:
    /// Where the record was made, and the printf-rendered context message ("" for none).
    ///@{
    CZuErrorRecord(const WNCodeLocation& location, std::string message);
    const WNCodeLocation& GetLocation() const { return m_location; }
    const std::string& GetMessage() const { return m_message; }
    ///@}

private:
    WNCodeLocation m_location;
    std::string m_message;
};

class WNErrorPrivate;

/// The result of every fallible operation, returned by value.
///
/// A success has code 0 and no records. An error has a negative code, HRESULT_FROM_WIN32 of its
/// Win32 code (ZuWin32Codes.h names them), and one or more records, oldest first. Copies of an
/// error share the records: a record pushed through one copy is seen by all of them, so pushing
/// on one copy while another thread reads any copy is a data race. A success holds no records
/// until its first Push: copies made before that each get records of their own.
///
/// Making a result and pushing onto it never throw. When memory runs out, a record keeps its
/// location without its message, or is left out when even that cannot be stored; an error keeps
/// its code whatever records it could get.
class ZUUTILS_EXPORT CZuError {
public:
    /// A success. The destructor releases this copy's share of the records; it is inline, so that
    /// a success, which holds none, costs its caller nothing to destroy, and still exported, for
    /// programs built before.
    ///@{
    CZuError() : m_code(0) {}
    ZUUTILS_EXPORT ~CZuError() = default;
    static CZuError Success() { return CZuError(); }
    ///@}

    /// Whether the code is negative; the code, 0 for success and otherwise
    /// (int)(0x80070000 | (win32 & 0xFFFF)), so that 2 gives 0x80070002.
    ///@{
    bool IsError() const { return m_code < 0; }
    int GetCode() const { return m_code; }
    ///@}
    /// The Win32 code the error was made with; 0 for success. Only its low 16 bits, as in the
    /// code, when the error could not store it for lack of memory.
    unsigned int GetWin32Code() const;
    /// The records, oldest first; empty for a success nobody pushed onto.
    const std::vector<CZuErrorRecord>& GetRecords() const;
    /// One readable text: the code, then every record with its location and message:
    /// "error 0x8007000D (Win32 13 ERROR_INVALID_DATA)\n  at a.cpp:10 in int A(): Value=[x]".
    std::string AsString() const;

    /// Appends a record, with a printf-style message or without. On a success the record is kept
    /// and the code stays 0.
    ///@{
    CZuError& Push(const WNCodeLocation& location) noexcept;
    CZuError& Push(const WNCodeLocation& location, const char* format, ...) noexcept
        __attribute__((format(printf, 3, 4)));
    ///@}

private:
    friend class WNErrorUtil;

    WNErrorPrivate* Body() noexcept;
    void AddRecord(const WNCodeLocation& location, std::string message) noexcept;

    int m_code;
    boost::shared_ptr<WNErrorPrivate> m_body;
};

/// Makes error results.
class ZUUTILS_EXPORT WNErrorUtil {
public:
    /// A new error with the Win32 code and one record at the location, with a printf-style message
    /// or without; IsError() is true.
    ///@{
    static CZuError ErrorWin32(const WNCodeLocation& location, unsigned int win32) noexcept;
    static CZuError ErrorWin32(const WNCodeLocation& location, unsigned int win32, const char* format, ...) noexcept
        __attribute__((format(printf, 3, 4)));
    ///@}
};

#endif
