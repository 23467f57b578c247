#include <ZuUtils/CTimeStamp.h>

#include <algorithm>
#include <chrono>
#include <cstddef>

// The civil calendar is computed here rather than with gmtime or mktime: those depend on the
// time zone and the C library's time_t range, and know nothing of 100-nanosecond ticks. Dates are
// proleptic Gregorian, every day 86,400 seconds, as the stamps count them.

namespace {

constexpr long long TicksPerDay = 86400 * CTimeStamp::TicksPerSecond;

// Days since 0000-03-01, where a year starts in March so that the leap day comes last; every 400
// years repeat in 146,097 days. Valid for the years 1 and above.
constexpr long long DaysFromCivil(long long year, long long month, long long day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = year / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

constexpr long long Days1601 = DaysFromCivil(1601, 1, 1);
static_assert(DaysFromCivil(1970, 1, 1) - Days1601 == CTimeStamp::UnixEpoch / TicksPerDay, "1970 is 134774 days on");

// The stamps the text form can hold: 0001-01-01T00:00:00.0000000Z to 9999-12-31T23:59:59.9999999Z.
constexpr long long FirstWritable = (DaysFromCivil(1, 1, 1) - Days1601) * TicksPerDay;
constexpr long long LastWritable = (DaysFromCivil(10000, 1, 1) - Days1601) * TicksPerDay - 1;

struct Civil {
    long long year, month, day;
};

// The inverse of DaysFromCivil, for days that are not negative.
Civil CivilFromDays(long long days) {
    const long long era = days / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
    const long long month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, dayOfYear - (153 * shiftedMonth + 2) / 5 + 1};
}

long long DaysInMonth(long long year, long long month) {
    if (month == 2) return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0) ? 29 : 28;
    return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

// Reads the text from left to right; every step fails once one has failed.
class Reader {
public:
    explicit Reader(const std::string& text) : m_text(text) {}

    // Exactly `width` decimal digits.
    long long Number(std::size_t width) {
        long long value = 0;
        for (std::size_t i = 0; i < width; ++i, ++m_at) {
            if (!IsDigit()) return Fail();
            value = value * 10 + (m_text[m_at] - '0');
        }
        return value;
    }
    // One to `most` decimal digits, scaled to `most` digits: ".5" is 5000000 with seven.
    long long Fraction(std::size_t most) {
        long long value = 0;
        std::size_t digits = 0;
        for (; digits < most && IsDigit(); ++m_at, ++digits) value = value * 10 + (m_text[m_at] - '0');
        if (digits == 0 || IsDigit()) return Fail();
        for (; digits < most; ++digits) value *= 10;
        return value;
    }
    void Expect(char c) {
        if (!Next(c)) Fail();
    }
    // Takes `c` when it comes next.
    bool Next(char c) {
        if (!m_good || m_at == m_text.size() || m_text[m_at] != c) return false;
        ++m_at;
        return true;
    }
    // True when every step succeeded and the whole text was read.
    bool Done() const { return m_good && m_at == m_text.size(); }

private:
    bool IsDigit() const { return m_good && m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9'; }
    long long Fail() {
        m_good = false;
        return 0;
    }

    const std::string& m_text;
    std::size_t m_at = 0;
    bool m_good = true;
};

// `value` as `width` decimal digits, then `after` unless it is NUL.
void Append(std::string& text, long long value, int width, char after) {
    char digits[8];
    for (int i = width; i-- > 0; value /= 10) digits[i] = static_cast<char>('0' + value % 10);
    text.append(digits, static_cast<std::size_t>(width));
    if (after) text += after;
}

} // namespace

CTimeStamp CTimeStamp::Now() {
    using Ticks = std::chrono::duration<long long, std::ratio<1, TicksPerSecond>>;
    const Ticks sinceEpoch = std::chrono::floor<Ticks>(std::chrono::system_clock::now().time_since_epoch());
    return CTimeStamp(UnixEpoch + sinceEpoch.count());
}

std::string CTimeStamp::AsIso8601() const {
    const long long ticks = std::clamp(m_systemTime, FirstWritable, LastWritable);
    // Whole days and the ticks into the day, rounding toward the past for stamps before 1601.
    long long days = ticks / TicksPerDay;
    long long ofDay = ticks % TicksPerDay;
    if (ofDay < 0) {
        ofDay += TicksPerDay;
        --days;
    }
    const Civil date = CivilFromDays(days + Days1601);
    const long long seconds = ofDay / TicksPerSecond;
    std::string text;
    text.reserve(28);
    Append(text, date.year, 4, '-');
    Append(text, date.month, 2, '-');
    Append(text, date.day, 2, 'T');
    Append(text, seconds / 3600, 2, ':');
    Append(text, seconds / 60 % 60, 2, ':');
    Append(text, seconds % 60, 2, '.');
    Append(text, ofDay % TicksPerSecond, 7, 'Z');
    return text;
}

bool CTimeStamp::FromIso8601(const std::string& text, CTimeStamp& stamp) {
    Reader read(text);
    const long long year = read.Number(4);
    read.Expect('-');
    const long long month = read.Number(2);
    read.Expect('-');
    const long long day = read.Number(2);
    read.Expect('T');
    const long long hour = read.Number(2);
    read.Expect(':');
    const long long minute = read.Number(2);
    read.Expect(':');
    const long long second = read.Number(2);
    const long long fraction = read.Next('.') ? read.Fraction(7) : 0;
    long long offset = 0; // minutes east of UTC
    if (!read.Next('Z')) {
        const bool west = read.Next('-');
        if (!west) read.Expect('+');
        const long long hours = read.Number(2);
        read.Expect(':');
        const long long minutes = read.Number(2);
        if (hours > 23 || minutes > 59) return false;
        offset = (hours * 60 + minutes) * (west ? -1 : 1);
    }
    if (!read.Done() || year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59)
        return false;
    // Far inside the 64-bit range: the years 0001 to 9999 span about 3.2e18 ticks.
    const long long ticks = (DaysFromCivil(year, month, day) - Days1601) * TicksPerDay +
                            ((hour * 60 + minute - offset) * 60 + second) * TicksPerSecond + fraction;
    stamp = CTimeStamp(ticks >= LastWritable ? Filled : ticks);
    return true;
}
