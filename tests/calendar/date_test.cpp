#include "calendar/date.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace link14 {
namespace {

bool gEraTableWasZero = false;

// The program fills the table during static initialisation; here the
// environment does, once, after checking that nothing filled it earlier.
class EraTableEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        gEraTableWasZero = true;
        for (const IDate& start : kEraStarts) {
            if (start.serial || start.year || start.month || start.day || start.adjusted) {
                gEraTableWasZero = false;
            }
        }
        InitEraTable();
    }
};

::testing::Environment* const gEraTable =
    ::testing::AddGlobalTestEnvironment(new EraTableEnvironment);

struct Ymd {
    std::int32_t year, month, day;
    bool operator==(const Ymd& o) const {
        return year == o.year && month == o.month && day == o.day;
    }
};

std::ostream& operator<<(std::ostream& os, const Ymd& v) {
    return os << v.year << '-' << v.month << '-' << v.day;
}

// Copies out of the packed record, so that nothing binds to a packed field.
Ymd FieldsOf(const IDate& d) { return Ymd{d.year, d.month, d.day}; }
std::uint32_t SerialOf(const IDate& d) { return d.serial; }
int AdjustedOf(const IDate& d) { return d.adjusted; }

// Days since 1970-01-01 of a proleptic Gregorian date, and back: the
// era-of-400-years formulation, independent of the code under test.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

Ymd CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return Ymd{static_cast<std::int32_t>(y + (m <= 2)), static_cast<std::int32_t>(m),
               static_cast<std::int32_t>(d)};
}

const std::int64_t kEpoch = DaysFromCivil(1758, 1, 1);

std::uint32_t ExpectedSerial(std::int32_t y, std::int32_t m, std::int32_t d) {
    return static_cast<std::uint32_t>(
        DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) - kEpoch);
}

TEST(DateRange, EverySerialMatchesTheGregorianCalendarBothWays) {
    std::uint64_t mismatches = 0;
    std::string first;
    for (std::uint32_t s = 0; s <= IDate::kLastSerial; ++s) {
        const Ymd expected = CivilFromDays(kEpoch + s);
        const IDate fromSerial(s);
        const IDate fromFields(expected.year, expected.month, expected.day);
        const bool ok = FieldsOf(fromSerial) == expected && SerialOf(fromSerial) == s &&
                        AdjustedOf(fromSerial) == 0 && SerialOf(fromFields) == s &&
                        AdjustedOf(fromFields) == 0 && FieldsOf(fromFields) == expected;
        if (!ok && mismatches++ == 0) {
            first = "serial " + std::to_string(s) + " (" + std::to_string(expected.year) + "-" +
                    std::to_string(expected.month) + "-" + std::to_string(expected.day) + ")";
        }
    }
    EXPECT_EQ(mismatches, 0u) << "first mismatch at " << first;
    EXPECT_EQ(CivilFromDays(kEpoch + IDate::kLastSerial), (Ymd{9999, 12, 31}));
}

