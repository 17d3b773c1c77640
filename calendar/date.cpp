#include "calendar/date.h"

#include <ctime>

namespace link14 {

IDate kEraStarts[kEraCount];

std::int32_t kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

namespace {

// Days from 0001-01-01 to 1758-01-01 in the proleptic Gregorian calendar.
const std::uint32_t kDaysBeforeFirstYear = 641731;
const std::uint32_t kDaysPer400Years = 146097;
const std::uint32_t kDaysPer100Years = 36524;
const std::uint32_t kDaysPer4Years = 1461;

void SetFebruary(std::int32_t y) {
    kMonthDays[1] = IDate::IsLeapYear(static_cast<std::uint32_t>(y)) ? 29 : 28;
}

}  // namespace

IDate::IDate(std::uint32_t serialDay) : serial(serialDay), year(0), month(0), day(0), adjusted(0) {
    UpdateFields();
}

IDate::IDate(std::int32_t y, std::int32_t m, std::int32_t d)
    : serial(0), year(0), month(0), day(0), adjusted(0) {
    SetDate(y, m, d);
}

void IDate::SetDate(std::int32_t y, std::int32_t m, std::int32_t d) {
    // 64 bits, so that extreme years cannot overflow on their way to
    // being rejected.
    std::int64_t normYear = y;
    std::int32_t normMonth = m;
    if (normMonth <= 0) {
        normMonth += 12;
        normYear -= 1;
    } else if (normMonth > 12) {
        normYear += (normMonth - 1) / 12;
        normMonth = (normMonth - 1) % 12 + 1;
    }

    serial = 0;
    if (normYear >= kFirstYear && normYear <= kLastYear &&
        IsValidDate(static_cast<std::int32_t>(normYear), normMonth, d)) {
        const std::int32_t validYear = static_cast<std::int32_t>(normYear);
        serial = YearStartSerial(validYear) +
                 static_cast<std::uint32_t>(DaysBeforeMonth(validYear, normMonth)) +
                 static_cast<std::uint32_t>(d) - 1u;
    }
    UpdateFields();
    adjusted = (year == normYear && month == normMonth && day == d) ? 0 : 1;
}

IDate& IDate::SetToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    bool converted = now != static_cast<std::time_t>(-1);
#ifdef _WIN32
    converted = converted && localtime_s(&local, &now) == 0;
#else
    converted = converted && localtime_r(&now, &local) != nullptr;
#endif
    if (!converted || local.tm_year > kLastYear - 1900) {
        // No usable clock: the null date, flagged like any invalid request.
        SetDate(0, 0, 0);
        return *this;
    }
    SetDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return *this;
}

void IDate::UpdateFields() {
    year = YearOfSerial(serial);
    month = MonthOfSerial(serial, year);
    day = DayOfSerial(serial, year, month);
}

bool IDate::IsValidDate(std::int32_t y, std::int32_t m, std::int32_t d) {
    return y >= kFirstYear && y <= kLastYear && m >= 1 && m <= 12 && d >= 1 && d <= 31;
}

bool IDate::IsLeapYear(std::uint32_t y) {
    if (y % 400 == 0) return true;
    if (y % 100 == 0) return false;
    return y % 4 == 0;
}

std::uint32_t IDate::YearStartSerial(std::int32_t y) {
    const std::uint32_t u = static_cast<std::uint32_t>(y);
    const std::uint32_t before = u - 1;
    return 365u * u + before / 400 + before / 4 - before / 100 - (kDaysBeforeFirstYear + 365);
}

std::int32_t IDate::DaysBeforeMonth(std::int32_t y, std::int32_t m) {
    SetFebruary(y);
    if (m <= 1) return 0;
    const std::int32_t months = m - 1 < 12 ? m - 1 : 12;
    std::int32_t days = 0;
    for (std::int32_t i = 0; i < months; ++i) days += kMonthDays[i];
    return days;
}

