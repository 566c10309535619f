// Play requests ("-p path") that start the default emulator at once, without showing the window.
#include "tests/play_support.h"

namespace floppex::e2e {
namespace {

using namespace play;

class PlayRequestTest : public E2eTest {};

TEST_F(PlayRequestTest, DiskIsPlayedWithItsRememberedEntryWithoutAWindow) {
    struct Case {
        const wchar_t* disk;
        const char* remembered;  // the disk's line in [Game Indexes]
        const wchar_t* entry;    // the entry named to the emulator, or null for none
        const wchar_t* report;   // what is reported before the start, or null
    };
    const Case cases[] = {
        {L"play.d64", "play.d64=3", L"gamma", nullptr},
        // An entry beyond the disk's last one names none.
        {L"play.d64", "play.d64=99999999", nullptr, nullptr},
        // An image the reader rejects is reported, remembered and still handed to the emulator.
        {L"fake.d64", "fake.d64=2", nullptr, L"There was an error reading from the D64 file!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remembered);
        const ProgramFolder folder;
        const std::wstring emulator = UseEmulator(folder, 3, L"x64.exe");
        const std::wstring disk = folder.AddFixture(c.disk, c.disk);
        ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), std::string("[Game Indexes]\r\n") + c.remembered + "\r\n"));
        AppProcess app(folder.Exe(), L"-p " + disk);
        if (c.report) {
            const auto box = WaitForMessageBox(app.Pid());
            ASSERT_TRUE(box);
            EXPECT_EQ(box->text, c.report);
            EXPECT_EQ(box->caption, L"Floppex!");
            ASSERT_TRUE(box->PressOk());
        }
        EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
        const auto launch = WaitForLaunch(emulator);
        ASSERT_TRUE(launch);
        EXPECT_EQ(launch->commandLine, Autostart(emulator, c.entry ? disk + L":" + c.entry : disk));
        EXPECT_TRUE(IniHas(folder, c.remembered));
    }
}

// The archive is unpacked again for the launch; the unpacked file decides the type and is the
// name remembered.
TEST_F(PlayRequestTest, ZipIsUnpackedAndRememberedUnderTheUnpackedName) {
    const ProgramFolder folder;
    const std::wstring emulator = UseEmulator(folder, 4, L"x64.exe");
    const std::wstring archive = folder.AddFixture(L"game.zip", L"game.zip");
    ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), "[Game Indexes]\r\ngame.zip=2\r\n"));
    AppProcess app(folder.Exe(), L"-P " + archive);
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    const auto launch = WaitForLaunch(emulator);
    ASSERT_TRUE(launch);
    const std::wstring unpacked = folder.File(L"currgame.d64");
    EXPECT_EQ(launch->commandLine, Autostart(emulator, unpacked + L":Beta Two"));
    EXPECT_EQ(ReadWholeFile(unpacked), ReadWholeFile(FixturePath(L"play.d64")));
    EXPECT_TRUE(IniHas(folder, "currgame.d64=2"));
    EXPECT_TRUE(IniHas(folder, "game.zip=2"));
}

// Reported, then the program ends: nothing unpacked, remembered or started.
TEST_F(PlayRequestTest, RefusalsAreReportedAndNothingIsStarted) {
    struct Case {
        const wchar_t* file;
        const char* bytes;  // the file's contents, or null for the fixture of that name
        DWORD defaultEmulator;
        const wchar_t* textPart;
    };
    const Case cases[] = {
        {L"game.zip", nullptr, 5, L""},  // no program configured: stops before unpacking
        {L"broken.zip", "PK\x03\x04 this is no archive", 3, L""},
        {L"hello.prg", nullptr, 11, L""},
        {L"hello.prg", nullptr, 16, L"emulator"},
        {L"hello.prg", nullptr, 70000, L""},
        {L"hello.prg", nullptr, 0xFFFFFFFF, L"emulator"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.file) << " " << c.defaultEmulator);
        const ProgramFolder folder;
        const std::wstring emulator = InstallEmulator(folder, 3, L"x64.exe");
        SetDefaultEmulator(c.defaultEmulator);
        const std::wstring path = c.bytes ? folder.File(c.file) : folder.AddFixture(c.file, c.file);
        if (c.bytes) ASSERT_TRUE(WriteWholeFile(path, c.bytes));
        ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), "[Game Indexes]\r\n" + Narrow(c.file) + "=2\r\n"));
        AppProcess app(folder.Exe(), L"-p " + path);
        const auto box = WaitForMessageBox(app.Pid());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->caption, L"Floppex!");
        EXPECT_FALSE(box->text.empty());
        EXPECT_NE(box->text.find(c.textPart), std::wstring::npos) << Narrow(box->text);
        ASSERT_TRUE(box->PressOk());
        EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
        EXPECT_FALSE(FileExists(folder.File(L"currgame.d64")));
        EXPECT_FALSE(IniHas(folder, "currgame"));
        EXPECT_FALSE(FileExists(LogOf(emulator)));
    }
}

}  // namespace
}  // namespace floppex::e2e
