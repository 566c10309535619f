// The portable emulator rules: the entry named to an emulator and every emulator's command line.
#include <gtest/gtest.h>

#include "emulator/emulator_command.h"

namespace floppex {
namespace {

using std::nullopt;

TEST(Launch, EntryNamedForDisksAndForTapesOfSeveralEntriesWithinTheCollection) {
    using T = FileType;
    EXPECT_EQ(NamedEntryItem(T::Tape, 1, 0), nullopt);  // the emulator loads a tape's only program anyway
    EXPECT_EQ(NamedEntryItem(T::Tape, 2, 1), 2u);
    EXPECT_EQ(NamedEntryItem(T::Disk, 144, 143), 144u);
    for (const T type : {T::Tape, T::Disk})
        for (const int32_t index : {3, -1}) EXPECT_EQ(NamedEntryItem(type, 3, index), nullopt);
    for (const T type : {T::PcFirst, T::Program, T::Other}) EXPECT_EQ(NamedEntryItem(type, 5, 0), nullopt);
    const std::pair<int32_t, int16_t> numbers[] = {{32767, 32767}, {32768, 0}, {-1, 0}};
    for (const auto& [index, entry] : numbers) EXPECT_EQ(LauncherEntryNumber(index), entry) << index;
}

// A game in a folder with blanks, its entry named with a quote, as Windows' splitter must read them back.
TEST(Launch, EveryEmulatorsCommandLineQuotesBlanksAndQuotes) {
    using Op = LaunchOperation;
    const std::wstring emu = LR"(C:\Emu 64\x64sc.exe)", dir = LR"(C:\My Games\)", game = LR"(C:\My Games\Last Ninja.d64)";
    const std::wstring name = LR"(SAY "HI")";
    struct Row {
        Op op;
        int16_t entry;
        std::wstring commandLine, folder;
    };
    const Row rows[] = {
        {Op::Ccs64, 3, LR"("C:\Emu 64\x64sc.exe" "C:\My Games\Last Ninja.d64" 4)", dir},
        {Op::Ccs64v2, 0, LR"("C:\Emu 64\x64sc.exe" "C:\My Games\Last Ninja.d64")", dir},
        {Op::Vice, 3, LR"("C:\Emu 64\x64sc.exe" "-autostart" "C:\My Games\Last Ninja.d64:SAY \"HI\"")", LR"(C:\Emu 64\)"},
        {Op::C64s, 3, LR"("C:\Emu 64\x64sc.exe" "C:\My Games\Last Ninja.d64" "SAY \"HI\"")", LR"(C:\Emu 64\)"},
        {Op::Win64, 3, LR"("C:\Emu 64\x64sc.exe" "C:\My Games\Last Ninja.d64")", LR"(C:\Emu 64\)"},
        {Op::Pc64Win, 3, LR"("C:\Emu 64\x64sc.exe" "C:\My Games\Last Ninja.d64")", LR"(C:\Emu 64\)"},
        {Op::ComeBack64, 3, LR"("C:\Emu 64\x64sc.exe" "C:\My Games\Last Ninja.d64")", LR"(C:\Emu 64\)"},
        {Op::Frodo, 3, LR"("C:\Emu 64\x64sc.exe")", LR"(C:\Emu 64\)"},
    };
    for (const Row& row : rows) {
        const auto command = EmulatorCommandLine(row.op, emu, dir, game, name, row.entry);
        ASSERT_TRUE(command) << static_cast<int>(row.op);
        EXPECT_EQ(command->commandLine, row.commandLine) << static_cast<int>(row.op);
        EXPECT_EQ(command->folder, row.folder) << static_cast<int>(row.op);
    }
    for (const Op op : {Op::Unsupported, Op::None, Op::Refused})
        EXPECT_FALSE(EmulatorCommandLine(op, emu, dir, game, name, 3)) << static_cast<int>(op);
    // Backslashes count only before a quote and at the end, where the closing quote follows.
    EXPECT_EQ(QuotedArgument(LR"(a\\"b\)"), LR"("a\\\\\"b\\")");
    EXPECT_EQ(QuotedArgument(L""), L"\"\"");
}

}  // namespace
}  // namespace floppex
