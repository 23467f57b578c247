#include <ZuUtils/CTimeStamp.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

constexpr long long kEpoch = 116444736000000000LL;
constexpr long long kTick = 10000000LL;

TEST(TimeStampTest, ClearAndFilled) {
    EXPECT_TRUE(CTimeStamp().IsClear());
    EXPECT_TRUE(CTimeStamp(0).IsClear());
    EXPECT_TRUE(CTimeStamp(LLONG_MAX).IsFilled());
    EXPECT_FALSE(CTimeStamp(1).IsClear());
    EXPECT_FALSE(CTimeStamp(LLONG_MAX - 1).IsFilled());
    EXPECT_EQ(0, CTimeStamp().AsUnixTime());
    EXPECT_EQ(LLONG_MAX, CTimeStamp(LLONG_MAX).AsUnixTime());
    EXPECT_EQ(CTimeStamp(5), CTimeStamp::FromSystemTime(5));
    EXPECT_NE(CTimeStamp(5), CTimeStamp(6));
}

TEST(TimeStampTest, SystemTimeRoundTripsEveryValue) {
    for (long long value : {LLONG_MIN, LLONG_MIN + 1, -1LL, 0LL, 1LL, kEpoch, LLONG_MAX - 1, LLONG_MAX})
        EXPECT_EQ(value, CTimeStamp::FromSystemTime(value).AsSystemTime());
}

TEST(TimeStampTest, FromUnixTime) {
    EXPECT_TRUE(CTimeStamp::FromUnixTime(0).IsClear()) << "Unix time 0 is the clear stamp, not the epoch";
    EXPECT_EQ(kEpoch + kTick, CTimeStamp::FromUnixTime(1).AsSystemTime());
    EXPECT_EQ(kEpoch - kTick, CTimeStamp::FromUnixTime(-1).AsSystemTime());
    EXPECT_TRUE(CTimeStamp::FromUnixTime(-(kEpoch / kTick)).IsClear()) << "1601-01-01 is system time 0";
}

TEST(TimeStampTest, AsUnixTimeTruncatesTowardTheEpoch) {
    EXPECT_EQ(0, CTimeStamp(kEpoch).AsUnixTime());
    EXPECT_EQ(0, CTimeStamp(kEpoch + kTick - 1).AsUnixTime());
    EXPECT_EQ(1, CTimeStamp(kEpoch + kTick).AsUnixTime());
    EXPECT_EQ(1, CTimeStamp(kEpoch + kTick + kTick / 2).AsUnixTime());
    EXPECT_EQ(0, CTimeStamp(kEpoch - 1).AsUnixTime());
    EXPECT_EQ(-1, CTimeStamp(kEpoch - kTick).AsUnixTime());
    EXPECT_EQ(-1, CTimeStamp(kEpoch - kTick - 1).AsUnixTime());
    EXPECT_EQ(-(kEpoch / kTick) + 1, CTimeStamp(1).AsUnixTime());
    EXPECT_EQ(-(kEpoch / kTick), CTimeStamp(-1).AsUnixTime());
    EXPECT_EQ(-(kEpoch / kTick) - 1, CTimeStamp(-kTick - 1).AsUnixTime());
}

TEST(TimeStampTest, UnixTimeRoundTripsInsideTheRange) {
    const long long largest = (LLONG_MAX - kEpoch) / kTick;
    // The smallest t with t * kTick + kEpoch >= LLONG_MIN, computed by hand: -933981677285.
    const long long lowest = -933981677285LL;
    for (long long t :
         {1LL, -1LL, 1733568000LL, -11644473599LL, -11644473601LL, largest, largest - 1, lowest, lowest + 1}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(t, CTimeStamp::FromUnixTime(t).AsUnixTime());
    }
    EXPECT_EQ(largest * kTick + kEpoch, CTimeStamp::FromUnixTime(largest).AsSystemTime());
    EXPECT_EQ((lowest + kEpoch / kTick) * kTick, CTimeStamp::FromUnixTime(lowest).AsSystemTime());
}

TEST(TimeStampTest, OutOfRangeSaturatesWithoutOverflow) {
    const long long largest = (LLONG_MAX - kEpoch) / kTick;
    const long long lowest = -933981677285LL;
    EXPECT_TRUE(CTimeStamp::FromUnixTime(largest + 1).IsFilled());
    EXPECT_TRUE(CTimeStamp::FromUnixTime(LLONG_MAX).IsFilled()) << "a filled default survives the Unix form";
    EXPECT_EQ(LLONG_MIN, CTimeStamp::FromUnixTime(lowest - 1).AsSystemTime());
    EXPECT_EQ(LLONG_MIN, CTimeStamp::FromUnixTime(LLONG_MIN).AsSystemTime());
    EXPECT_EQ(LLONG_MIN, CTimeStamp::FromUnixTime(LLONG_MIN + 1).AsSystemTime());

    // Stored values below LLONG_MIN + epoch: the exact quotient, no overflow on the way.
    EXPECT_EQ(-922337203685LL - kEpoch / kTick, CTimeStamp(LLONG_MIN).AsUnixTime());
    EXPECT_EQ(-922337203685LL - kEpoch / kTick, CTimeStamp(LLONG_MIN + 1).AsUnixTime());
    EXPECT_EQ(922337203685LL - kEpoch / kTick, CTimeStamp(LLONG_MAX - 1).AsUnixTime());
}

// The ISO 8601 form holds 0001-01-01T00:00:00.0000000Z to 9999-12-31T23:59:59.9999999Z: 1600 years
// of 146097 days per 400 before 1601, and 8399 years after it.
constexpr long long kDay = 86400 * kTick;
constexpr long long kFirst = -4 * 146097 * kDay;
constexpr long long kLast = (21 * 146097 - 366) * kDay - 1;