TEST(DateSerialConstructor, GivesTheDateOfTheSerial) {
    const struct {
        std::uint32_t serial;
        Ymd date;
    } cases[] = {
        {0, {1758, 1, 1}},    {1, {1758, 1, 2}},      {364, {1758, 12, 31}},
        {365, {1759, 1, 1}},  {94245, {2016, 1, 14}}, {3010327, {9999, 12, 31}},
        {2191, {1764, 1, 1}}, {84378, {1989, 1, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serial);
        const IDate d(c.serial);
        EXPECT_EQ(FieldsOf(d), c.date);
        EXPECT_EQ(SerialOf(d), c.serial);
        EXPECT_EQ(AdjustedOf(d), 0);
    }
}

TEST(DateSerialConstructor, StoresASerialBeyondTheRangeUnchangedWithAMonthOfTheYear) {
    for (std::uint32_t s : {IDate::kLastSerial + 1, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(s);
        const IDate d(s);
        EXPECT_EQ(SerialOf(d), s);
        const Ymd fields = FieldsOf(d);
        EXPECT_GT(fields.year, IDate::kLastYear);
        EXPECT_GE(fields.month, 1);
        EXPECT_LE(fields.month, 12);
    }
}

TEST(DateSetDate, NormalisesRollsOverAndFallsBackToTheNullDate) {
    const std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const struct {
        Ymd request;
        Ymd stored;
        int adjusted;
    } cases[] = {
        // Valid dates, stored as asked.
        {{1758, 1, 1}, {1758, 1, 1}, 0},
        {{9999, 12, 31}, {9999, 12, 31}, 0},
        {{2016, 2, 29}, {2016, 2, 29}, 0},
        {{2000, 2, 29}, {2000, 2, 29}, 0},
        {{2016, 1, 14}, {2016, 1, 14}, 0},
        // A day past the month's end runs on into the next month.
        {{2015, 2, 29}, {2015, 3, 1}, 1},
        {{2015, 2, 30}, {2015, 3, 2}, 1},
        {{2015, 2, 31}, {2015, 3, 3}, 1},
        {{2015, 4, 31}, {2015, 5, 1}, 1},
        {{1900, 2, 29}, {1900, 3, 1}, 1},
        {{2100, 2, 29}, {2100, 3, 1}, 1},
        {{9999, 11, 31}, {9999, 12, 1}, 1},
        // Months outside 1..12 alone do not count as adjusted.
        {{2016, 13, 1}, {2017, 1, 1}, 0},
        {{2016, 25, 1}, {2018, 1, 1}, 0},
        {{2016, 24, 1}, {2017, 12, 1}, 0},
        {{2016, 0, 15}, {2015, 12, 15}, 0},
        {{2016, -11, 15}, {2015, 1, 15}, 0},
        {{1757, 13, 1}, {1758, 1, 1}, 0},
        {{9998, 14, 31}, {9999, 3, 3}, 1},
        // Invalid after normalisation: the null date.
        {{1757, 12, 31}, {1758, 1, 1}, 1},
        {{10000, 1, 1}, {1758, 1, 1}, 1},
        {{2016, 1, 0}, {1758, 1, 1}, 1},
        {{2016, 1, 32}, {1758, 1, 1}, 1},
        {{2016, 1, -1}, {1758, 1, 1}, 1},
        {{2016, -12, 15}, {1758, 1, 1}, 1},  // brought up by 12 only once
        {{1758, 0, 1}, {1758, 1, 1}, 1},
        {{9999, 13, 1}, {1758, 1, 1}, 1},
        {{0, 0, 0}, {1758, 1, 1}, 1},
        // Extremes must neither overflow nor wrap into the range.
        {{kMin, 1, 1}, {1758, 1, 1}, 1},
        {{kMin, 0, 1}, {1758, 1, 1}, 1},
        {{kMax, 13, 1}, {1758, 1, 1}, 1},
        {{kMax, kMax, 1}, {1758, 1, 1}, 1},
        {{2016, kMin, 1}, {1758, 1, 1}, 1},
        {{2016, kMax, 1}, {1758, 1, 1}, 1},
        {{2016, 1, kMax}, {1758, 1, 1}, 1},
        {{2016, 1, kMin}, {1758, 1, 1}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "request " << c.request);
        IDate d(2016, 1, 14);
        d.SetDate(c.request.year, c.request.month, c.request.day);
        EXPECT_EQ(FieldsOf(d), c.stored);
        EXPECT_EQ(SerialOf(d), ExpectedSerial(c.stored.year, c.stored.month, c.stored.day));
        EXPECT_EQ(AdjustedOf(d), c.adjusted);
        // The constructor takes the same path.
        const IDate constructed(c.request.year, c.request.month, c.request.day);
        EXPECT_EQ(FieldsOf(constructed), c.stored);
        EXPECT_EQ(AdjustedOf(constructed), c.adjusted);
    }
}

TEST(DateSetDate, ClearsTheAdjustedFlagOfAnEarlierRequest) {
    IDate d(2015, 2, 29);
    ASSERT_EQ(AdjustedOf(d), 1);
    d.SetDate(2015, 3, 1);
    EXPECT_EQ(AdjustedOf(d), 0);
}

TEST(DateUpdateFields, RecomputesFromTheSerialAndKeepsTheFlag) {
    IDate d(2015, 4, 31);
    ASSERT_EQ(AdjustedOf(d), 1);
    d.serial = 94245;
    d.UpdateFields();
    EXPECT_EQ(FieldsOf(d), (Ymd{2016, 1, 14}));
    EXPECT_EQ(AdjustedOf(d), 1);
}

TEST(DateSetToday, GivesTheLocalDate) {
    // Read the clock around the call, and judge only when the day did not
    // change meanwhile.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        IDate d(0);
        IDate& self = d.SetToday();
        const std::time_t after = std::time(nullptr);
        std::tm a = *std::localtime(&before);
        const Ymd expected{a.tm_year + 1900, a.tm_mon + 1, a.tm_mday};
        a = *std::localtime(&after);
        if (!(expected == Ymd{a.tm_year + 1900, a.tm_mon + 1, a.tm_mday})) continue;
        EXPECT_EQ(&self, &d);
        EXPECT_EQ(FieldsOf(d), expected);
        EXPECT_EQ(AdjustedOf(d), 0);
        EXPECT_EQ(SerialOf(d), ExpectedSerial(expected.year, expected.month, expected.day));
        return;
    }
    FAIL() << "the local date kept changing";
}

TEST(DateCalculations, LeapYears) {
    const struct {
        std::uint32_t year;
        bool leap;
    } cases[] = {{1758, false}, {1760, true},  {1800, false}, {1900, false},
                 {2000, true},  {2015, false}, {2016, true},  {2100, false},
                 {2400, true},  {9996, true},  {9999, false}, {0, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(IDate::IsLeapYear(c.year), c.leap) << c.year;
    }
}

TEST(DateCalculations, ValidityIgnoresTheMonthLength) {
    const struct {
        Ymd date;
        bool valid;
    } cases[] = {
        {{1758, 1, 1}, true},   {{9999, 12, 31}, true}, {{2015, 2, 31}, true},
        {{1757, 1, 1}, false},  {{10000, 1, 1}, false}, {{2016, 0, 1}, false},
        {{2016, 13, 1}, false}, {{2016, 1, 0}, false},  {{2016, 1, 32}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IDate::IsValidDate(c.date.year, c.date.month, c.date.day), c.valid) << c.date;
    }
}

TEST(DateCalculations, YearStartsAndMonthOffsets) {
    for (std::int32_t y : {1758, 1759, 1760, 1761, 1800, 1801, 2000, 2001, 2016, 9999}) {
        EXPECT_EQ(IDate::YearStartSerial(y), ExpectedSerial(y, 1, 1)) << y;
    }
    const struct {
        std::int32_t year, month, days;
    } offsets[] = {
        {2016, 0, 0},
        {2016, 1, 0},
        {2016, 2, 31},
        {2016, 3, 60},
        {2015, 3, 59},
        {2016, 12, 335},
        {2015, 12, 334},
        // Past December: the whole year, and no further.
        {2016, 13, 366},
        {2016, 100, 366},
        {2016, -5, 0},
    };
    for (const auto& c : offsets) {
        EXPECT_EQ(IDate::DaysBeforeMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
    }
}

TEST(DateCalculations, YearMonthAndDayOfSerialAtTheEndsOfCycles) {
    // The last day of a 400-year cycle and of a four-year group overshoot the
    // first estimate of the year; the first day after them must not.
    for (const Ymd& date :
         {Ymd{2000, 12, 31}, Ymd{2001, 1, 1}, Ymd{1996, 12, 31}, Ymd{1997, 1, 1}, Ymd{1800, 12, 31},
          Ymd{1801, 1, 1}, Ymd{1999, 12, 31}, Ymd{9999, 12, 31}, Ymd{1758, 1, 1}}) {
        SCOPED_TRACE(::testing::Message() << date);
        const std::uint32_t s = ExpectedSerial(date.year, date.month, date.day);
        EXPECT_EQ(IDate::YearOfSerial(s), date.year);
        EXPECT_EQ(IDate::MonthOfSerial(s, date.year), date.month);
        EXPECT_EQ(IDate::DayOfSerial(s, date.year, date.month), date.day);
    }
}

TEST(DateCalculations, MonthOfASerialOutsideTheGivenYearStaysInTheTable) {
    const std::uint32_t s = ExpectedSerial(2017, 3, 1);
    EXPECT_EQ(IDate::MonthOfSerial(s, 2016), 12);
    EXPECT_EQ(IDate::MonthOfSerial(0, 2016), 12);
}

TEST(DateCalculations, FebruaryEntryFollowsTheLastLookup) {
    IDate::DaysBeforeMonth(2016, 1);
    EXPECT_EQ(kMonthDays[1], 29);
    IDate::MonthOfSerial(ExpectedSerial(2015, 6, 1), 2015);
    EXPECT_EQ(kMonthDays[1], 28);
    const std::int32_t others[] = {31, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int i = 0, j = 0; i < 12; ++i) {
        if (i != 1) EXPECT_EQ(kMonthDays[i], others[j++]) << i;
    }
}

TEST(EraTable, IsZeroUntilFilledAndHoldsTheNineteenStarts) {
    EXPECT_TRUE(gEraTableWasZero);
    const struct {
        Ymd start;
        std::uint32_t serial;
    } expected[kEraCount] = {
        {{1764, 1, 1}, 2191},  {{1772, 1, 1}, 5113},   {{1781, 1, 1}, 8401},
        {{1789, 1, 1}, 11323}, {{1801, 1, 1}, 15705},  {{1804, 1, 1}, 16800},
        {{1818, 1, 1}, 21914}, {{1830, 1, 1}, 26297},  {{1844, 1, 1}, 31410},
        {{1848, 1, 1}, 32871}, {{1854, 1, 1}, 35063},  {{1860, 1, 1}, 37254},
        {{1861, 1, 1}, 37620}, {{1864, 1, 1}, 38715},  {{1865, 4, 7}, 39177},
        {{1868, 9, 8}, 40427}, {{1912, 7, 30}, 56457}, {{1926, 12, 25}, 61718},
        {{1989, 1, 8}, 84378},
    };
    for (int i = 0; i < kEraCount; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(FieldsOf(kEraStarts[i]), expected[i].start);
        EXPECT_EQ(SerialOf(kEraStarts[i]), expected[i].serial);
        EXPECT_EQ(AdjustedOf(kEraStarts[i]), 0);
    }
}

TEST(EraTable, FillingAgainChangesNothing) {
    std::vector<std::uint32_t> before;
    for (const IDate& start : kEraStarts) before.push_back(SerialOf(start));
    InitEraTable();
    for (int i = 0; i < kEraCount; ++i) EXPECT_EQ(SerialOf(kEraStarts[i]), before[i]) << i;
}

TEST(Era, NumberAndYearOfDates) {
    const struct {
        Ymd date;
        std::int32_t eraNumber, eraYear;
    } cases[] = {
        {{1758, 1, 1}, 0, 8},       {{1763, 12, 31}, 0, 13},  {{1764, 1, 1}, 1, 1},
        {{1771, 12, 31}, 1, 8},     {{1865, 4, 6}, 14, 2},    {{1865, 4, 7}, 15, 1},
        {{1868, 9, 7}, 15, 4},      {{1868, 9, 8}, 16, 1},    {{1912, 7, 29}, 16, 45},
        {{1912, 7, 30}, 17, 1},     {{1926, 12, 24}, 17, 15}, {{1926, 12, 25}, 18, 1},
        {{1989, 1, 7}, 18, 64},     {{1989, 1, 8}, 19, 1},    {{2016, 1, 14}, 19, 28},
        {{9999, 12, 31}, 19, 8011},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.date);
        const IDate d(c.date.year, c.date.month, c.date.day);
        EXPECT_EQ(GetEraNumber(d), c.eraNumber);
        EXPECT_EQ(GetEraYear(d), c.eraYear);
        IEraDate era = {-7, -7, -7, -7};
        EXPECT_EQ(era.SetFrom(d), c.eraNumber);
        const std::int32_t filled[] = {era.eraYear, era.month, era.day, era.eraNumber};
        const std::int32_t wanted[] = {c.eraYear, c.date.month, c.date.day, c.eraNumber};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(filled[i], wanted[i]) << "field " << i;
    }
}

TEST(Era, Letters) {
    const struct {
        std::int32_t era, letter;
    } cases[] = {{16, 'M'}, {17, 'T'}, {18, 'S'}, {19, 'H'}, {0, -1},
                 {1, -1},   {15, -1},  {20, -1},  {-1, -1},  {'M', -1}};
    for (const auto& c : cases) EXPECT_EQ(EraLetter(c.era), c.letter) << c.era;
}

struct FormatCase {
    Ymd date;
    std::uint32_t flags;
    const char* text;
};

void ExpectFormats(const FormatCase& c) {
    SCOPED_TRACE(::testing::Message() << c.date << " flags 0x" << std::hex << c.flags);
    const IDate d(c.date.year, c.date.month, c.date.day);
    IString out("left over");
    const std::int32_t length = FormatDate(d, c.flags, out);
    EXPECT_STREQ(out.CStr(), c.text);
    EXPECT_EQ(length, out.Length());
}

TEST(FormatDate, FlagCombinations) {
    const Ymd day{2016, 1, 14};
    const FormatCase cases[] = {
        {day, 0x70, "20160114"},
        {day, DF_YEAR | DF_MONTH | DF_DAY | DF_ERA, "H280114"},
        {day, 0x90, "H28"},
        {day, 0x30, "201601"},
        {day, 0x60, "0114"},
        {day, 0x10, "2016"},
        {day, 0x20, "01"},
        {day, 0x40, "14"},
        {day, 0x50, "201614"},
        {day, 0x80, ""},
        {day, 0xC0, "14"},  // the era flag needs the year flag
        {day, 0x00, ""},
        {day, 0x0F, ""},
        {day, 0xFFFFFF0F, ""},
        {day, 0xFFFFFFFF, "H280114"},  // other bits are ignored
        {{1758, 1, 2}, 0x70, "17580102"},
        {{9999, 12, 31}, 0x70, "99991231"},
    };
    for (const FormatCase& c : cases) ExpectFormats(c);
}

TEST(FormatDate, EraBoundaries) {
    const FormatCase cases[] = {
        {{1868, 9, 7}, 0x90, ""},      {{1868, 9, 8}, 0x90, "M01"},
        {{1912, 7, 29}, 0x90, "M45"},  {{1912, 7, 30}, 0x90, "T01"},
        {{1926, 12, 24}, 0x90, "T15"}, {{1926, 12, 25}, 0x90, "S01"},
        {{1989, 1, 7}, 0x90, "S64"},   {{1989, 1, 8}, 0x90, "H01"},
        {{2088, 1, 1}, 0x90, "H100"},  {{9999, 12, 31}, 0xF0, "H80111231"},
        {{1868, 9, 7}, 0xF0, ""},  // no letter: empty whatever else is asked
        {{1763, 12, 31}, 0xF0, ""},    {{1868, 9, 7}, 0x70, "18680907"},
    };
    for (const FormatCase& c : cases) ExpectFormats(c);
}

TEST(FormatDate, NullDateIsEmpty) {
    const FormatCase cases[] = {
        {{1758, 1, 1}, 0x70, ""},  // a real date, but serial 0
        {{1758, 1, 1}, 0xF0, ""},
        {{10000, 1, 1}, 0x70, ""},
        {{2016, 1, 32}, 0xFF, ""},
    };
    for (const FormatCase& c : cases) ExpectFormats(c);
}

TEST(FormatDate, TheLogStampOfTheBootstrap) {
    IDate d(0);
    d.SetToday();
    IString out;
    EXPECT_EQ(FormatDate(d, DF_YEAR | DF_MONTH | DF_DAY, out), 8);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%04d%02d%02d", static_cast<int>(d.year),
                  static_cast<int>(d.month), static_cast<int>(d.day));
    EXPECT_STREQ(out.CStr(), expected);
}

}  // namespace
}  // namespace link14
