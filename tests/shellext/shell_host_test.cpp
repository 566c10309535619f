// Explorer's part with FloppexShell.dll: each type's handlers found as the shell finds them, thumbnails and previews
// (listed in pictures.txt for the picture reader), bad streams, and regsvr32 /u.
#include <objbase.h>
#include <propsys.h>
#include <shlwapi.h>
#include <shobjidl.h>
#include <thumbcache.h>

#include <fstream>

#include "driver.h"
#include "shellext/handler_logic.h"

namespace floppex::e2e {
namespace {

using shellext::HandlerKind;
constexpr HandlerKind kKinds[] = {HandlerKind::Thumbnail, HandlerKind::Preview};
constexpr const wchar_t* kTies[] = {L"{e357fccd-a995-4576-b01f-234630154e96}", L"{8895b1c6-b41f-4c1c-a562-0d564250836f}"};
struct Case { const wchar_t *extension, *fixture; };
constexpr Case kCases[] = {{L".d64", L"demo.d64"}, {L".d71", L"demo.d71"}, {L".d81", L"demo.d81"},
                           {L".g64", L"demo.g64"}, {L".x64", L"demo.x64"}, {L".t64", L"two.t64"},
                           {L".tap", L"tape.tap"}, {L".prg", L"hello.prg"}, {L".p00", L"big.p00"}};

template <typename T>
T* As(IUnknown* object) {
    T* wanted = nullptr;
    return object->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&wanted)), wanted;
}

// A picture the reader checks against what `floppex-cli list` prints of listed.
void ToBeRead(const std::wstring& name, const std::wstring& listed, int side) {
    const auto unix = [](std::wstring path) { return std::replace(path.begin(), path.end(), L'\\', L'/'), path.substr(2); };
    const std::wstring folder = FolderOf(WindowsPath(FLOPPEX_E2E_WORK));
    std::wofstream((folder + L"\\pictures.txt").c_str(), std::ios::app)
        << unix(folder) << L'/' << name << L".bmp " << unix(listed) << L' ' << side << L'\n';
}

// The class id the shell finds for the extension, in one hive.
std::optional<RegistryValue> Tie(const std::wstring& extension, HandlerKind kind, HKEY root) {
    return ReadValue(L"Software\\Classes\\SystemFileAssociations\\" + extension + L"\\ShellEx\\" + kTies[kind == HandlerKind::Preview], L"", root);
}

// What the handlers wrote that is still there, in either hive.
std::vector<std::wstring> HandlerValuesLeft() {
    std::vector<std::wstring> left;
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const auto extension : shellext::kExtensions) {
            const std::wstring type = L"Software\\Classes\\SystemFileAssociations\\" + std::wstring(extension);
            if (HKEY key; !RegOpenKeyExW(root, type.c_str(), 0, KEY_READ, &key)) left.push_back(type), RegCloseKey(key);
            for (const HandlerKind kind : kKinds) {
                const std::wstring id = shellext::ClassId({kind, extension});
                if (ReadValue(L"Software\\Classes\\CLSID\\" + id, L"", root)) left.push_back(id);
                if (ReadValue(L"Software\\Microsoft\\Windows\\CurrentVersion\\PreviewHandlers", id, root)) left.push_back(id);
            }
        }
    return left;
}

IStream* FileStream(const std::wstring& path) {
    IStream* stream = nullptr;
    return SHCreateStreamOnFileEx(path.c_str(), STGM_READ, 0, FALSE, nullptr, &stream), stream;
}

IUnknown* Create(const std::wstring& classId) {
    CLSID id{};
    IUnknown* object = nullptr;
    EXPECT_TRUE(CLSIDFromString(classId.c_str(), &id) == S_OK &&
                CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)) == S_OK);
    return object;
}

