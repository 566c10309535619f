// The remembered entry per game file, as the window shows and stores it.
#include "tests/e2e_test.h"

namespace floppex::e2e {
namespace {

class GameIndexTest : public E2eTest {};

struct Stored {
    const char* ini;  // contents of Floppex.ini, or null for no file
    int selectedRow;  // 0-based row preselected in the listing of many.d64 (17 rows)
};

TEST_F(GameIndexTest, StoredValuePreselectsItsRow) {
    const Stored cases[] = {
        {nullptr, 0},
        {"[Game Indexes]\r\nmany.d64=2\r\n", 1},
        {"[Game Indexes]\r\nmany.d64=12\r\n", 11},
        {"[Game Indexes]\r\nmany.d64=0\r\n", 0},
        {"[Game Indexes]\r\nmany.d64=abc\r\n", 0},
        {"[Game Indexes]\r\nmany.d64=000000012\r\n", 0},  // only the first eight characters count
        {"[Game Indexes]\r\nMANY.D64=5\r\n", 4},           // keys ignore letter case
        {"[Game Indexes]\r\nmany.d64=99\r\n", 0},          // beyond the last row
        {"[Other]\r\nmany.d64=5\r\n", 0},
    };
    for (const Stored& stored : cases) {
        SCOPED_TRACE(stored.ini ? stored.ini : "no Floppex.ini");
        const ProgramFolder folder;
        const std::wstring disk = folder.AddFixture(L"many.d64", L"many.d64");
        if (stored.ini) ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), stored.ini));
        AppProcess app(folder.Exe(), disk);
        const MainWindowView window(WaitForListing(app, L"many.d64"));
        ASSERT_NE(window.Handle(), nullptr);
        EXPECT_EQ(window.Rows().RowCount(), 17);
        EXPECT_EQ(window.Rows().SelectedRow(), stored.selectedRow);
    }
}

TEST_F(GameIndexTest, ClosingRemembersTheChosenRowOfADisk) {
    const ProgramFolder folder;
    const std::wstring disk = folder.AddFixture(L"many.d64", L"many.d64");
    AppProcess app(folder.Exe(), disk);
    const MainWindowView window(WaitForListing(app, L"many.d64"));
    ASSERT_NE(window.Handle(), nullptr);
    ASSERT_TRUE(window.Rows().Select(3));
    ASSERT_TRUE(window.Sync());
    ASSERT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));

    const std::string ini = ReadWholeFile(folder.File(L"Floppex.ini"));
    EXPECT_NE(ini.find("[Game Indexes]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("many.d64=4"), std::string::npos) << ini;
}

TEST_F(GameIndexTest, ClosingRemembersNothingForAProgramFile) {
    const ProgramFolder folder;
    const std::pair<const wchar_t*, const wchar_t*> programs[] = {{L"hello.prg", L"hello.prg"},
                                                                  {L"hello.p00", L"HELLO.P00"}};
    for (const auto& [fixture, name] : programs) {
        SCOPED_TRACE(Narrow(name));
        const std::wstring program = folder.AddFixture(fixture, name);
        AppProcess app(folder.Exe(), program);
        const MainWindowView window(WaitForListing(app, name));
        ASSERT_NE(window.Handle(), nullptr);
        ASSERT_TRUE(window.PlayEnabled()) << "not listed";
        ASSERT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
        EXPECT_FALSE(FileExists(folder.File(L"Floppex.ini")));
    }
}

}  // namespace
}  // namespace floppex::e2e
