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

// Where `cells` cells from `origin`, each C64 pixel `scale` pixels a side and drawn where `inked`
// says, show other than `name` in character set `set` (1 or 2) followed by blanks: "cell 3 (screen
// code 65) differs at 1,2", or nothing.
std::string CellsDiffer(const std::function<bool(int, int)>& inked, POINT origin, int scale, const Bytes& name, int set,
                        int cells = 16) {
    for (int cell = 0; cell < cells; ++cell) {
        const uint8_t code = cell < int(name.size()) ? ScreenCodeOf(name[cell]) : 0x20;
        const uint8_t* glyph = (set == 1 ? kGlyphs1 : kGlyphs2)[code & 0x7F];
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (inked(origin.x + (cell * kCell + x) * scale, origin.y + y * scale) != (bool(glyph[y] >> (7 - x) & 1) != (code >= 0x80)))
                    return "cell " + std::to_string(cell) + " (screen code " + std::to_string(code) + ") differs at " +
                           std::to_string(x) + "," + std::to_string(y);
    }
    return "";
}

// The first names drawn in the list's rows, on the screen.
void ExpectNamesInRows(const MainWindow& window, const std::vector<Bytes>& names, int set) {
    const HWND list = window.Child(ids::kLvGame);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_TRUE(window.Sync());
    const HDC screen = GetDC(nullptr);
    const RECT frame = WindowRectOf(list);  // drawn too, not left as the window's ground
    EXPECT_NE(GetPixel(screen, frame.left, (frame.top + frame.bottom) / 2), GetSysColor(COLOR_BTNFACE));
    for (int row = 0; row < int(names.size()); ++row) {
        const RECT bounds = SendRemote(list, LVM_GETITEMRECT, row, RECT{LVIR_BOUNDS}).first;
        POINT origin{bounds.left + kMargin, bounds.top + (bounds.bottom - bounds.top - kCell) / 2};
        ClientToScreen(list, &origin);
        const COLORREF ink = GetSysColor(row == window.SelectedRow() ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        const auto inked = [&](int x, int y) { return GetPixel(screen, x, y) == ink; };
        EXPECT_EQ(CellsDiffer(inked, origin, 1, names[row], set), "") << "row " << row;
    }
    ReleaseDC(nullptr, screen);
}

// Ctrl+C's text; its picture, each C64 pixel 2 x 2 inside a border of 32, shows the first names in
// quotes after the blocks in the upper-case set.
std::wstring CopyDirectory(const MainWindow& window, const std::vector<Bytes>& names) {
    if (OpenClipboard(nullptr)) EmptyClipboard(), CloseClipboard();
    EXPECT_TRUE(TypeCtrlKey(window.Handle(), 'C'));
    EXPECT_TRUE(WaitUntil([] { return IsClipboardFormatAvailable(CF_DIB) && IsClipboardFormatAvailable(CF_UNICODETEXT); }));
    if (!OpenClipboard(nullptr)) return L"<no clipboard>";
    const auto* text = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    const std::wstring copied = text ? text : L"<no text>";
    const auto* dib = static_cast<const BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)));
    const int rows = 1 + 144 + 1;  // header, entries, blocks free
    if (dib && dib->biBitCount == 1 && dib->biWidth == 2 * (320 + 64) && dib->biHeight == 2 * (rows * 8 + 64)) {
        const auto* bits = reinterpret_cast<const uint8_t*>(dib + 1) + 2 * sizeof(RGBQUAD);
        const int stride = (dib->biWidth + 31) / 32 * 4;
        const auto inked = [&](int x, int y) { return (bits[(dib->biHeight - 1 - y) * stride + x / 8] >> (7 - x % 8) & 1) != 0; };
        for (int row = 0; row < int(names.size()); ++row)
            EXPECT_EQ(CellsDiffer(inked, {2 * (32 + 6 * kCell), 2 * (32 + (row + 1) * kCell)}, 2, names[row], 1, int(names[row].size())), "")
                << "picture row " << row;
    } else {
        ADD_FAILURE() << "no picture of the directory's size";
    }
    CloseClipboard();
    return copied;
}

// The first names of a full disk in each character set, as a person switches between them; the
// switches outlast a restart, and off the window shows its own face again.
TEST(C64FaceTest, NamesShowTheC64sGlyphsInEitherSetAndTheSwitchesLast) {
    const ProgramFolder folder;
    const std::wstring game = folder.AddFixture(L"face.d64", L"face.d64");
    const std::vector<Bytes> names = FirstNames(game);
    ASSERT_EQ(names.size(), 8u);
    std::wstring copied;
    for (const int set : {1, 2}) {
        SCOPED_TRACE(set == 1 ? "upper case and graphics" : "lower and upper case");
        AppProcess app(folder.Exe(), game);
        const MainWindow window = WaitForListing(app, L"face.d64");
        ASSERT_NE(window.Handle(), nullptr);
        EXPECT_EQ(window.RowCount(), 144 + 3);
        const HWND list = window.Child(ids::kLvGame);
        ExpectNamesInRows(window, names, set);
        EXPECT_TRUE(SavePicture(window.Handle(), set == 1 ? L"c64-face-upper" : L"c64-face-lower"));
        const auto ownFace = [&] {  // reverse characters are the face's own, and the list's font is the info line's
            const std::wstring name = window.Rows()[2][0];
            return std::none_of(name.begin(), name.end(), [](wchar_t c) { return c >= 0xE000 && c < 0xE200; }) &&
                   SendMessageW(window.Child(ids::kLblInfo), WM_GETFONT, 0, 0) == SendMessageW(list, WM_GETFONT, 0, 0);
        };
        EXPECT_FALSE(ownFace());
        if (set == 1) {  // the program's own text as the C64 prints it in this set
            EXPECT_EQ(window.Rows()[146][0], L"539 BLOCKS FREE");
            copied = CopyDirectory(window, names);
            PostMessageW(window.Handle(), WM_COMMAND, ids::kMnuC64LowerCase, 0);
            EXPECT_TRUE(WaitUntil([] { return ReadDword(kWindowKey, L"C64LowerCase") == 0xFFFFFFFF; }));
            EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
            continue;
        }
        PostMessageW(window.Handle(), WM_COMMAND, ids::kMnuC64Font, 0);
        ASSERT_TRUE(WaitUntil([] { return ReadDword(kWindowKey, L"C64Font") == 0u; }) && window.Sync());
        EXPECT_TRUE(ownFace());
        // Ctrl+C copied the info line and the rows as the window's own face shows them.
        const std::vector<std::wstring> first = window.Rows()[0];
        EXPECT_EQ(copied.substr(0, copied.find(L"\r\n", copied.find(L"\r\n") + 2)),
                  window.InfoLabel() + L"\r\n" + first[0] + L"\t" + first[1] + L"\t" + first[2]);
        EXPECT_NE(copied.find(L"\r\n\r\n\r\n539 Blocks Free\r\n"), std::wstring::npos) << "no blocks free after two blank rows";
        EXPECT_EQ(window.Rows()[146][0], L"539 Blocks Free");
        EXPECT_TRUE(SavePicture(window.Handle(), L"c64-face-off"));
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    }
}

}  // namespace
}  // namespace floppex::e2e
