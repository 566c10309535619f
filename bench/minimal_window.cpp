// The start-up reference for Floppex.exe: the least a Win32 program does to show a listing. A
// top-level window with a report-style list view of three columns, 33 rows filled while the window
// is still hidden, then shown; it paints from its message loop, as Floppex paints its finished
// listing. Closing the window (WM_CLOSE) ends the program.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

constexpr wchar_t kClassName[] = L"FloppexBenchMinimalWindow";
constexpr int kRows = 33;
constexpr int kListId = 1;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: {
        const HWND list = GetDlgItem(hwnd, kListId);
        if (list) MoveWindow(list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void AddColumn(HWND list, int index, const wchar_t* header, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(header);
    ListView_InsertColumn(list, index, &column);
}

void Fill(HWND list) {
    AddColumn(list, 0, L"Filename", 110);
    AddColumn(list, 1, L"Blks", 42);
    AddColumn(list, 2, L"Type", 50);
    for (int row = 0; row < kRows; ++row) {
        std::wstring name = L"ENTRY " + std::to_wstring(row);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = name.data();
        ListView_InsertItem(list, &item);
        std::wstring blocks = std::to_wstring(row + 1);
        ListView_SetItemText(list, row, 1, blocks.data());
        ListView_SetItemText(list, row, 2, const_cast<wchar_t*>(L"PRG"));
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 1;
    const HWND window = CreateWindowExW(0, kClassName, L"Minimal list", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                        CW_USEDEFAULT, 224, 289, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    RECT client{};
    GetClientRect(window, &client);
    const HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT,
                                      0, 0, client.right, client.bottom, window,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
    if (!list) return 1;
    Fill(list);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