// A thumbnail of `asked` pixels: its status; a bitmap as Explorer takes it (the side, at most 1024,
// 32 bits, opaque), saved as the top-down picture it must be when name is given.
HRESULT Thumbnail(IUnknown* object, IStream* stream, UINT asked, const std::wstring& name = L"") {
    IInitializeWithStream* init = As<IInitializeWithStream>(object);
    HRESULT result = init->Initialize(stream, STGM_READ);
    init->Release();
    HBITMAP bitmap = nullptr;
    WTS_ALPHATYPE alpha = WTSAT_UNKNOWN;
    IThumbnailProvider* provider = As<IThumbnailProvider>(object);
    if (SUCCEEDED(result)) result = provider->GetThumbnail(asked, &bitmap, &alpha);
    provider->Release();
    DIBSECTION dib{};
    if (result != S_OK || !GetObjectW(bitmap, sizeof dib, &dib)) return result == S_OK ? E_FAIL : result;
    const int side = int(std::min(asked, 1024u));
    EXPECT_TRUE(dib.dsBm.bmWidth == side && dib.dsBm.bmHeight == side && dib.dsBm.bmBitsPixel == 32 && alpha == WTSAT_ARGB);
    const auto* pixels = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    EXPECT_EQ(std::count_if(pixels, pixels + side * side, [](uint32_t p) { return p >> 24 != 0xFF; }), 0) << side;
    const BITMAPINFOHEADER topDown{sizeof topDown, side, -side, 1, 32, BI_RGB};
    if (!name.empty()) EXPECT_TRUE(SaveBmp(name, topDown, pixels, size_t(side) * side * 4));
    DeleteObject(bitmap);
    return result;
}

// The frame of the preview pane: takes the keys the handler hands back.
struct Frame final : IPreviewHandlerFrame {
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        return *object = iid == __uuidof(IPreviewHandlerFrame) ? this : nullptr, *object ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetWindowContext(PREVIEWHANDLERFRAMEINFO*) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG* message) override { return keys.push_back(message->wParam), S_OK; }
    std::vector<WPARAM> keys;
};

// side x side pixels of the window's client area, as it draws them.
void SaveClient(HWND window, int side, const std::wstring& name) {
    const BITMAPINFO info{{sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB}};
    void* bits = nullptr;
    HDC client = GetDC(window), memory = CreateCompatibleDC(client);
    HBITMAP bitmap = CreateDIBSection(client, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(memory, bitmap);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    BitBlt(memory, 0, 0, side, side, client, 0, 0, SRCCOPY);
    EXPECT_TRUE(SaveBmp(name, info.bmiHeader, bits, size_t(side) * side * 4));
    DeleteDC(memory), DeleteObject(bitmap), ReleaseDC(window, client);
}

// The preview in our window: scrolled to its end in a short pane, resized, saved, a key handed back, unloaded.
HRESULT Preview(IUnknown* object, IStream* stream, const std::wstring& name = L"") {
    const auto handler = As<IPreviewHandler>(object);
    const auto site = As<IObjectWithSite>(object);
    const auto init = As<IInitializeWithStream>(object);
    const auto oleWindow = As<IOleWindow>(object);
    const HWND host = CreateWindowW(L"Static", L"pane", WS_POPUP | WS_VISIBLE, 0, 0, 500, 500, nullptr, nullptr, nullptr, nullptr);
    const RECT small{0, 0, 420, 60}, whole{0, 0, 420, 420};
    Frame frame;
    site->SetSite(&frame), handler->SetWindow(host, &small);
    HRESULT result = init->Initialize(stream, STGM_READ);
    if (SUCCEEDED(result)) result = handler->DoPreview();
    HWND pane = nullptr;
    if (result == S_OK && !name.empty()) {
        EXPECT_EQ(oleWindow->GetWindow(&pane), S_OK);
        SCROLLINFO scroll{sizeof scroll, SIF_ALL};
        SendMessageW(pane, WM_VSCROLL, SB_BOTTOM, 0);
        EXPECT_TRUE(GetScrollInfo(pane, SB_VERT, &scroll) && scroll.nPos > 0 && scroll.nPos + int(scroll.nPage) == scroll.nMax + 1);
        EXPECT_EQ(handler->SetRect(&whole), S_OK);
        EXPECT_EQ(WindowRectOf(pane).bottom - WindowRectOf(pane).top, 420);
        SaveClient(pane, 400, name);
        MSG tab{pane, WM_KEYDOWN, VK_TAB};
        EXPECT_TRUE(handler->TranslateAccelerator(&tab) == S_OK && frame.keys == std::vector<WPARAM>{VK_TAB});
    }
    EXPECT_TRUE(handler->Unload() == S_OK && !(pane && IsWindow(pane)));
    site->SetSite(nullptr);
    for (IUnknown* held : std::initializer_list<IUnknown*>{init, handler, site, oleWindow}) held->Release();
    DestroyWindow(host);
    return result;
}

// Floppex.exe started from a folder holding a copy of the DLL, and closed once it has registered.
class ShellHandlers : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        EXPECT_TRUE(CopyFileW((FolderOf(WindowsPath(FLOPPEX_E2E_EXE)) + L"\\FloppexShell.dll").c_str(), Dll().c_str(), FALSE));
        Unregister(), ResetRegistry();  // none of the handlers, nothing remembered
    }
    std::wstring Dll() const { return folder_.File(L"FloppexShell.dll"); }
    void Unregister() const {
        EXPECT_EQ(AppProcess(L"C:\\windows\\system32\\regsvr32.exe", L"/s /u \"" + Dll() + L"\"").WaitForExit(), 0u);
    }
    // traced: Wine's registry trace of this start goes to stderr, where run-shell-host.sh looks for writes.
    void StartAndClose(bool traced = false) const {
        if (traced) SetEnvironmentVariableW(L"WINEDEBUG", L"trace+reg");
        AppProcess app(folder_.Exe(), L"");
        SetEnvironmentVariableW(L"WINEDEBUG", nullptr);
        ASSERT_TRUE(WaitForVisibleWindow(app.Pid(), kMainWindowClass));
        EXPECT_EQ(app.Close(), 0u);
    }
    ProgramFolder folder_;
};

