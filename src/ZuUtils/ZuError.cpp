#include <ZuUtils/CZuError.h>

#include <boost/make_shared.hpp>

#include <cstdarg>
#include <cstdio>
#include <new>
#include <string>
#include <utility>

// The shared body of an error result: what every copy of the result sees.
class WNErrorPrivate {
public:
    unsigned int m_win32 = 0;
    std::vector<CZuErrorRecord> m_records;
};

namespace {

int CodeFromWin32(unsigned int win32) {
    return static_cast<int>(0x80070000u | (win32 & 0xFFFFu));
}

// The rendered message; "" when there is none, or no memory for it.
std::string FormatV(const char* format, va_list args) noexcept {
    if (!format) return std::string();
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) return std::string();
    try {
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(length));
        return text;
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

// The Win32 code's low 16 bits, which the code holds; 0 for a success.
unsigned int LowWin32(int code) {
    return code < 0 ? static_cast<unsigned int>(code) & 0xFFFFu : 0;
}

const std::vector<CZuErrorRecord>& NoRecords() {
    static const std::vector<CZuErrorRecord> none;
    return none;
}

} // namespace

CZuErrorRecord::CZuErrorRecord(const WNCodeLocation& location, std::string message)
    : m_location(location), m_message(std::move(message)) {}

WNErrorPrivate* CZuError::Body() noexcept {
    if (!m_body) {
        try {
            m_body = boost::make_shared<WNErrorPrivate>();
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        // An error that could not have its body when it was made keeps what its code tells.
        m_body->m_win32 = LowWin32(m_code);
    }
    return m_body.get();
}

void CZuError::AddRecord(const WNCodeLocation& location, std::string message) noexcept {
    WNErrorPrivate* body = Body();
    if (!body) return;
    try {
        body->m_records.emplace_back(location, std::move(message));
    } catch (const std::bad_alloc&) {
        // Left out: the result keeps its code and the records it has.
    }
}

unsigned int CZuError::GetWin32Code() const {
    if (!IsError()) return 0;
    return m_body ? m_body->m_win32 : LowWin32(m_code);
}

const std::vector<CZuErrorRecord>& CZuError::GetRecords() const {
    return m_body ? m_body->m_records : NoRecords();
}

std::string CZuError::AsString() const {
    char head[96];
    if (IsError()) {
        const unsigned int win32 = GetWin32Code();
        const char* name = ZuWin32::Name(win32);
        std::snprintf(head, sizeof head, "error 0x%08X (Win32 %u%s%s)", static_cast<unsigned int>(m_code), win32,
                      name ? " " : "", name ? name : "");
    } else {
        std::snprintf(head, sizeof head, "success");
    }
    std::string text = head;
    for (const CZuErrorRecord& record : GetRecords()) {
        const WNCodeLocation& where = record.GetLocation();
        text += "\n  at ";
        text += where.GetFile();
        text += ':';
        text += std::to_string(where.GetLine());
        text += " in ";
        text += where.GetFunction();
        if (!record.GetMessage().empty()) {
            text += ": ";
            text += record.GetMessage();
        }
    }
    return text;
}

CZuError& CZuError::Push(const WNCodeLocation& location) noexcept {
    AddRecord(location, std::string());
    return *this;
}

CZuError& CZuError::Push(const WNCodeLocation& location, const char* format, ...) noexcept {
    va_list args;
    va_start(args, format);
    AddRecord(location, FormatV(format, args));
    va_end(args);
    return *this;
}

CZuError WNErrorUtil::ErrorWin32(const WNCodeLocation& location, unsigned int win32) noexcept {
    CZuError error;
    error.m_code = CodeFromWin32(win32);
    if (WNErrorPrivate* body = error.Body()) body->m_win32 = win32;
    error.AddRecord(location, std::string());
    return error;
}

CZuError WNErrorUtil::ErrorWin32(const WNCodeLocation& location, unsigned int win32, const char* format, ...) noexcept {
    CZuError error;
    error.m_code = CodeFromWin32(win32);
    if (WNErrorPrivate* body = error.Body()) body->m_win32 = win32;
    va_list args;
    va_start(args, format);
    error.AddRecord(location, FormatV(format, args));
    va_end(args);
    return error;
}
