// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowLayout.h"

#include <gtest/gtest.h>

#include <tuple>

#include "DimmedText.h"

namespace varnock {
namespace {

TEST(WindowLayoutTest, PlacesTheDesignAtStandardResolution) {
    EXPECT_EQ(clientArea(96), (PixelRect{0, 0, 312, 281}));
    EXPECT_EQ(placeOf(Control::cmdArchive, 96), (PixelRect{16, 8, 81, 25}));
    // Labels and the list span the window with equal margins.
    EXPECT_EQ(placeOf(Control::lblArchive, 96), (PixelRect{16, 40, 280, 17}));
    EXPECT_EQ(placeOf(Control::lstArchives, 96), (PixelRect{16, 120, 280, 82}));
    // The lower buttons are centred.
    EXPECT_EQ(placeOf(Control::cmdUnpatch, 96), (PixelRect{68, 216, 177, 25}));
    EXPECT_EQ(placeOf(Control::cmdPatch, 96), (PixelRect{68, 248, 177, 25}));
}

TEST(WindowLayoutTest, ScalesWithTheResolutionAndKeepsMarginsEqual) {
    for (const int dpi : {96, 120, 144, 192, 288}) {
        const PixelRect client = clientArea(dpi);
        EXPECT_EQ(client.width, (4680 * dpi + 720) / 1440) << dpi;
        for (const ControlDesign& design : kControls) {
            const PixelRect place = placeOf(design.control, dpi);
            EXPECT_LE(place.left + place.width, client.width) << design.name << " at " << dpi;
            EXPECT_LE(place.top + place.height, client.height) << design.name << " at " << dpi;
        }
        const PixelRect list = placeOf(Control::lstArchives, dpi);
        EXPECT_EQ(client.width - (list.left + list.width), list.left) << dpi;
        const PixelRect patch = placeOf(Control::cmdPatch, dpi);
        EXPECT_LE(std::abs(client.width - (patch.left + patch.width) - patch.left), 1) << dpi;
    }
    EXPECT_EQ(placeOf(Control::cmdArchive, 192), (PixelRect{32, 16, 162, 50}));
}

TEST(WindowLayoutTest, AGrownWindowGivesTheListTheRoomAndKeepsTheButtonsCentredBelowIt) {
    EXPECT_EQ(placeOf(Control::lstArchives, 96, 612, 581), (PixelRect{16, 120, 580, 382}));
    EXPECT_EQ(placeOf(Control::lblINI, 96, 612, 581).width, 580);
    EXPECT_EQ(placeOf(Control::cmdArchive, 96, 612, 581), placeOf(Control::cmdArchive, 96));
    EXPECT_EQ(placeOf(Control::cmdUnpatch, 96, 612, 581), (PixelRect{218, 516, 177, 25}));
    EXPECT_EQ(placeOf(Control::cmdPatch, 96, 612, 581), (PixelRect{218, 548, 177, 25}));
    // Never laid out smaller than designed.
    EXPECT_EQ(placeOf(Control::lstArchives, 144, 10, 10), placeOf(Control::lstArchives, 144));
}

TEST(DimmedTextTest, ReadsAtTheContrastAskedOfTextAndStaysDimmedWhereItDoes) {
    const Rgb white{255, 255, 255};
    const Rgb black{0, 0, 0};
    EXPECT_EQ(dimmedText({118, 118, 118}, black, white), (Rgb{118, 118, 118}));  // 4.54:1
    for (const auto& [disabled, text, background] :
         {std::tuple{Rgb{190, 190, 190}, black, white},
          std::tuple{Rgb{128, 128, 128}, black, white},
          std::tuple{Rgb{80, 80, 80}, Rgb{238, 238, 236}, Rgb{40, 40, 40}}}) {
        const Rgb dimmed = dimmedText(disabled, text, background);
        EXPECT_GE(contrastRatio(dimmed, background), kTextContrast);
        EXPECT_LT(contrastRatio(dimmed, background), contrastRatio(text, background))
            << "no longer dimmed";
    }
}

}  // namespace
}  // namespace varnock
