// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <iterator>

#include "CopyProgressView.h"

namespace varnock {
namespace {

// Bytes in the units a file manager shows, with one decimal past a kibibyte.
std::string sizeText(std::uint64_t bytes) {
    static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB"};
    if (bytes < 1024) {
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    }
    double size = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (size >= 1024 && unit + 1 < std::size(kUnits)) {
        size /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", size, kUnits[unit]);
    return text;
}

}  // namespace

CopyReport copyReport(std::string_view name, std::uint64_t copied, std::uint64_t total,
                      std::chrono::milliseconds elapsed) {
    CopyReport report;
    report.label = "Copying " + std::string(name) + " to the \"Data Files\" folder\n" +
                   sizeText(copied) + " of " + sizeText(total);
    report.step = total == 0 ? kCopySteps
                             : static_cast<int>(static_cast<double>(copied) / total * kCopySteps);
    report.shown = elapsed >= kCopyShownAfter;
    return report;
}

}  // namespace varnock
