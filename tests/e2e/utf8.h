#pragma once
// UTF-16 text as UTF-8 and back; header-only, so the fake emulator and the menu hook share it.
#include <windows.h>

#include <string>

namespace floppex::e2e {

inline std::string Narrow(const std::wstring& text) {
    std::string utf8(text.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                                    static_cast<int>(utf8.size()), nullptr, nullptr));
    return utf8;
}

inline std::wstring Widen(const std::string& utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                                    static_cast<int>(text.size())));
    return text;
}

}  // namespace floppex::e2e
