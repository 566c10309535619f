// Telling files apart by name, sorting command-line tails and requests into what the window does,
// and the emulators' command lines.
#include <gtest/gtest.h>

#include "app/command_line_logic.h"
#include "c64/file_type.h"
#include "emulator/emulator_command.h"
#include "launch/request_logic.h"
#include "launch/run_game_logic.h"

namespace floppex {
namespace {

TEST(FileType, ByTheUpperCasedEndOfTheName) {
    using T = FileType;
    const std::pair<const char*, FileType> cases[] = {
        {"a.d64", T::Disk}, {".D64", T::Disk}, {"dir.x/tape.T64", T::Tape}, {"x.Prg", T::Program}, {"a.p00", T::PcFirst},
        {"a.P01", T::PcOther}, {"a.p09", T::PcOther}, {"a.p10", T::Other}, {"a.lha", T::Archive}, {"a.LZH", T::Archive},
        {"a.Zip", T::Archive}, {"a.lnx", T::Archive}, {"a.tar.GZ", T::Archive}, {".gz", T::Archive}, {"a.tap", T::RawTape},
        {"a.p0x", T::Other}, {"a.d64.txt", T::Other}, {"a.d64 ", T::Other}, {"a.tgz", T::Other}, {"gz", T::Other}, {"", T::Other},
        {"a.D71", T::Disk}, {"a.d81", T::Disk}, {"a.g64", T::Disk}, {"a.X64", T::Disk}, {"a.Crt", T::Cartridge},
        {"a.d80", T::Other},
    };
    for (const auto& [name, type] : cases) {
        EXPECT_EQ(FileTypeOf(std::string_view(name)), type) << name;
        const std::string narrow(name);
        EXPECT_EQ(FileTypeOf(std::wstring(narrow.begin(), narrow.end())), type) << name;
    }
    EXPECT_EQ(FileTypeOf(std::wstring_view(L"x.\u0144" L"64")), T::Other);  // low byte of U+0144 is 'D'
    EXPECT_EQ(FileTypeOf(std::wstring_view(L"\u00e4\u00f6.d64")), T::Disk);
    EXPECT_EQ(ReadFailureMessage(L"C:\\a.b\\x.g64"), L"There was an error reading from the G64 file!");
    EXPECT_EQ(FormatTag(L"x.gz") + FormatTag(L"d81") + FormatTag(L"x.d81") + FormatTag(L"\u0144.\u0144xP"), L"D81?XP");
}

TEST(CommandTail, FindsTheProgramByItsOwnPathBeforeTheFirstBlank) {
    const std::wstring own[] = {LR"(C:\Program Files\Floppex\Floppex.exe)", LR"(C:\PROGRA~1\Floppex\Floppex.exe)"};
    const std::pair<std::wstring, std::wstring> cases[] = {
        {LR"(C:\Program Files\Floppex\Floppex.exe C:\my games\a.d64)", LR"(C:\my games\a.d64)"},
        {LR"(c:\program files\FLOPPEX\floppex.EXE  -p x.d64)", L"-p x.d64"},
        {LR"(C:\Program Files\Floppex\Floppex -p x.d64)", L"-p x.d64"},
        {LR"(C:\PROGRA~1\Floppex\Floppex.exe x.t64)", L"x.t64"}, {LR"(C:\Program Files\Floppex\Floppex.exe)", L""},
        {LR"(C:\Program Files\Floppex\Floppex.exex y)", LR"(Files\Floppex\Floppex.exex y)"},  // not the program
        {LR"("C:\Program Files\Floppex\Floppex.exe" x.prg)", L"x.prg"}, {L"other.exe x.prg", L"x.prg"},
        {L"Floppex.exe   ", L""}, {L"Floppex.exe \t -p  x.d64 ", L"-p  x.d64 "},
        {L"\"C:\\a b\\Floppex.exe\"game.prg", L"game.prg"},  // the closing quote ends the name
        {L"\"unterminated name", L""}, {L"", L""},
        {L"Floppex.exe " + std::wstring(32000, L'x'), std::wstring(32000, L'x')},
    };
    for (const auto& [line, tail] : cases) EXPECT_EQ(CommandTail(line, own), tail) << std::string(line.begin(), line.end());
}

TEST(ParseRequest, PlayNeedsTheThreeCharacterPrefixAnythingElseIsAPath) {
    EXPECT_EQ(ParseRequest(L"").kind, RequestKind::Empty);
    for (const wchar_t* req : {L"-p C:\\a.d64", L"-P C:\\a.d64"}) {
        EXPECT_EQ(ParseRequest(req).kind, RequestKind::Play) << req;
        EXPECT_EQ(ParseRequest(req).path, L"C:\\a.d64");
    }
    EXPECT_EQ(ParseRequest(L"-p  \"x.d64\" ").path, L" \"x.d64\" ");  // verbatim: blanks and quotes stay
    for (const wchar_t* req : {L"-pC:\\a.d64", L"-p", L"-p\tx.d64", L" -p x.d64", L"-q x.d64", L"\"a.d64\""}) {
        EXPECT_EQ(ParseRequest(req).kind, RequestKind::Open) << req;
        EXPECT_EQ(ParseRequest(req).path, req);
    }
}

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
