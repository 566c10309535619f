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

// --- Unicode and the C64 face ------------------------------------------------------------------

// kSet1, kSet1Reverse, kFace1 and kFace2, by screen code, from src/resources/petscii.txt.
#include "petscii_table.inc"


// In the listing a reverse character is its Unicode inverse where there is one (the negative
// squared capitals, a few graphics), else its plain character.
char32_t UnicodeOf(uint8_t c) {
    const unsigned screen = ScreenCode(c);
    if (screen < 0x80) return kSet1[screen];
    return kSet1Reverse[screen - 0x80] != 0 ? kSet1Reverse[screen - 0x80] : kSet1[screen - 0x80];
}

char32_t FaceCodePoint(uint8_t c, CharSet set) {
    return (set == CharSet::UpperCase ? kFace1 : kFace2)[ScreenCode(c)];
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

uint8_t ScreenCode(uint8_t c) {
    const auto code = [](unsigned value) { return static_cast<uint8_t>(value); };
    if (c < 0x20) return code(c | 0x80u);
    if (c < 0x40) return c;
    if (c < 0x60) return code(c - 0x40u);
    if (c < 0x80) return code(c - 0x20u);
    if (c < 0xa0) return code((c - 0x40u) | 0x80u);
    if (c < 0xc0) return code(c - 0x40u);
    if (c == 0xff) return 0x5e;
    return code(c - 0x80u);
}

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

std::string ToC64Face(std::span<const uint8_t> bytes, CharSet set) {
    std::string out;
    out.reserve(bytes.size() * 3);
    for (uint8_t c : bytes) AppendUtf8(out, FaceCodePoint(c, set));
    return out;
}

std::string AsciiToC64Face(std::string_view text, CharSet set) {
    std::vector<uint8_t> bytes = FromAscii(text);
    for (size_t i = 0; i < text.size(); ++i) {
        if (set == CharSet::LowerCase && text[i] >= 'A' && text[i] <= 'Z') bytes[i] |= 0x80;  // shifted: a capital
    }
    return ToC64Face(bytes, set);
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
