// Where the main window opens, and what its listing shows in its last rows.
#include <gtest/gtest.h>

#include <cmath>

#include "contents/listing_logic.h"
#include "settings/placement_logic.h"

namespace floppex {
namespace {

// A 1024 x 768 screen at 15 twips per pixel, and the window as start-up sized it.
constexpr ScreenAndWindow kScreen{15360, 11520, 3360, 4335};

TEST(Placement, StoredPlaceOnTheScreenIsKept) {
    const Placement p = ResolvePlacement({1500, 0, 6000}, kScreen, true, 0.5, 0.5);
    EXPECT_EQ(p.top, 1500);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.height, 6000);
    // The tests are strict: the screen's own height and width still pass.
    const Placement edge = ResolvePlacement({11520, 15360, 11520}, kScreen, true, 0, 0);
    EXPECT_EQ(edge.top, 11520);
    EXPECT_EQ(edge.left, 15360);
    EXPECT_EQ(edge.height, 11520);
}

TEST(Placement, OffScreenOrMissingIsCentredBySizeAtStart) {
    for (const StoredPlacement stored : {StoredPlacement{}, StoredPlacement{-10, 100, 9000},
                                         StoredPlacement{11521, 100, 9000}, StoredPlacement{100, 15361, 9000},
                                         StoredPlacement{std::nan(""), 100, 9000}}) {
        const Placement p = ResolvePlacement(stored, kScreen, true, 0, 0);
        EXPECT_EQ(p.top, 11520 / 2 - 4335 / 2.0);  // centred with the start height, not the stored one
        EXPECT_EQ(p.left, 15360 / 2 - 3360 / 2.0);
    }
}

TEST(Placement, HeightOutsideTheScreenBecomesStartHeight) {
    EXPECT_EQ(ResolvePlacement({0, 0, -1}, kScreen, true, 0, 0).height, 4335);
    EXPECT_EQ(ResolvePlacement({0, 0, 11521}, kScreen, true, 0, 0).height, 4335);
    EXPECT_EQ(ResolvePlacement({0, 0, std::nan("")}, kScreen, true, 0, 0).height, 4335);
    EXPECT_EQ(ResolvePlacement({0, 0, 0}, kScreen, true, 0, 0).height, 0);
}

TEST(Placement, FurtherWindowGoesToARandomPlaceThatFits) {
    const StoredPlacement stored{1500, 1500, 6000};
    const Placement low = ResolvePlacement(stored, kScreen, false, 0, 0);
    EXPECT_EQ(low.left, 0);
    EXPECT_EQ(low.top, 0);
    EXPECT_EQ(low.height, 6000);
    const double nearlyOne = 0.999999999;
    const Placement high = ResolvePlacement(stored, kScreen, false, nearlyOne, nearlyOne);
    EXPECT_EQ(high.left, 15360 - 3360);  // right edge on the screen's edge
    EXPECT_EQ(high.top, 11520 - 6000);   // uses the stored height, not the start height
}

TEST(BlocksFree, CapacityFromImageLength) {
    EXPECT_EQ(BlocksFreeText(174848, 664), L"19 Blocks Free");
    EXPECT_EQ(BlocksFreeText(175531, 664), L"19 Blocks Free");
    EXPECT_EQ(BlocksFreeText(174848, 0), L"683 Blocks Free");
    EXPECT_EQ(BlocksFreeText(174848, 683), L"0 Blocks Free");
    EXPECT_EQ(BlocksFreeText(196608, 700), L"68 Blocks Free");
    EXPECT_EQ(BlocksFreeText(197376, 0), L"768 Blocks Free");
    EXPECT_EQ(BlocksFreeText(174848, 684), L"? Blocks Free");
    EXPECT_EQ(BlocksFreeText(174849, 10), L"? Blocks Free");
    EXPECT_EQ(BlocksFreeText(0, 0), L"? Blocks Free");
}

TEST(Listing, TypeByExactExtension) {
    EXPECT_EQ(ListingTypeFor(L".D64"), ListingType::Disk);
    EXPECT_EQ(ListingTypeFor(L".T64"), ListingType::Tape);
    EXPECT_EQ(ListingTypeFor(L".P00"), ListingType::PC64);
    EXPECT_EQ(ListingTypeFor(L".P09"), ListingType::PC64);
    EXPECT_EQ(ListingTypeFor(L".PRG"), ListingType::Program);
    for (const wchar_t* ext : {L".p00", L".d64", L".TAP", L"D64", L".P0A", L""})
        EXPECT_EQ(ListingTypeFor(ext), ListingType::None) << ext;
}

TEST(Listing, RememberedRowOutsideTheListSelectsRowOne) {
    EXPECT_EQ(RowToSelect(0, 5), 1);
    EXPECT_EQ(RowToSelect(4, 5), 5);
    EXPECT_EQ(RowToSelect(5, 5), 1);
    EXPECT_EQ(RowToSelect(2147483647, 5), 1);
    EXPECT_EQ(RowToSelect(-3, 5), 1);
}

}  // namespace
}  // namespace floppex
