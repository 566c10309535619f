// Keys of the main window, the hand-off block and what shut-down remembers.
#include <gtest/gtest.h>

#include "app/lifecycle_logic.h"
#include "contents/key_logic.h"

namespace floppex {
namespace {

constexpr unsigned kF1 = 0x70, kF2 = 0x71, kF5 = 0x74, kF10 = 0x79, kF11 = 0x7A, kF12 = 0x7B;

TEST(Keys, PlainFunctionKeys) {
    EXPECT_EQ(CommandForKey({kF1}), KeyCommand::Help);
    EXPECT_EQ(CommandForKey({kF5}), KeyCommand::ToggleMultiple);
    EXPECT_EQ(CommandForKey({kF11}), KeyCommand::ToggleKeepOpen);
    EXPECT_EQ(CommandForKey({kF12}), KeyCommand::ToggleOnTop);
    for (unsigned other : {kF2, kF10, 0x72u, 0x78u, unsigned('A'), unsigned('X')})
        EXPECT_EQ(CommandForKey({other}), KeyCommand::None) << other;
}

TEST(Keys, CtrlLettersWithCtrlOnly) {
    EXPECT_EQ(CommandForKey({'A', true}), KeyCommand::About);
    EXPECT_EQ(CommandForKey({'O', true}), KeyCommand::Open);
    EXPECT_EQ(CommandForKey({'X', true}), KeyCommand::Exit);
    EXPECT_EQ(CommandForKey({'P', true}), KeyCommand::None);
}

TEST(Keys, ExtraModifiersCancelTheCommand) {
    EXPECT_EQ(CommandForKey({'O', true, true}), KeyCommand::None);         // Ctrl+Shift+O
    EXPECT_EQ(CommandForKey({'X', true, false, true}), KeyCommand::None);  // Ctrl+Alt+X
    EXPECT_EQ(CommandForKey({kF1, false, false, true}), KeyCommand::None); // Alt+F1
    EXPECT_EQ(CommandForKey({kF12, false, true}), KeyCommand::None);       // Shift+F12
    EXPECT_EQ(CommandForKey({kF5, true}), KeyCommand::None);               // Ctrl+F5
}

TEST(Handoff, ByteCountBecomesWholeCodeUnits) {
    EXPECT_EQ(HandoffUnits(600, true), 300u);
    EXPECT_EQ(HandoffUnits(601, true), 300u);  // an odd last byte is dropped
    EXPECT_EQ(HandoffUnits(1, true), 0u);
    EXPECT_EQ(HandoffUnits(0, true), 0u);
    EXPECT_EQ(HandoffUnits(64000, true), 32000u);
}

TEST(Handoff, BlocksWithoutDataOrFarTooLongAreIgnored) {
    EXPECT_EQ(HandoffUnits(600, false), 0u);
    EXPECT_EQ(HandoffUnits(uint64_t{1} << 31, true), 0u);
    EXPECT_EQ(HandoffUnits(0xFFFFFFFFu, true), 0u);
}

TEST(CloseRule, RemembersOnlyShownMultiEntryGames) {
    EXPECT_TRUE(RemembersEntryOnClose(true, L"game.d64", L"C:\\g\\game.d64"));
    EXPECT_TRUE(RemembersEntryOnClose(true, L"game.p01", L"C:\\g\\game.p01"));
    EXPECT_TRUE(RemembersEntryOnClose(true, L"currgame.t64", L"C:\\g\\game.zip"));
    EXPECT_FALSE(RemembersEntryOnClose(false, L"game.d64", L"C:\\g\\game.d64"));  // a play-only start
    EXPECT_FALSE(RemembersEntryOnClose(true, kNoGameLoaded, L"C:\\g\\game.d64"));
    EXPECT_FALSE(RemembersEntryOnClose(true, L"game.d64", L""));
    EXPECT_FALSE(RemembersEntryOnClose(true, L"game.prg", L"C:\\g\\game.PRG"));
    EXPECT_FALSE(RemembersEntryOnClose(true, L"game.p00", L"C:\\g\\game.p00"));
}

}  // namespace
}  // namespace floppex
