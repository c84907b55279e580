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

bool isLeftover(const File& file) {
    using namespace std::chrono;
    const auto info = file.info();
    const auto now = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    if (!info || info.value().kind != FileKind::Regular ||
        now - info.value().changed < duration_cast<nanoseconds>(kLeftoverAge).count()) {
        return false;
    }
    const auto ours = file.ownedByUs();
    if (!ours || !ours.value()) {
        return false;
    }
    const auto locked = file.tryLock();
    return locked && locked.value();
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
