#include "components/system/program_launcher.h"

#include <shellapi.h>

#include <string>

namespace floppex {

void ProgramLauncher::OpenDocument(std::wstring_view document, HWND owner) const {
    const std::wstring target(document);
    ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace floppex
