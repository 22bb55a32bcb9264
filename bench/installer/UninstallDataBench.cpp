// Uninstall data for many files: built from the log, and merged into data that already lists
// as many.
#include "installer/state/InstallerState.h"
#include "installer/state/UninstallLists.h"
#include "installer/uninstall/UninstallData.h"
#include "installer/uninstall/UninstallMerge.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kFiles = 20000;

void logFiles(const char* prefix)
{
    gUninstallLog = UninstallLog{};
    gPackageToc.productName = ByteString("Product");
    for (int i = 0; i < kFiles; ++i) {
        const std::string path = std::string(prefix) + "\\folder" + std::to_string(i % 50) + "\\file" + std::to_string(i) + ".dat";
        addListEntry(path.c_str(), gUninstallLog.files);
    }
}

void BuildUninstallData20000Files(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        logFiles("C:\\Program Files\\Product");
        state.ResumeTiming();
        ByteString data;
        buildUninstallData(data);
        benchmark::DoNotOptimize(data.data());
    }
}
BENCHMARK(BuildUninstallData20000Files)->Unit(benchmark::kMillisecond);

void MergeUninstallData20000Into20000(benchmark::State& state)
{
    logFiles("C:\\Program Files\\Product");
    const ByteString installed = buildUninstallBody();
    for (auto _ : state) {
        state.PauseTiming();
        logFiles("C:\\Program Files\\Update");
        ByteString plain = installed;
        state.ResumeTiming();
        if (mergeIntoPlainData(plain) != MergeOutcome::Merged)
            state.SkipWithError("not merged");
        benchmark::DoNotOptimize(plain.data());
    }
}
BENCHMARK(MergeUninstallData20000Into20000)->Unit(benchmark::kMillisecond);

} // namespace
