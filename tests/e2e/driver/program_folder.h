#pragma once
// A fresh program folder per test: an empty folder holding a copy of Floppex.exe.
#include <string>

namespace floppex::e2e {

class ProgramFolder {
public:
    // The folder is named after the running test, below the work root, inside `parent` when given
    // (a parent with blanks puts blanks into every path of the program).
    explicit ProgramFolder(const std::wstring& parent = L"");

    const std::wstring& Path() const { return path_; }
    std::wstring Exe() const { return path_ + L"\\Floppex.exe"; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Copies a fixture into the folder under `name`; gives the copy's full path.
    std::wstring AddFixture(const std::wstring& fixture, const std::wstring& name) const;

private:
    std::wstring path_;
};

}  // namespace floppex::e2e
