#include "c64/petscii.h"

#include <array>

namespace floppex::petscii {
namespace {

// --- ASCII, as c1541 lists names -------------------------------------------------------------

char AsciiOf(uint8_t c) {
    if (c == 0x00) return '?';  // c1541 shows a NUL in a name as '?'
    // $60-$7F and $E0-$FF are the second copies of $C0-$DF and $A0-$BF.
    if (c >= 0x60 && c <= 0x7f) c = static_cast<uint8_t>(c + 0x60);
    else if (c >= 0xe0) c = static_cast<uint8_t>(c - 0x40);

    if (c == 0x0d) return '\n';
    if (c == 0x0a) return '\r';
    if (c < 0x20) return '.';
    if (c == 0xa0) return ' ';
    if (c >= 0xc1 && c <= 0xda) return static_cast<char>('A' + (c - 0xc1));
    if (c >= 0x41 && c <= 0x5a) return static_cast<char>('a' + (c - 0x41));
    if (c < 0x7f) return static_cast<char>(c);
    return '.';
}

// --- Unicode, upper-case/graphics set ---------------------------------------------------------

// Screen codes $40-$7F of the upper-case/graphics set: the C64's own graphics.
constexpr std::array<char32_t, 64> kGraphics = {
    0x2500,  0x2660,  0x2502,  0x1FB79, 0x1FB78, 0x1FB77, 0x1FB7A, 0x1FB71,  // $40
    0x1FB73, 0x256E,  0x2570,  0x256F,  0x1FB7C, 0x2572,  0x2571,  0x1FB7D,  // $48
    0x1FB7E, 0x25CF,  0x1FB7B, 0x2665,  0x1FB70, 0x256D,  0x2573,  0x25CB,   // $50
    0x2663,  0x1FB75, 0x2666,  0x253C,  0x1FB8C, 0x2502,  0x03C0,  0x25E5,   // $58
    0x0020,  0x258C,  0x2584,  0x2594,  0x2581,  0x258F,  0x2592,  0x2595,   // $60
    0x1FB8F, 0x25E4,  0x1FB87, 0x251C,  0x2597,  0x2514,  0x2510,  0x2582,   // $68
    0x250C,  0x2534,  0x252C,  0x2524,  0x258E,  0x258D,  0x1FB88, 0x1FB82,  // $70
    0x1FB83, 0x2583,  0x1FB7F, 0x2596,  0x259D,  0x2518,  0x2598,  0x259A,   // $78
};

char32_t NormalGlyph(uint8_t screen) {
    if (screen == 0x1c) return 0x00A3;  // pound
    if (screen == 0x1e) return 0x2191;  // up arrow
    if (screen == 0x1f) return 0x2190;  // left arrow
    if (screen < 0x20) return static_cast<char32_t>('@' + screen);
    if (screen < 0x40) return screen;
    return kGraphics[screen - 0x40];
}

// Control codes show as reverse characters, as in a quoted name on the C64 screen. Reverse
// letters become the negative squared capitals; a few reverse graphics have a Unicode inverse;
// the rest keep their plain glyph.
char32_t ReverseGlyph(uint8_t screen) {
    if (screen >= 0x01 && screen <= 0x1a) return 0x1F170 + (screen - 0x01);
    switch (screen) {
        case 0x56: return 0x1FBBD;  // reverse diagonal cross
        case 0x5c: return 0x1FB94;  // reverse left half shade
        case 0x5f: return 0x25E3;   // reverse upper right triangle
        case 0x51: return 0x25D9;   // reverse filled circle
        case 0x57: return 0x25D8;   // reverse open circle
        default: return NormalGlyph(screen);
    }
}

char32_t UnicodeOf(uint8_t c) {
    if (c < 0x20) return ReverseGlyph(c);
    if (c < 0x40) return c;
    if (c < 0x60) return NormalGlyph(static_cast<uint8_t>(c - 0x40));
    if (c < 0x80) return NormalGlyph(static_cast<uint8_t>(c - 0x20));
    if (c < 0xa0) return ReverseGlyph(static_cast<uint8_t>(c - 0x40));
    if (c < 0xc0) return NormalGlyph(static_cast<uint8_t>(c - 0x40));
    if (c == 0xff) return NormalGlyph(0x5e);  // pi
    return NormalGlyph(static_cast<uint8_t>(c - 0x80));
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xc0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xe0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    }
}

}  // namespace

std::string ToAscii(std::span<const uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (uint8_t c : bytes) out += AsciiOf(c);
    return out;
}

std::string ToUnicode(std::span<const uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (uint8_t c : bytes) AppendUtf8(out, UnicodeOf(c));
    return out;
}

std::span<const uint8_t> TrimPadding(std::span<const uint8_t> bytes) {
    size_t n = 0;
    while (n < bytes.size() && bytes[n] != 0xa0) ++n;
    return bytes.first(n);
}

std::vector<uint8_t> FromAscii(std::string_view text) {
    std::vector<uint8_t> out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<uint8_t>(ch);
        if (c >= 'a' && c <= 'z') {
            out.push_back(static_cast<uint8_t>(c - 0x20));
        } else {
            out.push_back(c >= 0x20 && c <= 0x5D && c != 0x5C ? c : '?');  // $5C is the pound sign
        }
    }
    return out;
}

}  // namespace floppex::petscii
