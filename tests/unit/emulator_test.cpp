// The portable emulator rules: the entry named to an emulator and every emulator's command line.
#include <gtest/gtest.h>

#include "emulator/emulator_command.h"

namespace floppex {
namespace {

TEST(Launch, EntryNamedForDisksAndForTapesOfSeveralEntriesWithinTheCollection) {
    using T = FileType;
    EXPECT_EQ(NamedEntryItem(T::Tape, 1, 0), std::nullopt);  // the emulator loads a tape's only program anyway
    EXPECT_TRUE(NamedEntryItem(T::Tape, 2, 1) == 2u && NamedEntryItem(T::Disk, 144, 143) == 144u);
    for (const auto& [type, index] : {std::pair{T::Tape, 3}, {T::Disk, 3}, {T::Disk, -1}, {T::Program, 0}, {T::PcFirst, 0}})
        EXPECT_EQ(NamedEntryItem(type, 3, index), std::nullopt) << index;
    const std::pair<int32_t, int16_t> numbers[] = {{32767, 32767}, {32768, 0}, {-1, 0}};
    for (const auto& [index, entry] : numbers) EXPECT_EQ(LauncherEntryNumber(index), entry) << index;
}

// A game in a folder with blanks, its entry named with a quote, as Windows' splitter must read them back.
TEST(Launch, EveryEmulatorsCommandLineQuotesBlanksAndQuotes) {
    using Op = LaunchOperation;
    const std::wstring emu = LR"(C:\Emu 64\x64sc.exe)", own = LR"(C:\Emu 64\)", dir = LR"(C:\My Games\)";
    const std::wstring game = dir + L"Last Ninja.d64", name = LR"(SAY "HI")";
    const std::wstring start = LR"("C:\Emu 64\x64sc.exe")", quotedGame = LR"( "C:\My Games\Last Ninja.d64")";
    const struct { Op op; int16_t entry; std::wstring commandLine, folder; } rows[] = {
        {Op::Ccs64, 3, start + quotedGame + L" 4", dir}, {Op::Ccs64v2, 0, start + quotedGame, dir},
        {Op::Vice, 3, start + LR"( "-autostart" "C:\My Games\Last Ninja.d64:SAY \"HI\"")", own},
        {Op::C64s, 3, start + quotedGame + LR"( "SAY \"HI\"")", own}, {Op::Win64, 3, start + quotedGame, own},
        {Op::Pc64Win, 3, start + quotedGame, own}, {Op::ComeBack64, 3, start + quotedGame, own}, {Op::Frodo, 3, start, own}};
    for (const auto& row : rows) {
        const auto command = EmulatorCommandLine(row.op, emu, dir, game, name, row.entry);
        EXPECT_EQ(command.value_or(EmulatorCommand{}).commandLine + L"|" + command.value_or(EmulatorCommand{}).folder,
                  row.commandLine + L"|" + row.folder) << static_cast<int>(row.op);
    }
    for (const Op op : {Op::Unsupported, Op::None, Op::Refused}) EXPECT_FALSE(EmulatorCommandLine(op, emu, dir, game, name, 3));
    // Backslashes count only before a quote and at the end, where the closing quote follows.
    EXPECT_EQ(QuotedArgument(LR"(a\\"b\)") + QuotedArgument(L""), LR"("a\\\\\"b\\")" L"\"\"");
}

}  // namespace
}  // namespace floppex
