// PETSCII conversion: ASCII checked byte by byte against c1541's listing of names holding every
// byte value (allbytes.d64, made by tests/fixtures/images.sh), Unicode against the C64's glyphs.
#include "c64/pet_name.h"
#include "c64/petscii.h"
#include "fixtures.h"

namespace floppex {
namespace {

std::string Ascii(uint8_t c) { return petscii::ToAscii(std::span<const uint8_t>(&c, 1)); }
std::string Unicode(uint8_t c) { return petscii::ToUnicode(std::span<const uint8_t>(&c, 1)); }

// Decodes one UTF-8 sequence; 0 when the text is not exactly one well-formed code point.
char32_t SingleCodePoint(const std::string& s) {
    const size_t length = s.empty() ? 0 : (s[0] & 0x80) == 0 ? 1 : (s[0] & 0xe0) == 0xc0 ? 2 : (s[0] & 0xf0) == 0xe0 ? 3
                                        : (s[0] & 0xf8) == 0xf0 ? 4 : 0;
    if (length == 0 || s.size() != length) return 0;
    char32_t cp = static_cast<uint8_t>(s[0]) & (0x7f >> (length == 1 ? 0 : length));
    for (size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xc0) != 0x80) return 0;
        cp = cp << 6 | (s[i] & 0x3f);
    }
    return cp;
}

// In allbytes.d64 entry k (0 to 15) is named by the bytes 16k to 16k+15. Every byte gives one
// character, so c1541's output has fixed widths: a 27-character header line, then 29-character
// entry lines `1    "` + 16 name characters + `" prg \n`.
TEST(Petscii, AsciiEqualsC1541ForEveryByteValue) {
    const std::string listing = testing::ReadText(testing::FixtureDir("images") / "allbytes.d64.list");
    ASSERT_GE(listing.size(), 27u + 16 * 29);
    for (int value = 0; value < 256; ++value) {
        if (value == 0xa0) continue;  // closes the quotes in a listing; checked below
        const size_t at = 27 + static_cast<size_t>(value / 16) * 29 + 6 + static_cast<size_t>(value % 16);
        EXPECT_EQ(Ascii(static_cast<uint8_t>(value)), listing.substr(at, 1)) << "byte " << value;
    }
    EXPECT_EQ(Ascii(0xa0), " ");
    EXPECT_EQ(listing.substr(27 + 10 * 29 + 6, 1), "\"");
}

TEST(Petscii, UnicodeIsOneVisibleCharacterPerByte) {
    for (int value = 0; value < 256; ++value) {
        const char32_t cp = SingleCodePoint(Unicode(static_cast<uint8_t>(value)));
        EXPECT_NE(cp, 0u) << "byte " << value;
        EXPECT_FALSE(cp < 0x20 || (cp >= 0x7f && cp < 0xa0)) << "control character for byte " << value;
    }
}

TEST(Petscii, UnicodeShowsTheUpperCaseGraphicsSet) {
    EXPECT_EQ(petscii::ToUnicode(std::vector<uint8_t>{0x48, 0x45, 0x4c, 0x4c, 0x4f, 0x20, 0x31, 0x21}), "HELLO 1!");
    // Pound, arrows, spade and heart (shifted A, S), pi, shifted space, left half block, a line of
    // the Legacy Computing block; reverse-on as a reverse R, clear screen as a (reverse) heart.
    const std::pair<uint8_t, const char*> glyphs[] = {
        {0x5c, "\u00a3"}, {0x5e, "\u2191"}, {0x5f, "\u2190"}, {0xc1, "\u2660"}, {0xd3, "\u2665"},
        {0xde, "\u03c0"}, {0xff, "\u03c0"}, {0xa0, " "},      {0xa1, "\u258c"}, {0xc3, "\U0001fb79"},
        {0x12, "\U0001f181"}, {0x93, "\u2665"}};
    for (const auto& [byte, glyph] : glyphs) EXPECT_EQ(Unicode(byte), glyph) << int{byte};
    // The second copies of the graphics look like the first.
    for (int c = 0x60; c <= 0x7f; ++c) EXPECT_EQ(Unicode(static_cast<uint8_t>(c)), Unicode(static_cast<uint8_t>(c + 0x60)));
    for (int c = 0xe0; c <= 0xfe; ++c) EXPECT_EQ(Unicode(static_cast<uint8_t>(c)), Unicode(static_cast<uint8_t>(c - 0x40)));
}

TEST(Petscii, NameEndsAtFirstShiftedSpace) {
    const auto name = PetName::FromStored(std::vector<uint8_t>{0x47, 0x41, 0x4d, 0x45, 0xa0, 0x2c, 0x38, 0xa0, 0xa0});
    EXPECT_EQ(name.Ascii() + name.Unicode(), "gameGAME");
    EXPECT_TRUE(petscii::TrimPadding(std::vector<uint8_t>{0xa0, 0x41}).empty());
    EXPECT_EQ(petscii::TrimPadding(std::vector<uint8_t>{0x41, 0x42}).size(), 2u);
}

}  // namespace
}  // namespace floppex
