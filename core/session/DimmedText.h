// SPDX-License-Identifier: GPL-3.0-or-later
// The colour of a dimmed entry's name: what the platform uses for disabled text, darkened or
// lightened towards the normal text until it reads at the contrast WCAG 2 asks of text.
#pragma once

#include <cstdint>

namespace varnock {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

// WCAG 2's minimum contrast for text (level AA).
inline constexpr double kTextContrast = 4.5;

// The contrast ratio of two colours, 1 to 21.
double contrastRatio(Rgb a, Rgb b);

// disabled where it already reaches kTextContrast against background; otherwise the first
// colour on the way from disabled to text that does (text itself at the end of the way).
Rgb dimmedText(Rgb disabled, Rgb text, Rgb background);

}  // namespace varnock
