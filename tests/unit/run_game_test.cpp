// What a launch reads, remembers and starts for a played file and an emulator index.
#include <gtest/gtest.h>

#include "launch/run_game_logic.h"

namespace floppex {
namespace {

TEST(RunGameFile, ReaderChosenByUpperCasedEnding) {
    const std::pair<const wchar_t*, EntryNameSource> cases[] = {
        {L"game.t64", EntryNameSource::Tape},     {L"GAME.T64", EntryNameSource::Tape},
        {L"currgame.d64", EntryNameSource::Disk}, {L"a.D64", EntryNameSource::Disk},
        {L"a.p00", EntryNameSource::PcFile},      {L"a.P07", EntryNameSource::PcFile},
        {L"a.p09", EntryNameSource::PcFile},      {L"a.Prg", EntryNameSource::Program},
        {L"a.p10", EntryNameSource::None},        {L"a.tap", EntryNameSource::None},
        {L"a.zip", EntryNameSource::None},        {L"d64", EntryNameSource::None},
        {L"a.d64 ", EntryNameSource::None},       {L"", EntryNameSource::None},
    };
    for (const auto& [name, source] : cases) EXPECT_EQ(EntryNameSourceFor(name), source) << name;
}

TEST(RunGameFile, EveryPcFileShareOneReadFailureText) {
    EXPECT_EQ(ReadFailureMessage(EntryNameSourceFor(L"a.p05")), L"There was an error reading from the P00 file!");
    EXPECT_EQ(ReadFailureMessage(EntryNameSourceFor(L"a.T64")), L"There was an error reading from the T64 file!");
    EXPECT_EQ(ReadFailureMessage(EntryNameSource::None), L"");
}

TEST(RunGameEntry, TapeNamesAnEntryOnlyWhenItHoldsSeveral) {
    EXPECT_EQ(NamedEntryItem(EntryNameSource::Tape, 0, 0), std::nullopt);
    EXPECT_EQ(NamedEntryItem(EntryNameSource::Tape, 1, 0), std::nullopt);
    EXPECT_EQ(NamedEntryItem(EntryNameSource::Tape, 2, 0), std::optional<size_t>(1));
    EXPECT_EQ(NamedEntryItem(EntryNameSource::Tape, 2, 1), std::optional<size_t>(2));
}

TEST(RunGameEntry, DiskNamesTheChosenEntryEvenWhenAlone) {
    EXPECT_EQ(NamedEntryItem(EntryNameSource::Disk, 1, 0), std::optional<size_t>(1));
    EXPECT_EQ(NamedEntryItem(EntryNameSource::Disk, 144, 143), std::optional<size_t>(144));
}

TEST(RunGameEntry, NoNameForAnEntryOutsideTheCollection) {
    for (const EntryNameSource source : {EntryNameSource::Tape, EntryNameSource::Disk}) {
        EXPECT_EQ(NamedEntryItem(source, 3, 3), std::nullopt);
        EXPECT_EQ(NamedEntryItem(source, 3, 99999998), std::nullopt);
        EXPECT_EQ(NamedEntryItem(source, 3, -1), std::nullopt);
        EXPECT_EQ(NamedEntryItem(source, 3, INT32_MIN), std::nullopt);
        EXPECT_EQ(NamedEntryItem(source, 0, 0), std::nullopt);
    }
    // Single-program files carry their name themselves, not in a collection.
    for (const EntryNameSource source : {EntryNameSource::PcFile, EntryNameSource::Program, EntryNameSource::None})
        EXPECT_EQ(NamedEntryItem(source, 5, 0), std::nullopt);
}

TEST(RunGameLaunch, CatalogueIndexPicksTheOperation) {
    const LaunchOperation expected[] = {
        LaunchOperation::Ccs64,   LaunchOperation::Ccs64v2,     LaunchOperation::Ccs64v2, LaunchOperation::Vice,
        LaunchOperation::Vice,    LaunchOperation::C64s,        LaunchOperation::Win64,   LaunchOperation::Unsupported,
        LaunchOperation::Pc64Win, LaunchOperation::ComeBack64,  LaunchOperation::Frodo,   LaunchOperation::None,
        LaunchOperation::None,    LaunchOperation::None,        LaunchOperation::None,    LaunchOperation::None,
    };
    for (int emu = 0; emu < 16; ++emu) EXPECT_EQ(LaunchOperationFor(emu), expected[emu]) << emu;
}

TEST(RunGameLaunch, NumbersThatAddressNoProgramAreRefused) {
    for (int emu : {-1, -32768, 16, 17, 255, 32767})
        EXPECT_EQ(LaunchOperationFor(emu), LaunchOperation::Refused) << emu;
}

TEST(RunGameLaunch, EntryNumberFitsSixteenBits) {
    EXPECT_EQ(LauncherEntryNumber(0), 0);
    EXPECT_EQ(LauncherEntryNumber(5), 5);
    EXPECT_EQ(LauncherEntryNumber(32767), 32767);
    EXPECT_EQ(LauncherEntryNumber(32768), 0);
    EXPECT_EQ(LauncherEntryNumber(99999998), 0);
    EXPECT_EQ(LauncherEntryNumber(-1), 0);
}

}  // namespace
}  // namespace floppex