// Refused the machine's classes, Floppex.exe writes the user's own (taken by hand: Wine's COM reads the machine's
// only). A start with rights serves every type machine-wide, the next writes nothing; regsvr32 /u removes both for good.
TEST_F(ShellHandlers, RegisteredAtStartTheyServeEveryTypeAndRegsvr32RemovesThemForGood) {
    SetEnvironmentVariableW(L"FLOPPEX_REFUSE_MACHINE_WRITES", L"1");
    StartAndClose();
    SetEnvironmentVariableW(L"FLOPPEX_REFUSE_MACHINE_WRITES", nullptr);
    const auto userId = Tie(L".d64", HandlerKind::Thumbnail, HKEY_CURRENT_USER);
    ASSERT_TRUE(userId && !Tie(L".d64", HandlerKind::Thumbnail, HKEY_LOCAL_MACHINE));
    const auto server = ReadValue(L"Software\\Classes\\CLSID\\" + userId->text + L"\\InprocServer32", L"", HKEY_CURRENT_USER);
    ASSERT_TRUE(server && server->text == Dll());
    const auto getClassObject =
        reinterpret_cast<decltype(&DllGetClassObject)>(GetProcAddress(LoadLibraryW(server->text.c_str()), "DllGetClassObject"));
    CLSID classId{};
    IClassFactory* factory = nullptr;
    IUnknown* object = nullptr;
    ASSERT_TRUE(getClassObject && CLSIDFromString(userId->text.c_str(), &classId) == S_OK);
    ASSERT_TRUE(getClassObject(classId, IID_IClassFactory, reinterpret_cast<void**>(&factory)) == S_OK &&
                factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)) == S_OK);
    IStream* stream = FileStream(Fixture(L"demo.d64"));
    EXPECT_EQ(Thumbnail(object, stream, 256, L"user256"), S_OK);
    ToBeRead(L"user256", Fixture(L"demo.d64"), 256);
    stream->Release(), object->Release(), factory->Release();

    StartAndClose();
    for (const auto& [extension, fixture] : kCases) {
        const auto thumbnail = Tie(extension, HandlerKind::Thumbnail, HKEY_LOCAL_MACHINE), preview = Tie(extension, HandlerKind::Preview, HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(thumbnail && preview) << extension;
        for (const UINT side : {32u, 96u, 256u, 1024u, 2560u}) {
            IUnknown* object = Create(thumbnail->text);
            IStream* stream = FileStream(Fixture(fixture));
            const std::wstring name = side >= 256 ? L"thumbnail" + std::wstring(extension + 1) + std::to_wstring(side) : L"";
            EXPECT_EQ(Thumbnail(object, stream, side, name), S_OK) << extension << side;
            ULARGE_INTEGER at{};  // a disk is read as its listing asks, not to its end
            EXPECT_TRUE(extension != std::wstring_view(L".d64") || (stream->Seek({}, STREAM_SEEK_CUR, &at), at.QuadPart < 174848));
            if (!name.empty()) ToBeRead(name, Fixture(fixture), int(std::min(side, 1024u)));
            stream->Release(), object->Release();
        }
        IUnknown* object = Create(preview->text);
        IStream* stream = FileStream(Fixture(fixture));
        EXPECT_EQ(Preview(object, stream, L"preview" + std::wstring(extension + 1)), S_OK) << extension;
        ToBeRead(L"preview" + std::wstring(extension + 1), Fixture(fixture), 400);
        stream->Release(), object->Release();
    }
    EXPECT_EQ(reinterpret_cast<decltype(&DllCanUnloadNow)>(GetProcAddress(GetModuleHandleW(L"FloppexShell.dll"), "DllCanUnloadNow"))(), S_OK);
    StartAndClose(true);  // everything stored as it would be written: nothing written

    Unregister();
    EXPECT_EQ(HandlerValuesLeft(), std::vector<std::wstring>{});
    StartAndClose();
    EXPECT_TRUE(ReadValue(L"Software\\Classes\\FloppexD64", L""));
    EXPECT_EQ(HandlerValuesLeft(), std::vector<std::wstring>{});
}

