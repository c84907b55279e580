// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TemporaryFile.h"

#include <chrono>
#include <random>

#include "PathHelpers.h"
#include "platform/Leftovers.h"

namespace varnock::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = ".varnock-";
constexpr std::size_t kSuffixLength = 7;  // ".XXXXXX"
constexpr int kNameTries = 100;

// Six letters or digits. Seeded from the clock and an address rather than a random device,
// which may need a file of its own that can fail to open.
std::string randomSuffix() {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random(
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        reinterpret_cast<std::uintptr_t>(&random));
    std::string suffix = ".";
    for (std::size_t i = 1; i < kSuffixLength; ++i) {
        suffix += kLetters[random() % kLetters.size()];
    }
    return suffix;
}

// The target's name cut to what fits the folder's name limit beside the prefix and suffix,
// at a character boundary.
std::string temporaryStem(const fs::path& target, const Folder& folder) {
    std::string name = utf8FromPath(target.filename());
    const std::size_t room = folder.longestName() - kPrefix.size() - kSuffixLength;
    if (name.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    return std::string(kPrefix) + name;
}

}  // namespace

bool isTemporaryName(std::string_view name) {
    return name.starts_with(kPrefix) && name.size() >= kPrefix.size() + kSuffixLength;
}

SysResult<TemporaryFile> TemporaryFile::create(const fs::path& target, const Folder& folder) {
    sweepLeftovers(folder);
    const std::string stem = temporaryStem(target, folder);
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        fs::path path = folder.path() / pathFromUtf8(stem + randomSuffix());
        auto created = File::createNew(path);
        if (!created) {
            return created.error();
        }
        if (created.value()) {
            return TemporaryFile(target, std::move(path), std::move(*created.value()));
        }
    }
    return SystemError::last();
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : m_target(std::move(other.m_target)),
      m_path(std::move(other.m_path)),
      m_file(std::move(other.m_file)),
      m_placed(other.m_placed),
      m_exchanged(other.m_exchanged) {
    other.m_placed = true;  // nothing left for the moved-from one to remove
}

TemporaryFile::~TemporaryFile() {
    m_file.close();
    if (!m_placed) {
        std::error_code ec;
        fs::remove(m_path, ec);
    }
}

Status TemporaryFile::write(std::string_view bytes) const {
    if (const auto written = m_file.writeAt(0, bytes); !written) {
        return failure("Cannot save", m_target, written.error());
    }
    return flush();
}

Status TemporaryFile::flush() const {
    const auto flushed = m_file.flush();
    return flushed ? Status::success() : failure("Cannot save", m_target, flushed.error());
}

Result<TemporaryFile::Swap> TemporaryFile::swapIn(const FileRead& expected) {
    if (!expected.exists) {
        const auto placed = placeNew(m_file, m_path, m_target);
        if (!placed) {
            return failure("Cannot save", m_target, placed.error());
        }
        m_placed = placed.value();
        return placed.value() ? Swap::Swapped : Swap::NotAsRead;  // a file was created meanwhile
    }
    const auto exchanged = exchange(m_file, m_path, m_target);
    if (!exchanged) {
        return failure("Cannot save", m_target, exchanged.error());
    }
    if (!exchanged.value()) {
        m_placed = true;
        return Swap::Swapped;
    }
    // The temporary name now holds what stood at the target; removed once it is checked.
    m_exchanged = true;
    const auto out = File::open(m_path, File::Access::Inspect);
    const auto info = out ? out.value().info() : SysResult<FileInfo>(out.error());
    if (info && info.value().stamp == expected.stamp) {
        return Swap::Swapped;
    }
    if (const auto back = takeBack(); !back) {
        // Another program's version must not be lost: it stays where it is, named to the user.
        m_placed = true;
        return failure("Cannot put back the version another program saved meanwhile, now in",
                       m_path, back.error());
    }
    if (!info) {
        return failure("Cannot read", m_target, info.error());  // put back: unchanged
    }
    return Swap::NotAsRead;
}

Status TemporaryFile::replaceTarget() {
    const auto exchanged = exchange(m_file, m_path, m_target);
    if (!exchanged) {
        return failure("Cannot write", m_target, exchanged.error());
    }
    (exchanged.value() ? m_exchanged : m_placed) = true;
    return Status::success();
}

Result<TemporaryFile::Swap> TemporaryFile::commit(const Folder& folder, const FileRead* expected,
                                                  Afterwards afterwards) {
    if (const auto flushed = m_file.flush(); !flushed) {
        return failure("Cannot write", m_target, flushed.error());
    }
    Result<Swap> swapped = Swap::Swapped;
    if (expected) {
        swapped = swapIn(*expected);
    } else if (Status placed = replaceTarget(); !placed) {
        swapped = placed;
    }
    if (!swapped || swapped.value() == Swap::NotAsRead) {
        return swapped;
    }
    if (const auto flushed = folder.flush(); !flushed) {
        const bool tookBack = (m_exchanged || m_placed) && takeBack().ok();
        return Status::failure(describe("Cannot flush the folder", folder.path(), flushed.error()) +
                               std::string(tookBack ? afterwards.takenBack : afterwards.standing));
    }
    return Swap::Swapped;
}

SysStatus TemporaryFile::takeBack() {
    auto back = putBack(m_path, m_target, m_exchanged);
    if (back) {
        // The name holds the new file again, to be removed.
        m_exchanged = false;
        m_placed = false;
    }
    return back;
}

}  // namespace varnock::platform
