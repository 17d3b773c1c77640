// File times to seconds, through local time and back. The program runs in
// several time zones (TZ is set per test entry, to zones without daylight
// saving time, where the round trip is exact).
#include <gtest/gtest.h>

#include "common/filefind.h"
#include "tests/common_fs/fs_helpers.h"

namespace link14 {
namespace {

using testing_fs::FileTimeOfUnix;

FILETIME Ticks(unsigned long long ticks) {
    FILETIME t;
    t.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFULL);
    t.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return t;
}

SYSTEMTIME Local(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = 999;  // not used
    t.wDayOfWeek = 6;       // not used, and wrong on purpose
    return t;
}

// Minutes to add to local time to get UTC, as the platform sees the zone.
long ZoneBiasMinutes() {
    TIME_ZONE_INFORMATION zone;
    GetTimeZoneInformation(&zone);
    return zone.Bias;
}

TEST(TimeValueFromFileTime, ValuesInAndOutOfRange) {
    struct Case {
        const char* what;
        FILETIME time;
        long long seconds;
    } const cases[] = {
        {"zero file time (1601, before 1900)", Ticks(0), 0},
        {"1950-07-01 12:00 UTC", FileTimeOfUnix(-615513600LL + 12 * 3600), -1},
        {"1900-06-15 00:00 UTC", FileTimeOfUnix(-2194732800LL), -1},
        {"2001-02-03 04:05:06 UTC", FileTimeOfUnix(981173106), 981173106},
        {"1970-01-02 00:00:00 UTC", FileTimeOfUnix(86400), 86400},
        {"3001-06-01 UTC, past the runtime's range", FileTimeOfUnix(32548262400LL), -1},
        {"no calendar date in any zone", Ticks(0xFFFFFFFFFFFFFFFFULL), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(TimeValue(c.time, -1).Seconds(), c.seconds) << c.what;
}

TEST(TimeValueFromFileTime, FractionsOfASecondAreDropped) {
    const FILETIME t = FileTimeOfUnix(981173106);
    const unsigned long long ticks = testing_fs::TicksOf(t) + 9999999ULL;
    EXPECT_EQ(TimeValue(Ticks(ticks), -1).Seconds(), 981173106);
}

TEST(TimeValueFromSystemTime, ReadsTheFieldsAsLocalTime) {
    const long long bias = ZoneBiasMinutes() * 60LL;
    struct Case {
        const char* what;
        SYSTEMTIME local;
        long long seconds;
    } const cases[] = {
        {"1899-12-31 23:59:59", Local(1899, 12, 31, 23, 59, 59), 0},
        {"1900-01-01", Local(1900, 1, 1), -1},
        {"1969-12-31 12:00", Local(1969, 12, 31, 12), -1},
        {"2001-02-03 04:05:06", Local(2001, 2, 3, 4, 5, 6), 981173106 + bias},
        {"2000-02-29 23:59:59", Local(2000, 2, 29, 23, 59, 59), 951868799 + bias},
        {"3000-12-31 00:00", Local(3000, 12, 31), 32535129600LL + bias},
        {"3001-01-02", Local(3001, 1, 2), -1},
    };
    for (const Case& c : cases) EXPECT_EQ(TimeValue(c.local, -1).Seconds(), c.seconds) << c.what;
}

// East of UTC a local date of 1 January 1970 can still lie before the epoch.
TEST(TimeValueFromFileTime, RangeIsJudgedInUtc) {
    const long bias = ZoneBiasMinutes();
    if (bias >= 0) GTEST_SKIP() << "only east of UTC";
    // One second before the epoch, already 1970 in local time.
    EXPECT_EQ(TimeValue(FileTimeOfUnix(-1), -1).Seconds(), -1);
    EXPECT_EQ(TimeValue(FileTimeOfUnix(0), -1).Seconds(), 0);
}

TEST(TimeValue, CopiesAndDefault) {
    const TimeValue a(981173106);
    const TimeValue b(a);
    TimeValue c;
    EXPECT_EQ(c.Seconds(), 0);
    c = b;
    EXPECT_EQ(c.Seconds(), 981173106);
}

}  // namespace
}  // namespace link14
