// Calendar date with serial day numbers from 1758-01-01 (serial 0) to
// 9999-12-31 (serial 3010327), the Japanese era table and compact date stamps.
#pragma once

#include <cstdint>

#include "common/istring.h"

namespace link14 {

// The date records are packed: the era table is an array of them, laid out
// with no gap between fields.
#pragma pack(push, 1)

class IDate {
public:
    static constexpr std::int32_t kFirstYear = 1758;
    static constexpr std::int32_t kLastYear = 9999;
    static constexpr std::uint32_t kLastSerial = 3010327;

    // The all-zero record: only the era table holds it, until InitEraTable.
    constexpr IDate() : serial(0), year(0), month(0), day(0), adjusted(0) {}
    // Stores `serialDay` unchanged; callers keep it within 0..kLastSerial.
    explicit IDate(std::uint32_t serialDay);
    IDate(std::int32_t y, std::int32_t m, std::int32_t d);

    // Months outside 1..12 are brought into range (a month <= 0 only once);
    // an invalid request stores the null date (serial 0), a day past the
    // month's end runs on into the next month. Either raises `adjusted`.
    void SetDate(std::int32_t y, std::int32_t m, std::int32_t d);
    // Today's local date; the null date when the clock cannot be converted.
    IDate& SetToday();
    // Recomputes year, month and day from serial; `adjusted` is left alone.
    void UpdateFields();

    static bool IsValidDate(std::int32_t y, std::int32_t m, std::int32_t d);
    static bool IsLeapYear(std::uint32_t y);
    static std::uint32_t YearStartSerial(std::int32_t y);
    // Rewrites the February entry of kMonthDays for `y`.
    static std::int32_t DaysBeforeMonth(std::int32_t y, std::int32_t m);
    static std::int32_t YearOfSerial(std::uint32_t serialDay);
    // Rewrites the February entry of kMonthDays for `y`.
    static std::int32_t MonthOfSerial(std::uint32_t serialDay, std::int32_t y);
    static std::int32_t DayOfSerial(std::uint32_t serialDay, std::int32_t y, std::int32_t m);

    std::uint32_t serial;
    std::int32_t year;
    std::int32_t month;
    std::int32_t day;
    std::uint8_t adjusted;
};

class IEraDate {
public:
    // Fills every field from `date`; returns the era number.
    std::int32_t SetFrom(const IDate& date);

    std::int32_t eraYear;
    std::int32_t month;
    std::int32_t day;
    std::int32_t eraNumber;
};

#pragma pack(pop)

static_assert(sizeof(IDate) == 17, "IDate must be packed");
static_assert(sizeof(IEraDate) == 16, "IEraDate must be packed");

const int kEraCount = 19;
// Era numbers 1..19 start on kEraStarts[0..18]; 0 is before the first entry,
// with its years counted from this base.
const std::int32_t kEraZeroBaseYear = 1751;

// Zero until InitEraTable; read-only afterwards.
extern IDate kEraStarts[kEraCount];
// Month lengths, January first. The February entry is rewritten by every
// lookup that reads it, so date calculations are for one thread at a time.
extern std::int32_t kMonthDays[12];

// Fills kEraStarts through SetDate. Safe to call more than once.
void InitEraTable();

// How many era starts lie at or before `date`: 0..kEraCount.
std::int32_t GetEraNumber(const IDate& date);
// The year of `date` counted within its era, 1 for the era's first year.
std::int32_t GetEraYear(const IDate& date);
// 'M', 'T', 'S' or 'H' for eras 16..19; -1 for any other number.
std::int32_t EraLetter(std::int32_t eraNumber);

const std::uint32_t DF_YEAR = 0x10;
const std::uint32_t DF_MONTH = 0x20;
const std::uint32_t DF_DAY = 0x40;
const std::uint32_t DF_ERA = 0x80;  // with DF_YEAR: era letter and era year

// Writes `date` into `out` as digits in the order year (or era), month, day
// and returns the length of `out`. The null date, and with DF_YEAR | DF_ERA a
// date before the lettered eras, give an empty `out` and 0.
std::int32_t FormatDate(const IDate& date, std::uint32_t flags, IString& out);

}  // namespace link14
