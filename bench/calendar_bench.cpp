// Cost of one date calculation: SetDate, the serial constructor, FormatDate.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "calendar/date.h"

namespace {

using link14::IDate;

// Inputs drawn once, so that the loop measures the date code and not the
// generator, and no branch sees the same date twice in a row.
struct Inputs {
    std::vector<std::int32_t> years, months, days;
    std::vector<std::uint32_t> serials;
    Inputs() {
        std::mt19937 random(14);
        for (int i = 0; i < 4096; ++i) {
            years.push_back(std::uniform_int_distribution<std::int32_t>(1758, 9999)(random));
            months.push_back(std::uniform_int_distribution<std::int32_t>(1, 12)(random));
            days.push_back(std::uniform_int_distribution<std::int32_t>(1, 28)(random));
            serials.push_back(
                std::uniform_int_distribution<std::uint32_t>(0, IDate::kLastSerial)(random));
        }
    }
};

const Inputs& TheInputs() {
    static const Inputs inputs;
    return inputs;
}

void SetDate(benchmark::State& state) {
    const Inputs& in = TheInputs();
    IDate d(0);
    std::size_t i = 0;
    for (auto _ : state) {
        d.SetDate(in.years[i], in.months[i], in.days[i]);
        benchmark::DoNotOptimize(d);
        i = (i + 1) & 4095;
    }
}
BENCHMARK(SetDate);

void SerialConstructor(benchmark::State& state) {
    const Inputs& in = TheInputs();
    std::size_t i = 0;
    for (auto _ : state) {
        IDate d(in.serials[i]);
        benchmark::DoNotOptimize(d);
        i = (i + 1) & 4095;
    }
}
BENCHMARK(SerialConstructor);

void FormatDate(benchmark::State& state) {
    link14::InitEraTable();
    const Inputs& in = TheInputs();
    // Dates from 1989-01-08 on, so that the era form always has its letter.
    const std::uint32_t heisei = 84378;
    std::vector<IDate> dates;
    for (std::uint32_t s : in.serials) {
        dates.emplace_back(heisei + s % (IDate::kLastSerial - heisei + 1));
    }
    const std::uint32_t flags = static_cast<std::uint32_t>(state.range(0));
    link14::IString out;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(link14::FormatDate(dates[i], flags, out));
        i = (i + 1) & 4095;
    }
}
// The log stamp (YYYYMMDD) and the era form (H280114).
BENCHMARK(FormatDate)->Arg(0x70)->Arg(0xF0);

}  // namespace
