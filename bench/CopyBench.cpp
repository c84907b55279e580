// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of the archive copy against the system's cp on the same 512 MiB file. The
// archive copy flushes its file to disk before renaming it into place; cp does not, so cp
// is also measured followed by a flush of the copy.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/CopyFile.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kArchiveBytes = 512u << 20;

const fs::path& folder() {
    static const fs::path path = [] {
        const fs::path p = fs::temp_directory_path() / "varnock-copy-bench";
        fs::create_directories(p / "Data Files");
        std::ofstream out(p / "source.bsa", std::ios::binary);
        std::vector<char> block(1 << 20);
        for (std::size_t i = 0; i < block.size(); ++i) {
            block[i] = static_cast<char>(i * 2654435761u >> 11);
        }
        for (std::size_t written = 0; written < kArchiveBytes; written += block.size()) {
            block[written % block.size()] ^= 1;  // no two blocks alike
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        return p;
    }();
    return path;
}

void runShell(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("the command failed");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kArchiveBytes));
}

void BM_ArchiveCopy(benchmark::State& state) {
    const fs::path source = folder() / "source.bsa";
    const fs::path destination = folder() / "Data Files" / "copy.bsa";
    for (auto _ : state) {
        const auto result = varnock::platform::copyFile(
            source, destination, [](std::uint64_t, std::uint64_t) { return true; });
        if (!result || result.value() != varnock::platform::CopyOutcome::Copied) {
            state.SkipWithError(result ? "cancelled" : result.reason().c_str());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kArchiveBytes));
}

void BM_SystemCp(benchmark::State& state) {
    const std::string f = folder().string();
    runShell(state, "cp '" + f + "/source.bsa' '" + f + "/Data Files/cp.bsa'");
}

void BM_SystemCpThenSync(benchmark::State& state) {
    const std::string f = folder().string();
    runShell(state, "cp '" + f + "/source.bsa' '" + f + "/Data Files/cp.bsa' && sync '" + f +
                        "/Data Files/cp.bsa'");
}

BENCHMARK(BM_ArchiveCopy)->Unit(benchmark::kMillisecond)->Iterations(4)->UseRealTime();
BENCHMARK(BM_SystemCp)->Unit(benchmark::kMillisecond)->Iterations(4)->UseRealTime();
BENCHMARK(BM_SystemCpThenSync)->Unit(benchmark::kMillisecond)->Iterations(4)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
