// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFilesCopy.h"

#include <chrono>
#include <filesystem>

#include "PathHelpers.h"
#include "platform/CopyFile.h"

namespace varnock {
DataFilesCopy copyIntoDataFiles(std::string_view archivePath, const std::string& archiveName,
                                std::string_view destination, UserPrompts& prompts,
                                CopyProgressView& progress) {
    namespace fs = std::filesystem;
    const fs::path source = pathFromUtf8(archivePath);
    const fs::path target = pathFromUtf8(destination);
    std::error_code ec;
    if (fs::exists(target, ec)) {
        // On a case-blind file system "data files" is "Data Files": copying the archive onto
        // itself would destroy it.
        if (fs::equivalent(source, target, ec)) {
            return DataFilesCopy::AlreadyThere;
        }
        const std::string question =
            "A file named " + archiveName + " is already in the \"Data Files\" folder. Replace it?";
        // No is the default, so that Enter never destroys a file.
        if (prompts.askYesNo(question, Answer::No) == Answer::No) {
            return DataFilesCopy::KeptOther;
        }
    }
    const auto started = std::chrono::steady_clock::now();
    const auto result =
        platform::copyFile(source, target, [&](std::uint64_t copied, std::uint64_t total) {
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - started);
            return progress.copying(copyReport(archiveName, copied, total, elapsed));
        });
    progress.copyEnded();
    if (!result) {
        prompts.showWarning(archiveName + " was not registered: it could not be copied to " +
                            std::string(destination) + ". " + result.reason());
        return DataFilesCopy::Failed;
    }
    return result.value() == platform::CopyOutcome::Copied ? DataFilesCopy::Copied
                                                           : DataFilesCopy::Cancelled;
}

}  // namespace varnock
