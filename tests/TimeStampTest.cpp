#include <ZuUtils/CTimeStamp.h>

#include <gtest/gtest.h>

#include <climits>

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

} // namespace
