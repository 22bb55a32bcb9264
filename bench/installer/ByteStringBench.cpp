#include "installer/text/ByteString.h"

#include <benchmark/benchmark.h>

namespace {

// Appending n bytes one at a time: linear when growth is amortised.
void BM_AppendCharOneAtATime(benchmark::State& state)
{
    for (auto _ : state) {
        ByteString s;
        for (std::int64_t i = 0; i < state.range(0); ++i)
            s.appendChar(static_cast<std::uint8_t>(i));
        benchmark::DoNotOptimize(s.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AppendCharOneAtATime)->RangeMultiplier(4)->Range(1 << 10, 1 << 20)->Complexity();

void BM_ScrambleRoundTrip(benchmark::State& state)
{
    ByteString s;
    s.grow(static_cast<std::uint32_t>(state.range(0)));
    for (auto _ : state) {
        s.scramble();
        benchmark::DoNotOptimize(s.unscramble());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ScrambleRoundTrip)->Arg(4096)->Arg(1 << 20);

} // namespace
