#include "settings/game_index_logic.h"

#include <cstdlib>

#include "window/size_limits_logic.h"

namespace floppex {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

size_t SkipDigits(std::wstring_view text, size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

size_t SkipSign(std::wstring_view text, size_t i) {
    return i < text.size() && (text[i] == L'+' || text[i] == L'-') ? i + 1 : i;
}

// End of the longest number starting at begin, or begin when there is none.
size_t NumberEnd(std::wstring_view text, size_t begin) {
    size_t i = SkipSign(text, begin);
    const size_t intStart = i;
    i = SkipDigits(text, i);
    size_t digits = i - intStart;
    if (i < text.size() && text[i] == L'.') {
        const size_t fracEnd = SkipDigits(text, i + 1);
        digits += fracEnd - (i + 1);
        if (digits > 0) i = fracEnd;
    }
    if (digits == 0) return begin;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E' || text[i] == L'd' || text[i] == L'D')) {
        const size_t expDigits = SkipSign(text, i + 1);
        const size_t expEnd = SkipDigits(text, expDigits);
        if (expEnd > expDigits) i = expEnd;
    }
    return i;
}

}  // namespace

double LeadingNumber(std::wstring_view text) {
    size_t begin = 0;
    while (begin < text.size() && (text[begin] == L' ' || text[begin] == L'\t')) ++begin;
    const size_t end = NumberEnd(text, begin);
    if (end == begin) return 0.0;
    std::string ascii;
    for (size_t i = begin; i < end; ++i) {
        const wchar_t c = text[i];
        ascii += (c == L'd' || c == L'D') ? 'e' : static_cast<char>(c);
    }
    return std::strtod(ascii.c_str(), nullptr);
}

int32_t GameIndexFromStored(std::wstring_view stored) {
    const std::optional<int32_t> index = RoundHalfEven(LeadingNumber(stored) - 1.0);
    return index && *index >= 0 ? *index : -1;
}

std::wstring StoredFromGameIndex(int32_t index) {
    return std::to_wstring(static_cast<int64_t>(index) + 1);
}

}  // namespace floppex
