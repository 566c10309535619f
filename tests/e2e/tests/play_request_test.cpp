// Play requests ("-p path") that start the default emulator at once, without showing the window.
#include "tests/play_support.h"

namespace floppex::e2e {
namespace {

using namespace play;

class PlayRequestTest : public E2eTest {};

TEST_F(PlayRequestTest, RememberedDiskEntryIsPlayedWithoutAWindow) {
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 3, L"x64.exe");
    SetDefaultEmulator(3);
    const std::wstring disk = folder.AddFixture(L"play.d64", L"play.d64");
    ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), "[Game Indexes]\r\nplay.d64=3\r\n"));
    AppProcess app(folder.Exe(), L"-p " + disk);
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    const auto launch = WaitForLaunch(emulator);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->commandLine, Quoted(emulator) + L" -autostart " + Quoted(disk + L":gamma"));
    EXPECT_TRUE(IniHas(folder, "play.d64=3"));
}

// The archive is unpacked again for the launch; the unpacked file decides the type and is the
// name remembered.
TEST_F(PlayRequestTest, ZipIsUnpackedAndRememberedUnderTheUnpackedName) {
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 4, L"x64.exe");
    SetDefaultEmulator(4);
    const std::wstring archive = folder.AddFixture(L"game.zip", L"game.zip");
    ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), "[Game Indexes]\r\ngame.zip=2\r\n"));
    AppProcess app(folder.Exe(), L"-P " + archive);
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    const auto launch = WaitForLaunch(emulator);
    ASSERT_TRUE(launch);
    const std::wstring unpacked = folder.File(L"currgame.d64");
    EXPECT_EQ(launch->commandLine, Quoted(emulator) + L" -autostart " + Quoted(unpacked + L":Beta Two"));
    EXPECT_EQ(ReadWholeFile(unpacked), ReadWholeFile(FixturePath(L"play.d64")));
    EXPECT_TRUE(IniHas(folder, "currgame.d64=2"));
    EXPECT_TRUE(IniHas(folder, "game.zip=2"));
}

// Nothing is unpacked, remembered or started when the emulator's path names no file.
TEST_F(PlayRequestTest, UnconfiguredEmulatorStopsBeforeTheArchiveIsUnpacked) {
    const ProgramFolder folder;
    SetDefaultEmulator(3);
    const std::wstring archive = folder.AddFixture(L"game.zip", L"game.zip");
    ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), "[Game Indexes]\r\ngame.zip=2\r\n"));
    AppProcess app(folder.Exe(), L"-p " + archive);
    const auto box = WaitForMessageBox(app.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Floppex!");
    ASSERT_TRUE(box->PressOk());
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    EXPECT_FALSE(FileExists(folder.File(L"currgame.d64")));
    EXPECT_FALSE(IniHas(folder, "currgame"));
}

TEST_F(PlayRequestTest, DamagedArchiveIsReportedAndNothingStarted) {
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 3, L"x64.exe");
    SetDefaultEmulator(3);
    const std::wstring archive = folder.File(L"broken.zip");
    ASSERT_TRUE(WriteWholeFile(archive, "PK\x03\x04 this is no archive"));
    ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), "[Game Indexes]\r\nbroken.zip=1\r\n"));
    AppProcess app(folder.Exe(), L"-p " + archive);
    const auto box = WaitForMessageBox(app.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Floppex!");
    EXPECT_FALSE(box->text.empty());
    ASSERT_TRUE(box->PressOk());
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    EXPECT_FALSE(IniHas(folder, "currgame"));
    EXPECT_FALSE(FileExists(LogOf(emulator)));
}

// An image the reader rejects is reported, remembered and still handed to the emulator, without
// an entry name.
TEST_F(PlayRequestTest, UnreadableDiskIsReportedThenStartedWithoutAName) {
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 3, L"x64.exe");
    SetDefaultEmulator(3);
    const std::wstring disk = folder.AddFixture(L"fake.d64", L"fake.d64");
    ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), "[Game Indexes]\r\nfake.d64=2\r\n"));
    AppProcess app(folder.Exe(), L"-p " + disk);
    const auto box = WaitForMessageBox(app.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"There was an error reading from the D64 file!");
    EXPECT_EQ(box->caption, L"Floppex!");
    ASSERT_TRUE(box->PressOk());
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    const auto launch = WaitForLaunch(emulator);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->commandLine, Quoted(emulator) + L" -autostart " + Quoted(disk));
    EXPECT_TRUE(IniHas(folder, "fake.d64=2"));
}

// A remembered entry beyond the disk's last one starts the disk without naming an entry.
TEST_F(PlayRequestTest, RememberedEntryBeyondTheDiskNamesNone) {
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 3, L"x64.exe");
    SetDefaultEmulator(3);
    const std::wstring disk = folder.AddFixture(L"play.d64", L"play.d64");
    ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), "[Game Indexes]\r\nplay.d64=99999999\r\n"));
    AppProcess app(folder.Exe(), L"-p " + disk);
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    const auto launch = WaitForLaunch(emulator);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->commandLine, Quoted(emulator) + L" -autostart " + Quoted(disk));
}

TEST_F(PlayRequestTest, DefaultEmulatorThatIsNoProgramIsRefused) {
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 3, L"x64.exe");
    const std::wstring program = folder.AddFixture(L"hello.prg", L"hello.prg");
    for (const DWORD stored : {DWORD{16}, DWORD{0xFFFFFFFF}}) {
        SCOPED_TRACE(stored);
        SetDefaultEmulator(stored);
        AppProcess app(folder.Exe(), L"-p " + program);
        const auto box = WaitForMessageBox(app.Pid());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->caption, L"Floppex!");
        EXPECT_NE(box->text.find(L"emulator"), std::wstring::npos) << Narrow(box->text);
        ASSERT_TRUE(box->PressOk());
        EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    }
    EXPECT_FALSE(FileExists(LogOf(emulator)));
}

}  // namespace
}  // namespace floppex::e2e
