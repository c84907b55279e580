// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowLayout.h"

#include <algorithm>
#include <cmath>

namespace varnock {
namespace {

constexpr int kTwipsPerInch = 1440;
constexpr PixelRect kClientTwips{0, 0, 4680, 4215};

constexpr PixelRect twipsOf(Control control) {
    switch (control) {
        case Control::cmdArchive:
            return {240, 120, 1215, 375};
        case Control::lblArchive:
            return {233, 600, 4215, 255};
        case Control::cmdINI:
            return {240, 960, 1215, 375};
        case Control::lblINI:
            return {233, 1440, 4215, 255};
        case Control::lstArchives:
            return {233, 1800, 4215, 1230};
        case Control::cmdUnpatch:
            return {1013, 3240, 2655, 375};
        case Control::cmdPatch:
            return {1013, 3720, 2655, 375};
    }
    return {};
}

int pixels(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

}  // namespace

PixelRect clientArea(int dpi) {
    return {0, 0, pixels(kClientTwips.width, dpi), pixels(kClientTwips.height, dpi)};
}

PixelRect placeOf(Control control, int dpi) {
    const PixelRect client = clientArea(dpi);
    return placeOf(control, dpi, client.width, client.height);
}

PixelRect placeOf(Control control, int dpi, int width, int height) {
    const PixelRect t = twipsOf(control);
    PixelRect place{pixels(t.left, dpi), pixels(t.top, dpi), pixels(t.width, dpi),
                    pixels(t.height, dpi)};
    const PixelRect designed = clientArea(dpi);
    const int clientWidth = std::max(width, designed.width);
    const int addedHeight = std::max(height, designed.height) - designed.height;
    switch (control) {
        case Control::lblArchive:
        case Control::lblINI:
            place.width = clientWidth - 2 * place.left;
            break;
        case Control::lstArchives:
            place.width = clientWidth - 2 * place.left;
            place.height += addedHeight;
            break;
        case Control::cmdUnpatch:
        case Control::cmdPatch:
            place.left = static_cast<int>(std::lround((clientWidth - place.width) / 2.0));
            place.top += addedHeight;
            break;
        case Control::cmdArchive:
        case Control::cmdINI:
            break;
    }
    return place;
}

}  // namespace varnock
