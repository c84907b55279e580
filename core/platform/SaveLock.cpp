// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SaveLock.h"

#include <chrono>
#include <memory>
#include <thread>

namespace varnock::platform {
namespace {

constexpr std::chrono::seconds kLongestWait{3};
constexpr std::chrono::milliseconds kPause{50};

// Whether file holds exactly expected, read anew from its start.
SysResult<bool> holdsBytes(const File& file, std::string_view expected) {
    constexpr std::size_t kChunk = 1u << 16;
    auto buffer = std::make_unique_for_overwrite<char[]>(kChunk);
    for (std::size_t at = 0;;) {
        const auto got = file.readAt(at, buffer.get(), kChunk);
        if (!got) {
            return got.error();
        }
        if (got.value() == 0) {
            return at == expected.size();
        }
        if (expected.substr(at, got.value()) != std::string_view(buffer.get(), got.value())) {
            return false;
        }
        at += got.value();
    }
}

}  // namespace

Result<SaveLock> SaveLock::take(const std::filesystem::path& target) {
    auto opened = File::open(target, File::Access::Read);
    if (!opened) {
        if (opened.error().is(SystemError::Kind::NotFound)) {
            return SaveLock(target, std::nullopt);
        }
        return failure("Cannot save", target, opened.error());
    }
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    for (;;) {
        const auto locked = opened.value().tryLock();
        if (!locked) {
            return failure("Cannot save", target, locked.error());
        }
        // Without locks the save still checks, before its swap, that the file is as read.
        if (locked.value() != File::Lock::HeldElsewhere) {
            return SaveLock(target, std::move(opened).value());
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return Status::failure(describeFailure(
                "Cannot save", target,
                "another program keeps it locked. The settings file was not changed; try again "
                "once that program is done with it"));
        }
        std::this_thread::sleep_for(kPause);
    }
}

Result<bool> SaveLock::stillAsRead(const FileRead& expected) const {
    if (expected.exists != m_file.has_value()) {
        return false;
    }
    if (m_file) {
        const auto held = m_file->info();
        if (!held) {
            return failure("Cannot read", m_target, held.error());
        }
        const auto same = holdsBytes(*m_file, expected.text());
        if (!same) {
            return failure("Cannot read", m_target, same.error());
        }
        if (held.value().stamp != expected.stamp || !same.value()) {
            return false;
        }
    }
    // Looked at last, so that little time passes between this look and what follows it.
    auto now = File::open(m_target, File::Access::Read);
    if (!now) {
        if (now.error().is(SystemError::Kind::NotFound)) {
            return !expected.exists;
        }
        return failure("Cannot read", m_target, now.error());
    }
    const auto info = now.value().info();
    if (!info) {
        return failure("Cannot read", m_target, info.error());
    }
    return expected.exists && info.value().stamp == expected.stamp;
}

}  // namespace varnock::platform
