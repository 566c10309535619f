#pragma once
// The one place where PETSCII becomes text.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace floppex::petscii {

// Plain ASCII, byte for byte what c1541's directory listing prints for these bytes: letters in
// lower case, shifted letters in upper case, $0D and $0A as line breaks, $00 as '?', $A0 as a
// blank and every other byte without an ASCII form as '.'.
std::string ToAscii(std::span<const uint8_t> bytes);

// UTF-8 for display in the upper-case/graphics character set: letters, the C64's graphics and
// reverse characters as real Unicode characters (Symbols for Legacy Computing included).
// Never yields control characters.
std::string ToUnicode(std::span<const uint8_t> bytes);

// The screen code the C64 prints a byte as, between quotes; $80 and up are reverse characters.
// Control codes show reversed instead of acting, $60-$7F and $E0-$FE are the second copies of
// $C0-$DF and $A0-$BF, and $FF is pi.
uint8_t ScreenCode(uint8_t c);

// The C64's two character sets: upper case and graphics, and lower and upper case (Shift+Commodore).
enum class CharSet { UpperCase, LowerCase };

// UTF-8 for the program's C64 face (src/resources/petscii.txt): each byte as the C64 draws it in
// the given set. Characters of Unicode's Basic Multilingual Plane keep their code point; the rest
// and the reverse characters, control codes among them, are the face's private-use characters, so
// that reverse characters keep their reverse look. No surrogate pairs: ExtTextOutW draws it.
std::string ToC64Face(std::span<const uint8_t> bytes, CharSet set);

// The program's own text (ASCII) as the C64 prints it, for the C64 face: in the upper-case set
// every letter a capital, in the lower-case set as written; characters PETSCII lacks become '?'.
std::string AsciiToC64Face(std::string_view text, CharSet set);

// The name proper: the bytes before the first $A0, which ends a name in directories and headers
// (the disk drive stops comparing there, and the padding follows).
std::span<const uint8_t> TrimPadding(std::span<const uint8_t> bytes);

// PETSCII for plain ASCII text as the C64 shows it in its upper-case set: letters of either case
// become the C64's letters ($41-$5A), blanks, digits and punctuation stay, anything else becomes '?'.
std::vector<uint8_t> FromAscii(std::string_view text);

}  // namespace floppex::petscii
