// SPDX-License-Identifier: GPL-3.0-or-later
// listRegistered against its floor: 257 plain open-read-close cycles of the same file, what a
// reader that went to the file for every slot would pay. Beside them, one registration and
// one unregistration of 100 entries, each a read and one save, and the listing as the window
// shows it: every filled slot with its marks (not loaded, not in "Data Files", registered
// twice).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "ArchiveSlotTable.h"
#include "PathHelpers.h"
#include "SettingsFiles.h"
#include "SlotLayout.h"
#include "ini/IniText.h"
#include "session/EntryMarks.h"

namespace {

namespace fs = std::filesystem;
using namespace varnock;

// A file written a moment ago is read until two reads agree; these are dated a second back,
// as a settings file the user chooses is.
void writeSettled(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(1));
}

fs::path benchFile(const char* name, std::size_t bytes, int archivesAfter) {
    const fs::path path = fs::temp_directory_path() / name;
    writeSettled(path, bench::settingsText(bytes, archivesAfter));
    return path;
}

const fs::path& realisticFile() {
    static const fs::path path = benchFile("varnock-bench-40k.ini", 40 * 1024, 6);
    return path;
}

const fs::path& largeFile() {
    static const fs::path path = benchFile("varnock-bench-1m.ini", 1024 * 1024, 12);
    return path;
}

std::size_t plainRead(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    ::fstat(fd, &info);
    const std::size_t capacity = static_cast<std::size_t>(info.st_size) + 1;
    auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
    std::size_t size = 0;
    for (ssize_t got; (got = ::read(fd, buffer.get() + size, capacity - size)) > 0;) {
        size += static_cast<std::size_t>(got);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buffer.get());
    return size;
}

void floorOf(benchmark::State& state, const fs::path& path) {
    for (auto _ : state) {
        for (int i = 0; i <= kMaxSlot + 1; ++i) {
            benchmark::DoNotOptimize(plainRead(path));
        }
    }
    state.SetLabel(std::to_string(fs::file_size(path)) + " bytes, 257 reads");
}

void listOf(benchmark::State& state, const fs::path& path) {
    const ArchiveSlotTable table(path);
    for (auto _ : state) {
        const auto slots = table.listRegistered();
        if (slots.size() != 256) {
            state.SkipWithError("the file does not list 256 archives");
        }
        benchmark::DoNotOptimize(slots.data());
    }
    state.SetLabel(std::to_string(fs::file_size(path)) + " bytes");
}

void BM_Floor40K(benchmark::State& state) {
    floorOf(state, realisticFile());
}
void BM_ListRegistered40K(benchmark::State& state) {
    listOf(state, realisticFile());
}
void BM_Floor1M(benchmark::State& state) {
    floorOf(state, largeFile());
}
void BM_ListRegistered1M(benchmark::State& state) {
    listOf(state, largeFile());
}

// The window's listing of a full table, marks and all: every file in "Data Files" under its
// registered name, every one there in another letter case, none there; and none there with
// slot 1 emptied, so that every later entry is marked not loaded as well.
enum class DataFilesHold { Exact, OtherCase, Nothing, NothingBehindAGap };

void listWithMarksOf(benchmark::State& state, DataFilesHold holds) {
    const fs::path game = fs::temp_directory_path() / "varnock-bench-game";
    fs::remove_all(game);
    fs::create_directories(game / "Data Files");
    const fs::path ini = game / "app.ini";
    std::string text = bench::settingsText(40 * 1024, 6);
    if (holds == DataFilesHold::NothingBehindAGap) {
        text = *ini::withoutKey(text, kArchivesSection, slotKey(1));
    }
    writeSettled(ini, text);
    std::vector<std::string> names;
    for (const auto& slot : ArchiveSlotTable(ini).snapshot().value().filled()) {
        names.push_back(slot.value);
    }
    for (std::string name : names) {
        if (holds == DataFilesHold::Nothing || holds == DataFilesHold::NothingBehindAGap) {
            break;
        }
        if (holds == DataFilesHold::OtherCase) {
            for (char& c : name) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
        }
        std::ofstream(game / "Data Files" / name) << "BSA";
    }
    const std::vector<std::string> folders{dataFilesFolderOf(ini.string())};
    const ArchiveSlotTable table(ini);
    const bool present = holds == DataFilesHold::Exact || holds == DataFilesHold::OtherCase;
    for (auto _ : state) {
        const auto slots = table.snapshot();
        const auto entries =
            markedEntries(slots.value().filled(), slots.value().firstEmpty(), folders);
        if (entries.size() != names.size() || entries.back().missing == present) {
            state.SkipWithError("the listing marked the wrong archives");
        }
        benchmark::DoNotOptimize(entries.data());
    }
    state.SetLabel(std::to_string(names.size()) + " registered archives");
    fs::remove_all(game);
}

void BM_ListWithMarksExact(benchmark::State& state) {
    listWithMarksOf(state, DataFilesHold::Exact);
}
void BM_ListWithMarksOtherCase(benchmark::State& state) {
    listWithMarksOf(state, DataFilesHold::OtherCase);
}
void BM_ListWithMarksNothingThere(benchmark::State& state) {
    listWithMarksOf(state, DataFilesHold::Nothing);
}
void BM_ListWithMarksBehindAGap(benchmark::State& state) {
    listWithMarksOf(state, DataFilesHold::NothingBehindAGap);
}

// Each iteration starts from the same file, restored outside the timing.
template <typename Change>
void changeOf(benchmark::State& state, const std::string& text, Change change) {
    const fs::path path = fs::temp_directory_path() / "varnock-bench-change.ini";
    const ArchiveSlotTable table(path);
    for (auto _ : state) {
        state.PauseTiming();
        writeSettled(path, text);
        state.ResumeTiming();
        if (!change(table)) {
            state.SkipWithError("the change failed");
        }
    }
    fs::remove(path);
}

void BM_RegisterOne40K(benchmark::State& state) {
    const std::string full = bench::settingsText(40 * 1024, 6);
    const std::string text = *ini::withoutKey(full, kArchivesSection, slotKey(kMaxSlot));
    changeOf(state, text, [](const ArchiveSlotTable& table) {
        const auto done = table.registerName(SettingsFile::storable("New.bsa").value());
        return done && done.value().kind == FreeSlot::Kind::Found;
    });
}

void BM_Unregister100Of40K(benchmark::State& state) {
    const std::string text = bench::settingsText(40 * 1024, 6);
    const fs::path path = fs::temp_directory_path() / "varnock-bench-change.ini";
    writeSettled(path, text);
    const auto shown = ArchiveSlotTable(path).snapshot().value().filled();
    std::vector<SlotIndex> removed;
    for (SlotIndex n = 0; n < 100; ++n) {
        removed.push_back(n);
    }
    const SlotLayout layout = layoutWithout(removed);
    changeOf(state, text, [&](const ArchiveSlotTable& table) {
        const auto done = table.rearrange(shown, layout);
        return done && done.value() == TableChange::Saved;
    });
}

BENCHMARK(BM_Floor40K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListRegistered40K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListRegistered1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListWithMarksExact)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListWithMarksOtherCase)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListWithMarksNothingThere)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListWithMarksBehindAGap)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RegisterOne40K)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_Unregister100Of40K)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

BENCHMARK_MAIN();
