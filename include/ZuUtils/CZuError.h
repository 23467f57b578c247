// Result objects with Win32 error codes and context records.
#ifndef ZUUTILS_CZUERROR_H
#define ZUUTILS_CZUERROR_H

#include <ZuUtils/ZuUtilsExport.h>
#include <ZuUtils/ZuWin32Codes.h>

#include <boost/shared_ptr.hpp>

#include <cstdarg>
#include <string>
#include <vector>

/// Where a result record was made. Keeps the pointers it is given and copies no text, so the
/// file and function texts must outlive the location (string literals do).
class ZUUTILS_EXPORT WNCodeLocation {
public:
    /// Stores the three values.
    WNCodeLocation(const char* file, const char* function, int line)
        : m_file(file ? file : ""), m_function(function ? function : ""), m_line(line) {}

    /// The source file's base name, never a directory path ("dir/a.cpp" gives "a.cpp").
    const char* GetFile() const {
        const char* base = m_file;
        for (const char* p = m_file; *p; ++p)
            if (*p == '/' || *p == '\\') base = p + 1;
        return base;
    }
    /// The operation's signature text, such as "CZuError CZuXDocument::LoadFromFile(const string&)".
    const char* GetFunction() const { return m_function; }
    /// The source line.
    int GetLine() const { return m_line; }

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
    /// A record at `location` with `message` ("" for none).
    CZuErrorRecord(const WNCodeLocation& location, std::string message);

    /// Where the record was made.
    const WNCodeLocation& GetLocation() const { return m_location; }
    /// The printf-rendered context message; "" when the record has none.
    const std::string& GetMessage() const { return m_message; }

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
    /// A success.
    CZuError() : m_code(0) {}
    /// Releases this copy's share of the records. Inline, so that a success, which holds no
    /// records, costs its caller nothing to destroy; still exported, for programs built before.
    ZUUTILS_EXPORT ~CZuError() = default;

    /// A new success result.
    static CZuError Success() { return CZuError(); }

    /// True exactly when the code is negative.
    bool IsError() const { return m_code < 0; }
    /// 0 for success, otherwise (int)(0x80070000 | (win32 & 0xFFFF)); 2 gives 0x80070002.
    int GetCode() const { return m_code; }
    /// The Win32 code the error was made with; 0 for success. Only its low 16 bits, as in the
    /// code, when the error could not store it for lack of memory.
    unsigned int GetWin32Code() const;
    /// The records, oldest first; empty for a success nobody pushed onto.
    const std::vector<CZuErrorRecord>& GetRecords() const;
    /// One readable text: the code, then every record with its location and message.
    std::string AsString() const;

    /// Appends a record without a message. On a success the record is kept and the code stays 0.
    CZuError& Push(const WNCodeLocation& location) noexcept;
    /// Appends a record with a printf-style message.
    CZuError& Push(const WNCodeLocation& location, const char* format, ...) noexcept
        __attribute__((format(printf, 3, 4)));

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
    /// A new error with the Win32 code and one record at the location; IsError() is true.
    static CZuError ErrorWin32(const WNCodeLocation& location, unsigned int win32) noexcept;
    /// The same, with a printf-style message in the record.
    static CZuError ErrorWin32(const WNCodeLocation& location, unsigned int win32, const char* format, ...) noexcept
        __attribute__((format(printf, 3, 4)));
};

#endif
