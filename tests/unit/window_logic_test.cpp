// The window's portable decisions: launches, placement, rows, size limits, keys, requests, hand-off, index.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/key_logic.h"
#include "app/lifecycle_logic.h"
#include "contents/listing_logic.h"
#include "launch/run_game_logic.h"
#include "settings/game_index_logic.h"
#include "settings/placement_logic.h"
#include "window/request_queue_logic.h"
#include "window/size_limits_logic.h"

namespace floppex {
namespace {

using std::nullopt;
const double kNan = std::nan("");

TEST(Launch, OnlyProgramPathNumbersAreTaken) {
    for (int emu : {-1, 16}) EXPECT_EQ(LaunchOperationFor(emu), LaunchOperation::Refused) << emu;
    for (int emu : {11, 15}) EXPECT_EQ(LaunchOperationFor(emu), LaunchOperation::None) << emu;
    EXPECT_EQ(LaunchOperationFor(0), LaunchOperation::Ccs64);
    EXPECT_EQ(LaunchOperationFor(10), LaunchOperation::Frodo);
}

// A 1024 x 768 screen at 15 twips per pixel, and the window as start-up sized it for its frame.
constexpr ScreenAndWindow kScreen{15360, 11520, 3360, 4290};

TEST(Placement, StoredPlaceOnTheScreenKeptElseCentredAFurtherWindowRandom) {
    const auto at = [](StoredPlacement s, bool first = true, double r = 0) {
        const Placement p = ResolvePlacement(s, kScreen, first, r, r);
        return std::vector<double>{p.top, p.left, p.height};
    };
    EXPECT_EQ(at({1500, 0, 6000}), (std::vector<double>{1500, 0, 6000}));
    EXPECT_EQ(at({11520, 15360, 11520}), (std::vector<double>{11520, 15360, 11520}));  // the screen's own size passes
    const double top = 11520 / 2 - 4290 / 2.0, left = 15360 / 2 - 3360 / 2.0;  // centred by the start height
    for (const StoredPlacement s : {StoredPlacement{}, StoredPlacement{-10, 100, 9000}, StoredPlacement{11521, 100, 9000},
                                    StoredPlacement{100, 15361, 9000}, StoredPlacement{kNan, 100, 9000}})
        EXPECT_EQ(std::pair(at(s)[0], at(s)[1]), std::pair(top, left));
    for (const double height : {-1.0, 11521.0, kNan}) EXPECT_EQ(at({0, 0, height})[2], 4290);
    EXPECT_EQ(at({0, 0, 0})[2], 0);
    EXPECT_EQ(at({1500, 1500, 6000}, false, 0), (std::vector<double>{0, 0, 6000}));
    EXPECT_EQ(at({1500, 1500, 6000}, false, 0.999999999), (std::vector<double>{11520 - 6000, 15360 - 3360, 6000}));
}

TEST(Listing, BlocksFreeFromTheImageLengthAndTheRememberedRow) {
    const std::tuple<uint64_t, int64_t, const wchar_t*> cases[] = {
        {174848, 664, L"19"}, {175531, 664, L"19"}, {174848, 0, L"683"}, {174848, 683, L"0"},  {196608, 700, L"68"},
        {197376, 0, L"768"},  {174848, 684, L"?"},  {174849, 10, L"?"},  {0, 0, L"?"},
    };
    for (const auto& [length, used, free] : cases) EXPECT_EQ(BlocksFreeText(length, used), std::wstring(free) + L" Blocks Free") << used;
    const std::pair<int32_t, int> rows[] = {{0, 1}, {4, 5}, {5, 1}, {2147483647, 1}, {-3, 1}};
    for (const auto& [index, row] : rows) EXPECT_EQ(RowToSelect(index, 5), row) << index;
}

// The C64 face: 8 pixels until a disk's 24 characters and three margins fit twice over; the names
// column keeps its width and the others share what is left, room to spare going to the last.
TEST(Listing, C64CellAndColumnsFitTheList) {
    for (const auto& [list, cell] : {std::pair{100, 8}, {195, 8}, {395, 8}, {396, 16}, {587, 16}, {588, 24}})
        EXPECT_EQ(C64CellPixels(list), cell) << list;
    const std::tuple<std::vector<int>, int, std::vector<int>> cases[] = {
        {{132, 28, 32}, 0, {132, 28, 36}}, {{132, 40, 40}, 0, {132, 32, 32}}, {{132, 64, 32}, -1, {113, 55, 27}},
        {{250, 20}, 0, {250, 0}},
    };
    for (const auto& [needs, names, widths] : cases) EXPECT_EQ(FitColumns(needs, names, 196), widths) << needs.size();
}

TEST(SizeLimits, HalvesGoToEvenAndTheWidthIsFixed) {
    // Ties go to the even neighbour (round() would give 3, 5 and -3); beyond a 32-bit integer is no number.
    const std::pair<double, int32_t> rounded[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {2147483647.0, 2147483647}};
    for (const auto& [value, result] : rounded) EXPECT_EQ(RoundHalfEven(value), result) << value;
    for (const double bad : {2147483648.0, -2147483649.0, kNan, std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(RoundHalfEven(bad)) << bad;
    const std::pair<int, int> perPixel[] = {{96, 15}, {320, 4}, {0, 15}, {5000, 1}};
    for (const auto& [dpi, twips] : perPixel) EXPECT_EQ(TwipsPerPixel(dpi), twips) << dpi;
    const std::pair<double, int> pixels[] = {{37.5, 2}, {kNan, 0}, {1e30, 1 << 20}, {-1e30, -(1 << 20)}};
    for (const auto& [twips, px] : pixels) EXPECT_EQ(TwipsToPixels(twips, 15), px) << twips;
    const SizeLimits l = ComputeSizeLimits(224, 15, 768);
    EXPECT_EQ((std::vector<int32_t>{l.minTrackWidth, l.maxTrackWidth, l.minTrackHeight, l.maxTrackHeight}),
              (std::vector<int32_t>{224, 224, 133, 768}));
}

TEST(Keys, OnlyTheExactModifiersCount) {
    constexpr unsigned kF1 = 0x70, kF5 = 0x74, kF12 = 0x7B;
    EXPECT_EQ(CommandForKey({kF5}), KeyCommand::ToggleMultiple);  // each key's command is pressed end to end
    for (const KeyPress press : {KeyPress{'X'}, KeyPress{'O', true, true}, KeyPress{'X', true, false, true},
                                 KeyPress{kF1, false, false, true}, KeyPress{kF12, false, true}, KeyPress{kF5, true}})
        EXPECT_EQ(CommandForKey(press), KeyCommand::None) << press.key;
}

TEST(Requests, WaitingOnesFollowTheCurrentInOrderAndPastTheCapAreDropped) {
    RequestQueue queue;
    ASSERT_TRUE(queue.Arrive(L"first") && queue.Next() == L"first");
    for (size_t i = 0; i < RequestQueue::kMaxWaiting + 2; ++i) EXPECT_FALSE(queue.Arrive(std::to_wstring(i)));
    for (size_t i = 0; i < RequestQueue::kMaxWaiting; ++i) EXPECT_EQ(queue.Next(), std::to_wstring(i));
    EXPECT_EQ(queue.Next(), std::nullopt);  // the two past the cap
    EXPECT_FALSE(queue.Arrive(L"late"));    // still handling until Finish, which drops what waits
    queue.Finish();
    EXPECT_TRUE(queue.Arrive(L"again"));
}

TEST(Lifecycle, HandoffTakesWholeCodeUnitsAndCloseRemembersShownMultiEntryGames) {
    const std::tuple<uint64_t, bool, size_t> blocks[] = {{601, true, 300}, {1, true, 0}, {600, false, 0},
                                                         {(uint64_t{1} << 31) - 1, true, (size_t{1} << 30) - 1}, {uint64_t{1} << 31, true, 0}};
    for (const auto& [bytes, hasData, units] : blocks) EXPECT_EQ(HandoffUnits(bytes, hasData), units) << bytes;
    const std::tuple<bool, std::wstring_view, std::wstring_view, bool> closes[] = {
        {true, L"game.d64", L"C:\\g\\game.d64", true}, {true, L"game.p01", L"C:\\g\\game.p01", true},
        {true, L"currgame.t64", L"C:\\g\\game.zip", true}, {false, L"game.d64", L"C:\\g\\game.d64", false},  // play only
        {true, kNoGameLoaded, L"C:\\g\\game.d64", false}, {true, L"game.d64", L"", false},
        {true, L"game.prg", L"C:\\g\\game.PRG", false}, {true, L"game.p00", L"C:\\g\\game.p00", false}};
    for (const auto& [shown, label, path, remembers] : closes) EXPECT_EQ(RemembersEntryOnClose(shown, label, path), remembers) << std::wstring(label);
}

TEST(GameIndex, StoredTextIsTheOneBasedNumberReadLeniently) {
    const std::pair<const wchar_t*, int32_t> cases[] = {
        {L"1", 0},   {L"\t 7", 6},  {L"3x", 2},  {L"+4", 3},     {L"2d1", 19},       {L"5e+", 4}, {L"2.5", 2},
        {L"3.5", 2}, {L".5E1", 4}, {L"", -1},   {L"NOTFOUND", -1}, {L"0", -1}, {L"-5", -1}, {L"1e99999", -1},
    };
    for (const auto& [text, index] : cases) EXPECT_EQ(GameIndexFromStored(text), index) << text;
    EXPECT_EQ(StoredFromGameIndex(0), L"1");
    EXPECT_EQ(StoredFromGameIndex(2147483647), L"2147483648");
}

}  // namespace
}  // namespace floppex
