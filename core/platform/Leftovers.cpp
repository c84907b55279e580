// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Leftovers.h"

#include <chrono>

#include "PathHelpers.h"
#include "platform/File.h"
#include "platform/TemporaryFile.h"

namespace varnock::platform {
namespace {

namespace fs = std::filesystem;

// A leftover must have stood this long, so that a file that another Varnock is just
// creating, locking or exchanging is never taken for one.
constexpr std::chrono::seconds kLeftoverAge{1};
// Where the file system has no locks, a file still being written cannot be told by its lock:
// only one left unchanged far longer than any write pauses is taken.
constexpr std::chrono::minutes kLeftoverAgeWithoutLocks{10};

bool isLeftover(const File& file) {
    using namespace std::chrono;
    const auto info = file.info();
    if (!info || info.value().kind != FileType::Regular) {
        return false;
    }
    const nanoseconds age(
        duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() -
        info.value().changed);
    const auto ours = file.ownedByUs();
    if (age < kLeftoverAge || !ours || !ours.value()) {
        return false;
    }
    const auto lock = file.tryLock();
    return lock && (lock.value() == File::Lock::Taken ||
                    (lock.value() == File::Lock::Unsupported && age >= kLeftoverAgeWithoutLocks));
}

}  // namespace

void sweepLeftovers(const Folder& folder) {
    std::error_code ec;
    for (fs::directory_iterator entry(folder.path(), ec); !ec && entry != fs::directory_iterator();
         entry.increment(ec)) {
        if (!isTemporaryName(utf8FromPath(entry->path().filename()))) {
            continue;
        }
        const auto file = File::open(entry->path(), File::Access::Inspect);
        if (file && isLeftover(file.value())) {
            (void)file.value().removeIfNamed(entry->path());
        }
    }
}

}  // namespace varnock::platform
