// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>
#include <optional>
#include <thread>

#include "platform/Read.h"
#include "platform/ReadSettled.h"

namespace varnock::platform {
namespace {

// A file written this recently may be in the middle of being written.
constexpr std::chrono::milliseconds kQuietFor{100};
constexpr std::chrono::milliseconds kPauseBetweenReads{10};
constexpr std::chrono::seconds kLongestWait{1};

bool writtenRecently(const FileStamp& stamp) {
    using namespace std::chrono;
    const auto now = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    return now - stamp.modified < duration_cast<nanoseconds>(kQuietFor).count();
}

}  // namespace

Result<FileRead> readSettled(const std::filesystem::path& path) {
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    std::optional<FileRead> previous;
    for (;;) {
        auto one = readOnce(path);
        if (!one) {
            return one.status();
        }
        OneRead read = std::move(one).value();
        const bool quiet = !read.read.exists || !writtenRecently(read.read.stamp);
        if (read.settled && (quiet || previous == read.read)) {
            return std::move(read.read);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return Status::failure(
                "The settings file kept changing while Varnock read it; another program may be "
                "writing it. Try again in a moment.");
        }
        previous = std::move(read.read);
        std::this_thread::sleep_for(kPauseBetweenReads);
    }
}

}  // namespace varnock::platform