TEST(TimeStampTest, Iso8601) {
    struct Known {
        long long stamp;
        const char* text;
    };
    const Known known[] = {
        {0, "1601-01-01T00:00:00.0000000Z"},
        {kEpoch, "1970-01-01T00:00:00.0000000Z"},
        {kEpoch - 1, "1969-12-31T23:59:59.9999999Z"},
        {kEpoch - 14182940 * kTick, "1969-07-20T20:17:40.0000000Z"},
        {kEpoch + 1796639329 * kTick + 1234567, "2026-12-07T10:28:49.1234567Z"},
        {kEpoch + 1709208000 * kTick, "2024-02-29T12:00:00.0000000Z"},
        {kEpoch + 951782400 * kTick, "2000-02-29T00:00:00.0000000Z"},
        {kFirst, "0001-01-01T00:00:00.0000000Z"},
        {-1, "1600-12-31T23:59:59.9999999Z"},
        {kLast - 1, "9999-12-31T23:59:59.9999998Z"},
    };
    for (const Known& row : known) {
        EXPECT_EQ(row.text, CTimeStamp(row.stamp).AsIso8601());
        CTimeStamp read(5);
        EXPECT_TRUE(CTimeStamp::FromIso8601(row.text, read)) << row.text;
        EXPECT_EQ(row.stamp, read.AsSystemTime()) << row.text;
    }
    // Stamps across the whole form come back exactly: the stride is no whole number of seconds
    // or days, so they fall on varied dates, times of day and fractions.
    for (long long stamp = kFirst; stamp < kLast; stamp += 3187000000123457LL) {
        CTimeStamp read;
        ASSERT_TRUE(CTimeStamp::FromIso8601(CTimeStamp(stamp).AsIso8601(), read)) << stamp;
        ASSERT_EQ(stamp, read.AsSystemTime()) << CTimeStamp(stamp).AsIso8601();
    }

    // Outside the form: saturated, and the top end reads back as the filled stamp.
    EXPECT_EQ("0001-01-01T00:00:00.0000000Z", CTimeStamp(LLONG_MIN).AsIso8601());
    EXPECT_EQ("9999-12-31T23:59:59.9999999Z", CTimeStamp(kLast).AsIso8601());
    EXPECT_EQ("9999-12-31T23:59:59.9999999Z", CTimeStamp(LLONG_MAX).AsIso8601());
    CTimeStamp filled;
    EXPECT_TRUE(CTimeStamp::FromIso8601(CTimeStamp(LLONG_MAX).AsIso8601(), filled) && filled.IsFilled());

    // Fewer fractional digits and offsets.
    const long long moment = kEpoch + 1796639329 * kTick;
    const Known accepted[] = {
        {moment, "2026-12-07T10:28:49Z"},
        {moment + 5000000, "2026-12-07T10:28:49.5Z"},
        {moment + 1234560, "2026-12-07T10:28:49.123456+00:00"},
        {moment - 3600 * kTick, "2026-12-07T10:28:49+01:00"},
        {moment + (5 * 3600 + 30 * 60) * kTick, "2026-12-07T10:28:49-05:30"},
        {kFirst - 3600 * kTick, "0001-01-01T00:00:00+01:00"},
        {LLONG_MAX, "9999-12-31T23:30:00-00:30"},
    };
    for (const Known& row : accepted) {
        CTimeStamp read;
        EXPECT_TRUE(CTimeStamp::FromIso8601(row.text, read)) << row.text;
        EXPECT_EQ(row.stamp, read.AsSystemTime()) << row.text;
    }

    for (const char* text : {"",
                             "2026-12-07",
                             "2026-12-07T10:28:49",
                             "2026-12-07 10:28:49Z",
                             "2026-12-07t10:28:49Z",
                             "2026-12-07T10:28:49z",
                             "2026-12-07T10:28:49.Z",
                             "2026-12-07T10:28:49.12345678Z",
                             " 2026-12-07T10:28:49Z",
                             "2026-12-07T10:28:49Z ",
                             "2026-12-07T10:28:49+01",
                             "2026-12-07T10:28:49+0100",
                             "2026-12-07T10:28:49+24:00",
                             "2026-12-07T10:28:49-01:60",
                             "2026-12-07T10:28:49+01:00Z",
                             "2026-02-29T00:00:00Z",
                             "2100-02-29T00:00:00Z",
                             "2026-04-31T00:00:00Z",
                             "2026-13-01T00:00:00Z",
                             "2026-00-10T00:00:00Z",
                             "2026-12-00T00:00:00Z",
                             "2026-12-07T24:00:00Z",
                             "2026-12-07T10:60:00Z",
                             "2026-12-07T10:28:60Z",
                             "0000-01-01T00:00:00Z",
                             "10000-01-01T00:00:00Z",
                             "2026-1-07T10:28:49Z",
                             "+2026-12-07T10:28:49Z",
                             "2026-12-07T10:28:4aZ"}) {
        CTimeStamp untouched(5);
        EXPECT_FALSE(CTimeStamp::FromIso8601(text, untouched)) << text;
        EXPECT_EQ(CTimeStamp(5), untouched) << text;
    }
    CTimeStamp untouched(5);
    EXPECT_FALSE(CTimeStamp::FromIso8601(std::string("2026-12-07T10:28:49Z\0", 21), untouched));

    // Now is the system clock's time.
    EXPECT_LE(std::llabs(CTimeStamp::Now().AsUnixTime() - static_cast<long long>(std::time(nullptr))), 2);
}

} // namespace