// A stream of which every call fails.
#define REFUSE(method, ...) STDMETHODIMP method(__VA_ARGS__) override { return STG_E_READFAULT; }
struct FailingStream final : IStream {
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    REFUSE(Read, void*, ULONG, ULONG*) REFUSE(Write, const void*, ULONG, ULONG*) REFUSE(Seek, LARGE_INTEGER, DWORD, ULARGE_INTEGER*)
    REFUSE(SetSize, ULARGE_INTEGER) REFUSE(CopyTo, IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) REFUSE(Commit, DWORD)
    REFUSE(Revert) REFUSE(LockRegion, ULARGE_INTEGER, ULARGE_INTEGER, DWORD) REFUSE(UnlockRegion, ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
    REFUSE(Stat, STATSTG*, DWORD) REFUSE(Clone, IStream**)
};

// Cut, a disk is refused by its size and a tape lists what it holds. What is empty, fails every call or claims
// 1 GB (a D64 at the start of a sparse file) is refused after at most what the type may hold has been read.
TEST_F(ShellHandlers, BadStreamsGiveAnErrorOrAPictureAndAreReadBounded) {
    StartAndClose();
    enum How { Cut, Unreadable, Huge };
    struct { const char* what; const wchar_t *extension, *fixture; size_t cut; How how; bool refused; } cases[] = {
        {"0 bytes", L".d64", L"demo.d64", 0, Cut, true},
        {"disk cut in the BAM", L".d64", L"demo.d64", 0x16500 + 40, Cut, true},
        {"tape cut in its directory", L".t64", L"two.t64", 70, Cut, false},
        {"disk claiming 1 GB", L".d64", L"demo.d64", 0, Huge, true},
        {"stream failing every call", L".d64", L"demo.d64", 0, Unreadable, true}};
    const std::wstring path = folder_.File(L"huge");
    WriteWholeFile(path, ReadWholeFile(Fixture(L"demo.d64")));
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(SetFilePointerEx(file, {.QuadPart = 1 << 30}, nullptr, FILE_BEGIN) && SetEndOfFile(file) && CloseHandle(file));
    for (const auto& bad : cases)
        for (const HandlerKind kind : kKinds) {
            const std::string bytes = ReadWholeFile(Fixture(bad.fixture)).substr(0, bad.cut);
            FailingStream failing;
            IStream* stream = bad.how == Unreadable ? &failing
                              : bad.how == Huge     ? FileStream(path)
                                                    : SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), UINT(bytes.size()));
            IUnknown* object = Create(shellext::ClassId({kind, bad.extension}));
            const HRESULT result = kind == HandlerKind::Thumbnail ? Thumbnail(object, stream, 256) : Preview(object, stream);
            EXPECT_TRUE(bad.refused ? FAILED(result) : result == S_OK) << bad.what << " " << std::hex << result;
            ULARGE_INTEGER read{};
            stream->Seek({}, STREAM_SEEK_CUR, &read);
            EXPECT_LE(read.QuadPart, shellext::StreamByteLimit(bad.extension)) << bad.what;
            stream->Release(), object->Release();
        }
}

}  // namespace
}  // namespace floppex::e2e
