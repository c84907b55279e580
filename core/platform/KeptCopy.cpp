// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/KeptCopy.h"

#include <cinttypes>
#include <cstdio>

#include "PathHelpers.h"
#include "platform/CacheFolder.h"

namespace varnock::platform {
namespace {

namespace fs = std::filesystem;

constexpr int kFingerprintDigits = 16;

std::uint64_t fingerprint(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
}

// Fixed width for the fingerprint, so that it can be found in a name.
std::string hex(std::uint64_t value, int width = 0) {
    char text[17];
    std::snprintf(text, sizeof text, "%0*" PRIx64, width, value);
    return text;
}

std::string prefixFor(const FileStamp& stamp) {
    return hex(stamp.device) + "-" + hex(stamp.file) + "-";
}

// A copy is stale when its save finished (the file holds what it wrote) or changed nothing
// (the file holds the copy's bytes); in use while a running save holds it locked.
enum class CopyState { Stale, InUse, Unfinished };

CopyState stateOf(const fs::path& copy, std::string_view name, std::string_view prefix,
                  const FileRead& expected) {
    const auto file = File::open(copy, File::Access::Inspect);
    const auto info = file ? file.value().info() : SysResult<FileInfo>(file.error());
    if (!info || info.value().kind != FileType::Regular) {
        return CopyState::Unfinished;
    }
    const auto lock = file.value().tryLock();
    if (lock && lock.value() == File::Lock::HeldElsewhere) {
        return CopyState::InUse;
    }
    if (name.substr(prefix.size(), kFingerprintDigits) ==
        hex(fingerprint(expected.text()), kFingerprintDigits)) {
        return CopyState::Stale;
    }
    std::string bytes(expected.bytes.size(), '\0');
    const auto got = file.value().readAt(0, bytes.data(), bytes.size());
    const bool same = info.value().stamp.size == bytes.size() &&
                      (bytes.empty() || (got && got.value() == bytes.size())) &&
                      bytes == expected.bytes;
    return same ? CopyState::Stale : CopyState::Unfinished;
}

// Removes stale copies of the file's old bytes; a copy that may hold the only good version
// of the file is returned, to be named to the user.
Result<std::optional<fs::path>> sweepCopies(const fs::path& folder, const FileRead& expected) {
    const std::string prefix = prefixFor(expected.stamp);
    std::optional<fs::path> unfinished;
    std::error_code ec;
    fs::directory_iterator entry(folder, ec);
    for (; !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
        const std::string name = utf8FromPath(entry->path().filename());
        if (!name.starts_with(prefix)) {
            continue;
        }
        switch (stateOf(entry->path(), name, prefix, expected)) {
            case CopyState::Stale:
                fs::remove(entry->path(), ec);
                ec.clear();
                break;
            case CopyState::InUse:
                break;
            case CopyState::Unfinished:
                unfinished = entry->path();
                break;
        }
    }
    if (ec) {
        return Status::failure(describeFailure("Cannot read the folder", folder, ec.message()));
    }
    return unfinished;
}

}  // namespace

Result<KeptCopy> KeptCopy::keep(const fs::path& target, const FileRead& expected,
                                std::string_view bytes) {
    const auto folder = cacheFolder();
    if (!folder && folder.error().where().empty()) {
        return Status::failure(std::string("Cannot keep a copy of the settings file's old bytes: "
                                           "there is no cache folder (") +
                               kCacheHomeVariable + " is not set).");
    }
    if (!folder) {
        return failure("Cannot create the folder", folder.error().where(), folder.error());
    }
    const auto unfinished = sweepCopies(folder.value(), expected);
    if (!unfinished) {
        return unfinished.status();
    }
    if (unfinished.value()) {
        return Status::failure(
            "Cannot save \"" + utf8FromPath(target) +
            "\": an earlier save that did not finish kept the file's old bytes in \"" +
            utf8FromPath(*unfinished.value()) +
            "\". Compare the two, keep what is right, then remove that copy.");
    }
    std::string name =
        prefixFor(expected.stamp) + hex(fingerprint(bytes), kFingerprintDigits) + "-";
    name += utf8FromPath(target.filename()).substr(0, 200 - name.size());
    const fs::path path = folder.value() / pathFromUtf8(name);
    // Written under a temporary name and put in place when whole, so that a copy under its
    // own name always holds all of the old bytes.
    const auto opened = Folder::open(folder.value());
    if (!opened) {
        return failure("Cannot open the folder", folder.value(), opened.error());
    }
    auto file = TemporaryFile::create(path, opened.value());
    if (!file) {
        return failure("Cannot create a file in", folder.value(), file.error());
    }
    const auto written = file.value().file().writeAt(0, expected.text());
    if (!written) {
        return failure("Cannot keep a copy of the settings file in", path, written.error());
    }
    if (const auto placed = file.value().commit(opened.value(), nullptr, {"", ""}); !placed) {
        return placed.status();
    }
    return KeptCopy(path, std::move(file).value());
}

KeptCopy::KeptCopy(KeptCopy&& other) noexcept
    : m_path(std::move(other.m_path)),
      m_file(std::move(other.m_file)),
      m_keptForUser(other.m_keptForUser) {
    other.m_keptForUser = true;  // nothing left for the moved-from one to remove
}

KeptCopy::~KeptCopy() {
    m_file.reset();
    if (!m_keptForUser) {
        std::error_code ec;
        fs::remove(m_path, ec);  // a copy that stays is recognised as done next time
        // The folder too, once it holds nothing: Varnock keeps no files of its own.
        fs::remove(m_path.parent_path(), ec);
    }
}

}  // namespace varnock::platform
