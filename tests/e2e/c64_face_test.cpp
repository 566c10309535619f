// Names as the C64 draws them: the window's rows read back from the screen, cell by cell, against
// the glyph source.
#include "dialog_driver.h"

namespace floppex::e2e {
namespace {

#include "glyph_table.inc"  // kGlyphs1 and kGlyphs2, each set's cells by screen code, drawn from the glyph source

using Bytes = std::vector<uint8_t>;
constexpr int kCell = 8, kMargin = 2;  // at 96 dpi; a cell's text starts two pixels into its column

// The screen code the C64 prints a PETSCII byte as between quotes: control codes reversed.
uint8_t ScreenCodeOf(uint8_t b) {
    if (b == 0xFF) return 0x5E;  // pi
    switch (b >> 5) {
    case 0: return b | 0x80;   // control codes
    case 1: return b;          // blank, digits, punctuation
    case 2: return b - 0x40;   // @, letters
    case 3: return b - 0x20;   // second copies of $C0-$DF
    case 4: return b + 0x40;   // control codes
    case 5: return b - 0x40;   // graphics
    default: return b - 0x80;  // shifted letters and graphics; $E0-$FE copy $A0-$BE
    }
}

// The names of the first directory sector (track 18, sector 1) as the image holds them.
std::vector<Bytes> FirstNames(const std::wstring& image) {
    const std::string disk = ReadWholeFile(image);
    std::vector<Bytes> names;
    for (size_t at = 0x16600 + 5; at < 0x16700 && at + 16 <= disk.size(); at += 32) {
        const std::string name = disk.substr(at, 16);
        names.emplace_back(name.begin(), name.begin() + std::min(name.find('\xA0'), name.size()));
    }
    return names;
}

// Where the cells of the names column show a name other than `name` in character set `set` (1 or 2),
// blanks after it: "cell 3: $41 drawn as ...", or nothing.
std::string CellsDiffer(HDC screen, HWND list, int row, const Bytes& name, int set, COLORREF ink) {
    const RECT bounds = SendRemote(list, LVM_GETITEMRECT, row, RECT{LVIR_BOUNDS}).first;
    POINT origin{bounds.left + kMargin, bounds.top + (bounds.bottom - bounds.top - kCell) / 2};
    ClientToScreen(list, &origin);
    for (int cell = 0; cell < 16; ++cell) {
        const uint8_t code = cell < int(name.size()) ? ScreenCodeOf(name[cell]) : 0x20;
        const uint8_t* glyph = (set == 1 ? kGlyphs1 : kGlyphs2)[code & 0x7F];
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
                const bool drawn = GetPixel(screen, origin.x + cell * kCell + x, origin.y + y) == ink;
                if (drawn != (bool(glyph[y] >> (7 - x) & 1) != (code >= 0x80)))
                    return "cell " + std::to_string(cell) + " (screen code " + std::to_string(code) + ") differs at " +
                           std::to_string(x) + "," + std::to_string(y);
            }
    }
    return "";
}

// The first names of a full disk in each character set, as a person switches between them; the
// switches outlast a restart, and off the window shows its own face again.
TEST(C64FaceTest, NamesShowTheC64sGlyphsInEitherSetAndTheSwitchesLast) {
    const ProgramFolder folder;
    const std::wstring game = folder.AddFixture(L"face.d64", L"face.d64");
    const std::vector<Bytes> names = FirstNames(game);
    ASSERT_EQ(names.size(), 8u);
    for (const int set : {1, 2}) {
        SCOPED_TRACE(set == 1 ? "upper case and graphics" : "lower and upper case");
        AppProcess app(folder.Exe(), game);
        const MainWindow window = WaitForListing(app, L"face.d64");
        ASSERT_NE(window.Handle(), nullptr);
        EXPECT_EQ(window.RowCount(), 144 + 3);
        const HWND list = window.Child(ids::kLvGame);
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ASSERT_TRUE(window.Sync());
        const HDC screen = GetDC(nullptr);
        for (int row = 0; row < int(names.size()); ++row)
            EXPECT_EQ(CellsDiffer(screen, list, row, names[row], set,
                                  GetSysColor(row == window.SelectedRow() ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT)), "")
                << "row " << row;
        ReleaseDC(nullptr, screen);
        EXPECT_TRUE(SavePicture(window.Handle(), set == 1 ? L"c64-face-upper" : L"c64-face-lower"));
        const auto ownFace = [&] {  // reverse characters are the face's own, and the list's font is the info line's
            const std::wstring name = window.Rows()[2][0];
            return std::none_of(name.begin(), name.end(), [](wchar_t c) { return c >= 0xE000 && c < 0xE200; }) &&
                   SendMessageW(window.Child(ids::kLblInfo), WM_GETFONT, 0, 0) == SendMessageW(list, WM_GETFONT, 0, 0);
        };
        EXPECT_FALSE(ownFace());
        if (set == 1) {  // the program's own text as the C64 prints it in this set
            EXPECT_EQ(window.Rows()[146][0], L"539 BLOCKS FREE");
            PostMessageW(window.Handle(), WM_COMMAND, ids::kMnuC64LowerCase, 0);
            EXPECT_TRUE(WaitUntil([] { return ReadDword(kWindowKey, L"C64LowerCase") == 0xFFFFFFFF; }));
            EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
            continue;
        }
        PostMessageW(window.Handle(), WM_COMMAND, ids::kMnuC64Font, 0);
        ASSERT_TRUE(WaitUntil([] { return ReadDword(kWindowKey, L"C64Font") == 0u; }) && window.Sync());
        EXPECT_TRUE(ownFace());
        EXPECT_EQ(window.Rows()[146][0], L"539 Blocks Free");
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    }
}

}  // namespace
}  // namespace floppex::e2e
