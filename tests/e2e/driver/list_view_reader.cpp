#include "driver/list_view_reader.h"

#include <commctrl.h>

namespace floppex::e2e {

namespace {

constexpr int kTextChars = 512;

// A block of memory in the list's process, freed with the object.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    bool Ok() const { return address_ != nullptr; }
    char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(size_t offset, const void* data, size_t size) const {
        return WriteProcessMemory(process_, At(offset), data, size, nullptr) != 0;
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return ReadProcessMemory(process_, At(offset), data, size, nullptr) != 0;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

// Sends `message` with a structure of type T that points at a text buffer right behind it, and
// gives back the text the list wrote there.
template <typename T>
std::wstring TextThroughRemote(HWND list, UINT message, WPARAM wParam, T request,
                               LPWSTR T::*textField, int T::*sizeField) {
    RemoteBuffer remote(list, sizeof(T) + kTextChars * sizeof(wchar_t));
    if (!remote.Ok()) return L"<no remote memory>";
    request.*textField = reinterpret_cast<LPWSTR>(remote.At(sizeof(T)));
    request.*sizeField = kTextChars;
    const wchar_t empty = L'\0';
    remote.Write(sizeof(T), &empty, sizeof empty);
    remote.Write(0, &request, sizeof request);
    SendMessageW(list, message, wParam, reinterpret_cast<LPARAM>(remote.At(0)));
    wchar_t text[kTextChars] = L"";
    remote.Read(sizeof(T), text, sizeof text);
    text[kTextChars - 1] = L'\0';
    return text;
}

}  // namespace

int ListViewReader::RowCount() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ListViewReader::Text(int row, int column) const {
    LVITEMW item{};
    item.iSubItem = column;
    return TextThroughRemote(list_, LVM_GETITEMTEXTW, row, item, &LVITEMW::pszText, &LVITEMW::cchTextMax);
}

std::vector<std::wstring> ListViewReader::Column(int column) const {
    std::vector<std::wstring> texts;
    for (int row = 0, rows = RowCount(); row < rows; ++row) texts.push_back(Text(row, column));
    return texts;
}

std::vector<std::wstring> ListViewReader::Headers() const {
    std::vector<std::wstring> headers;
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int column = 0; column < count && column < 64; ++column) {
        LVCOLUMNW request{};
        request.mask = LVCF_TEXT;
        headers.push_back(
            TextThroughRemote(list_, LVM_GETCOLUMNW, column, request, &LVCOLUMNW::pszText, &LVCOLUMNW::cchTextMax));
    }
    return headers;
}

int ListViewReader::SelectedRow() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool ListViewReader::Select(int row) const {
    RemoteBuffer remote(list_, sizeof(LVITEMW));
    if (!remote.Ok()) return false;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &state, sizeof state);
    return SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.At(0))) != 0;
}

}  // namespace floppex::e2e
