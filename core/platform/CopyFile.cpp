// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CopyFile.h"
#include "platform/ChunkCopy.h"
#include "platform/File.h"
#include "platform/Folder.h"
#include "platform/Metadata.h"
#include "platform/TemporaryFile.h"

namespace varnock::platform {
namespace {

namespace fs = std::filesystem;

// Runs the copy chunk by chunk, telling progress before the first and after each one.
Result<CopyOutcome> copyInChunks(const File& in, const TemporaryFile& out, std::uint64_t total,
                                 const fs::path& destination, const CopyProgress& progress) {
    ChunkCopy chunks(in, out.file());
    std::uint64_t copied = 0;
    if (!progress(copied, total)) {
        return CopyOutcome::Cancelled;
    }
    for (;;) {
        const auto moved = chunks.next(copied);
        if (!moved) {
            return failure("Cannot copy to", destination, moved.error());
        }
        if (moved.value() == 0) {
            return CopyOutcome::Copied;
        }
        copied += moved.value();
        if (!progress(copied, total)) {
            return CopyOutcome::Cancelled;
        }
    }
}

}  // namespace

Result<CopyOutcome> copyFile(const fs::path& source, const fs::path& destination,
                             const CopyProgress& progress) {
    const auto in = File::open(source, File::Access::Read);
    const auto info = in ? in.value().info() : SysResult<FileInfo>(in.error());
    if (!info) {
        return failure("Cannot read", source, info.error());
    }
    if (info.value().kind != FileType::Regular) {
        return notRegular("Cannot read", source, info.value().kind == FileType::Folder);
    }
    const fs::path folderPath = folderOfFile(destination);
    const auto folder = Folder::open(folderPath);
    if (!folder) {
        return failure("Cannot open the folder", folderPath, folder.error());
    }
    auto out = TemporaryFile::create(destination, folder.value());
    if (!out) {
        return failure("Cannot create a file in", folderPath, out.error());
    }
    const auto copied =
        copyInChunks(in.value(), out.value(), info.value().stamp.size, destination, progress);
    if (!copied || copied.value() != CopyOutcome::Copied) {
        return copied;
    }
    // The copy is the same archive: same date, so that tools that compare dates see no change.
    if (const auto carried = carryForCopy(in.value(), out.value().file()); !carried) {
        return failure("Cannot copy to", destination, carried.error());
    }
    // A copy that may not survive a power cut is taken back, as if it had failed.
    const auto placed = out.value().commit(
        folder.value(), nullptr, {"", " The copy is in place, but may not survive a power cut."});
    if (!placed) {
        return placed.status();
    }
    return CopyOutcome::Copied;
}

}  // namespace varnock::platform
