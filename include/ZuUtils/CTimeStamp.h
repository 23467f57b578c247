// Time stamps: 100-nanosecond ticks since 1601-01-01 00:00:00.
#ifndef ZUUTILS_CTIMESTAMP_H
#define ZUUTILS_CTIMESTAMP_H

#include <ZuUtils/ZuUtilsExport.h>

#include <climits>
#include <string>

/// A point in time as a signed count of 100-nanosecond ticks since 1601-01-01 00:00:00 (the
/// system time), every day 86,400 seconds. 0 is reserved as the clear stamp and the largest value,
/// 9223372036854775807, as the filled stamp. Any value may be stored; nothing is validated.
///
/// Unix time (seconds since 1970-01-01 00:00:00) is a second text form, with two traps:
/// Unix time 0 stands for the clear stamp, not for 1970-01-01, and converting to Unix time drops
/// the sub-second part toward 1970.
///
/// ISO 8601 is the readable form, in UTC to the tick: 2026-12-07T10:28:49.1234567Z. It holds the
/// years 0001 to 9999 only; see AsIso8601 for the stamps outside them.
class ZUUTILS_EXPORT CTimeStamp {
public:
    /// Ticks in a second; the system times of 1970-01-01 00:00:00, of the clear stamp and of the
    /// filled stamp.
    ///@{
    static constexpr long long TicksPerSecond = 10000000LL;
    static constexpr long long UnixEpoch = 116444736000000000LL;
    static constexpr long long Clear = 0;
    static constexpr long long Filled = LLONG_MAX;
    ///@}

    /// The clear stamp, or a stamp holding the given system time unchanged.
    ///@{
    CTimeStamp() : m_systemTime(Clear) {}
    CTimeStamp(long long systemTime) : m_systemTime(systemTime) {}
    static CTimeStamp FromSystemTime(long long systemTime) { return CTimeStamp(systemTime); }
    ///@}

    /// From seconds since 1970-01-01 00:00:00: the clear stamp for 0, the filled stamp for
    /// 9223372036854775807, otherwise seconds * 10000000 + UnixEpoch. Results beyond the 64-bit
    /// range saturate: to the filled stamp above, to the smallest 64-bit value below.
    static CTimeStamp FromUnixTime(long long seconds) {
        if (seconds == 0) return CTimeStamp(Clear);
        if (seconds > MaxShiftedSeconds - EpochSeconds) return CTimeStamp(Filled);
        if (seconds < -MaxShiftedSeconds - EpochSeconds) return CTimeStamp(LLONG_MIN);
        // seconds * TicksPerSecond + UnixEpoch, in a form that cannot overflow.
        return CTimeStamp((seconds + EpochSeconds) * TicksPerSecond);
    }

    /// The current time of the system clock, to the tick (as far as the clock goes).
    static CTimeStamp Now();

    /// Reads `YYYY-MM-DDThh:mm:ss`, then optionally '.' and one to seven fractional digits, then
    /// `Z` or an offset `+hh:mm` / `-hh:mm` from UTC, and nothing else (no spaces, no lower-case
    /// 't' or 'z', no leap second, years 0001 to 9999, real calendar dates). An instant from
    /// 9999-12-31T23:59:59.9999999Z on gives the filled stamp, as AsIso8601 writes it. False,
    /// with `stamp` untouched, for any other text.
    static bool FromIso8601(const std::string& text, CTimeStamp& stamp);

    /// The stored system time, unchanged.
    long long AsSystemTime() const { return m_systemTime; }

    /// Whole seconds since 1970-01-01 00:00:00, truncated toward 1970 (one tick before the epoch
    /// gives 0); 0 for the clear stamp and 9223372036854775807 for the filled one. Exact for every
    /// stored value.
    long long AsUnixTime() const {
        if (IsClear()) return 0;
        if (IsFilled()) return LLONG_MAX;
        // (m_systemTime - UnixEpoch) / TicksPerSecond truncated toward zero, computed from the
        // quotient and remainder of the stored value so that no intermediate can overflow. The
        // remainder has the stored value's sign, so only a positive value before 1970 leaves a
        // fraction that truncation must take back toward 1970.
        const long long shifted = m_systemTime / TicksPerSecond - EpochSeconds;
        const long long remainder = m_systemTime % TicksPerSecond;
        return shifted < 0 && remainder > 0 ? shifted + 1 : shifted;
    }

    /// UTC with seven fractional digits, "2026-12-07T10:28:49.1234567Z"; FromIso8601 reads it
    /// back exactly. The clear stamp gives 1601-01-01T00:00:00.0000000Z. Stamps the form cannot
    /// hold saturate: before the year 0001 to 0001-01-01T00:00:00.0000000Z; the filled stamp and
    /// every stamp from 9999-12-31T23:59:59.9999999Z on to that text, which reads back as filled.
    std::string AsIso8601() const;

    /// Whether this is the clear stamp (0) or the filled one (9223372036854775807).
    ///@{
    bool IsClear() const { return m_systemTime == Clear; }
    bool IsFilled() const { return m_systemTime == Filled; }
    ///@}

    /// Stamps compare as their system times: the earlier instant is the smaller stamp. The clear
    /// stamp (0) and the filled one (the largest value) take no special place.
    ///@{
    bool operator==(const CTimeStamp& other) const { return m_systemTime == other.m_systemTime; }
    bool operator!=(const CTimeStamp& other) const { return m_systemTime != other.m_systemTime; }
    bool operator<(const CTimeStamp& other) const { return m_systemTime < other.m_systemTime; }
    bool operator<=(const CTimeStamp& other) const { return m_systemTime <= other.m_systemTime; }
    bool operator>(const CTimeStamp& other) const { return m_systemTime > other.m_systemTime; }
    bool operator>=(const CTimeStamp& other) const { return m_systemTime >= other.m_systemTime; }
    ///@}

private:
    static constexpr long long EpochSeconds = UnixEpoch / TicksPerSecond; // 11644473600
    static constexpr long long MaxShiftedSeconds = LLONG_MAX / TicksPerSecond;
    static_assert(UnixEpoch % TicksPerSecond == 0, "the epoch is a whole second");

    long long m_systemTime;
};

#endif
