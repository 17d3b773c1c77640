// SetDate, the serial constructor and FormatDate over arbitrary requests,
// serials and flags.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calendar/date.h"

namespace {

using link14::IDate;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

std::int32_t Take(const std::uint8_t*& data) {
    std::int32_t v;
    std::memcpy(&v, data, sizeof v);
    data += sizeof v;
    return v;
}

int MonthLength(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

void CheckFields(const IDate& d) {
    const int y = d.year, m = d.month, day = d.day;
    Check(y >= IDate::kFirstYear && y <= IDate::kLastYear, "year in range");
    Check(m >= 1 && m <= 12, "month in range");
    Check(day >= 1 && day <= MonthLength(y, m), "day in its month");
}

void CheckFormat(const IDate& d, std::uint32_t flags) {
    link14::IString out("stale");
    const std::int32_t length = link14::FormatDate(d, flags, out);
    Check(length == out.Length(), "FormatDate returns the length");
    Check(out.CStr()[out.Length()] == '\0', "FormatDate output terminated");
    std::string expected;
    char part[32];
    if (d.serial != 0) {
        bool letterless = false;
        if ((flags & link14::DF_YEAR) && (flags & link14::DF_ERA)) {
            const std::int32_t letter = link14::EraLetter(link14::GetEraNumber(d));
            letterless = letter < 0;
            std::snprintf(part, sizeof part, "%c%02d", static_cast<char>(letter),
                          static_cast<int>(link14::GetEraYear(d)));
        } else if (flags & link14::DF_YEAR) {
            std::snprintf(part, sizeof part, "%04d", static_cast<int>(d.year));
        } else {
            part[0] = '\0';
        }
        expected = part;
        if (flags & link14::DF_MONTH) {
            std::snprintf(part, sizeof part, "%02d", static_cast<int>(d.month));
            expected += part;
        }
        if (flags & link14::DF_DAY) {
            std::snprintf(part, sizeof part, "%02d", static_cast<int>(d.day));
            expected += part;
        }
        if (letterless) expected.clear();
    }
    Check(std::string(out.CStr(), out.Length()) == expected, "FormatDate text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool kTable = (link14::InitEraTable(), true);
    (void)kTable;
    if (size < 20) return 0;
    const std::int32_t y = Take(data), m = Take(data), day = Take(data);
    const std::uint32_t flags = static_cast<std::uint32_t>(Take(data));
    const std::uint32_t raw = static_cast<std::uint32_t>(Take(data));

    const IDate d(y, m, day);
    Check(d.serial <= IDate::kLastSerial, "SetDate keeps the serial in range");
    CheckFields(d);
    const IDate again(d.serial);
    Check(again.year == d.year && again.month == d.month && again.day == d.day,
          "fields are those of the serial");
    // Normalised as SetDate does, in 64 bits.
    std::int64_t ny = y;
    std::int64_t nm = m;
    if (nm <= 0) {
        nm += 12;
        ny -= 1;
    } else if (nm > 12) {
        ny += (nm - 1) / 12;
        nm = (nm - 1) % 12 + 1;
    }
    const bool exact = d.year == ny && d.month == nm && d.day == day;
    Check(d.adjusted == (exact ? 0 : 1), "adjusted says whether the request was stored");
    CheckFormat(d, flags);

    // Any serial in range goes there and back.
    const IDate fromSerial(raw % (IDate::kLastSerial + 1));
    CheckFields(fromSerial);
    const IDate back(fromSerial.year, fromSerial.month, fromSerial.day);
    Check(back.serial == fromSerial.serial && back.adjusted == 0, "serial round trip");
    CheckFormat(fromSerial, flags);

    // Outside the range the constructor stores what it is given and stays in bounds.
    const IDate wild(raw);
    Check(wild.serial == raw && wild.month >= 1 && wild.month <= 12, "serial stored unchanged");
    return 0;
}