std::int32_t IDate::YearOfSerial(std::uint32_t serialDay) {
    // The cycle count goes through double precision, as it always has; the
    // remainders are exact integers well below 2^53.
    const double n = static_cast<double>(serialDay) + kDaysBeforeFirstYear;
    const std::uint32_t cycles = static_cast<std::uint32_t>(n / kDaysPer400Years);
    std::uint32_t rest =
        static_cast<std::uint32_t>(n - static_cast<double>(cycles) * kDaysPer400Years);
    // Neither count is capped at 3: the last day of a cycle or of a
    // four-year group overshoots by one year, taken back below.
    const std::uint32_t centuries = rest / kDaysPer100Years;
    rest -= centuries * kDaysPer100Years;
    const std::uint32_t quads = rest / kDaysPer4Years;
    rest -= quads * kDaysPer4Years;
    const std::uint32_t years = rest / 365;
    std::int32_t y =
        static_cast<std::int32_t>(400u * cycles + 100u * centuries + 4u * quads + years + 1u);
    if (serialDay < YearStartSerial(y)) --y;
    return y;
}

std::int32_t IDate::MonthOfSerial(std::uint32_t serialDay, std::int32_t y) {
    std::uint32_t dayOfYear = serialDay - YearStartSerial(y);
    SetFebruary(y);
    if (dayOfYear < static_cast<std::uint32_t>(kMonthDays[0])) return 1;
    std::int32_t m = 1;
    // Stops at December, so that a serial outside `y` cannot walk off the table.
    do {
        dayOfYear -= static_cast<std::uint32_t>(kMonthDays[m - 1]);
        ++m;
    } while (m < 12 && dayOfYear >= static_cast<std::uint32_t>(kMonthDays[m - 1]));
    return m;
}

std::int32_t IDate::DayOfSerial(std::uint32_t serialDay, std::int32_t y, std::int32_t m) {
    return static_cast<std::int32_t>(serialDay - YearStartSerial(y) -
                                     static_cast<std::uint32_t>(DaysBeforeMonth(y, m)) + 1u);
}

std::int32_t IEraDate::SetFrom(const IDate& date) {
    eraYear = GetEraYear(date);
    month = date.month;
    day = date.day;
    eraNumber = GetEraNumber(date);
    return eraNumber;
}

void InitEraTable() {
    struct Start {
        std::int32_t year, month, day;
    };
    static const Start kStarts[kEraCount] = {
        {1764, 1, 1}, {1772, 1, 1},  {1781, 1, 1},   {1789, 1, 1}, {1801, 1, 1},
        {1804, 1, 1}, {1818, 1, 1},  {1830, 1, 1},   {1844, 1, 1}, {1848, 1, 1},
        {1854, 1, 1}, {1860, 1, 1},  {1861, 1, 1},   {1864, 1, 1}, {1865, 4, 7},
        {1868, 9, 8}, {1912, 7, 30}, {1926, 12, 25}, {1989, 1, 8},
    };
    for (int i = 0; i < kEraCount; ++i) {
        kEraStarts[i] = IDate(kStarts[i].year, kStarts[i].month, kStarts[i].day);
    }
}

std::int32_t GetEraNumber(const IDate& date) {
    std::int32_t count = 0;
    for (int i = 0; i < kEraCount; ++i) {
        if (kEraStarts[i].serial <= date.serial) ++count;
    }
    return count;
}

std::int32_t GetEraYear(const IDate& date) {
    const std::int32_t era = GetEraNumber(date);
    const std::int32_t base = era == 0 ? kEraZeroBaseYear : kEraStarts[era - 1].year;
    return date.year - base + 1;
}

std::int32_t EraLetter(std::int32_t eraNumber) {
    switch (eraNumber) {
        case 16:
            return 'M';
        case 17:
            return 'T';
        case 18:
            return 'S';
        case 19:
            return 'H';
        default:
            return -1;
    }
}

std::int32_t FormatDate(const IDate& date, std::uint32_t flags, IString& out) {
    out.Empty();
    if (date.serial == 0) return 0;
    if ((flags & DF_YEAR) && (flags & DF_ERA)) {
        IEraDate era;
        era.SetFrom(date);
        const std::int32_t letter = EraLetter(era.eraNumber);
        if (letter < 0) return 0;
        out.AppendFormat("%c%0*d", static_cast<int>(letter), 2, static_cast<int>(era.eraYear));
    } else if (flags & DF_YEAR) {
        out.AppendFormat("%0*d", 4, static_cast<int>(date.year));
    }
    if (flags & DF_MONTH) out.AppendFormat("%0*d", 2, static_cast<int>(date.month));
    if (flags & DF_DAY) out.AppendFormat("%0*d", 2, static_cast<int>(date.day));
    return out.Length();
}

}  // namespace link14
