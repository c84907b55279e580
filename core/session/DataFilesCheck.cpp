// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFilesCheck.h"

#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "PathHelpers.h"
#include "platform/FileNameCase.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;

// The folded names of the folder's files, from one listing: cheaper than a look-up per name,
// and what a case-blind look-up compares anyway.
std::unordered_set<std::string> foldedNamesIn(const fs::path& folder) {
    std::unordered_set<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) {
            names.insert(platform::foldedFileName(utf8FromPath(it->path().filename())));
        }
    }
    return names;
}

}  // namespace

std::vector<bool> missingFromDataFiles(const std::vector<std::string>& folders,
                                       const std::vector<std::string>& names) {
    std::unordered_set<std::string> present;
    for (const std::string& folder : folders) {
        present.merge(foldedNamesIn(pathFromUtf8(folder)));
    }
    std::vector<bool> missing(names.size(), true);
    for (std::size_t i = 0; i < names.size(); ++i) {
        // A name that reaches outside the folder is not one of its files.
        const bool outside = names[i].find_first_of(pathSeparators()) != std::string::npos;
        missing[i] = outside || !present.contains(platform::foldedFileName(names[i]));
    }
    return missing;
}

}  // namespace varnock
