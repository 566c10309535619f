// Drags onto a point of the screen with OLE's own drag loop and lets go at once, as a person dragging from another
// program would. `drag_source X Y N PATH...` drags the shell's file list of the paths, made N names long with text
// files when N is larger; `drag_source X Y failing` drags data whose every call fails. The exit code is the effect the
// target reported, 0x100 when the drag failed.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

template <class Interface>
struct OnStack : Interface {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface)) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

struct FileList final : OnStack<IDataObject> {
    std::vector<BYTE> block;  // DROPFILES, then the UTF-16 names, each ended by 0, and a final 0
    bool failing = false;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (const HRESULT offered = QueryGetData(format); offered != S_OK) return offered;
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, block.size());
        std::memcpy(GlobalLock(copy), block.data(), block.size());
        GlobalUnlock(copy);
        *medium = {TYMED_HGLOBAL, {.hGlobal = copy}, nullptr};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (failing) return E_FAIL;
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return failing || direction != DATADIR_GET ? E_FAIL : SHCreateStdEnumFmtEtc(1, &format, formats);
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_FAIL; }
};

struct LetGo final : OnStack<IDropSource> {
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return DRAGDROP_S_DROP; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    FileList data;
    data.failing = std::wstring(argv[3]) == L"failing";
    std::vector<std::wstring> files(argv + 4, argv + count);
    if (!data.failing) files.resize(std::max<size_t>(files.size(), size_t(_wtoi(argv[3]))), L"C:\\more\\notes.txt");
    const DROPFILES header{sizeof header, {}, FALSE, TRUE};
    data.block.assign(reinterpret_cast<const BYTE*>(&header), reinterpret_cast<const BYTE*>(&header + 1));
    for (const std::wstring& file : files)
        data.block.insert(data.block.end(), reinterpret_cast<const BYTE*>(file.c_str()),
                          reinterpret_cast<const BYTE*>(file.c_str() + file.size() + 1));
    data.block.insert(data.block.end(), sizeof(wchar_t), 0);
    OleInitialize(nullptr);
    SetCursorPos(_wtoi(argv[1]), _wtoi(argv[2]));
    LetGo source;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    // Ended at once: under Wine the usual exit can spin for minutes after a large drag.
    TerminateProcess(GetCurrentProcess(), SUCCEEDED(result) ? effect : 0x100);
    return 0;
}
