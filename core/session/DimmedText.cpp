// SPDX-License-Identifier: GPL-3.0-or-later
#include "DimmedText.h"

#include <algorithm>
#include <cmath>

namespace varnock {
namespace {

constexpr int kSteps = 32;

// WCAG 2's relative luminance.
double luminance(Rgb colour) {
    const auto linear = [](std::uint8_t channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

std::uint8_t between(std::uint8_t from, std::uint8_t to, int step) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * step / double(kSteps)));
}

}  // namespace

double contrastRatio(Rgb a, Rgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb dimmedText(Rgb disabled, Rgb text, Rgb background) {
    for (int step = 0; step < kSteps; ++step) {
        const Rgb colour{between(disabled.red, text.red, step),
                         between(disabled.green, text.green, step),
                         between(disabled.blue, text.blue, step)};
        if (contrastRatio(colour, background) >= kTextContrast) {
            return colour;
        }
    }
    return text;
}

}  // namespace varnock
