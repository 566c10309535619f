// The contents list as an OLE drop target. While a drag passes over it, it accepts only a file
// list whose first file it can open; a drop opens that file. Whatever fails while the dragged
// data is read ends the drag or drop quietly.
#include "open/drop_target.h"

#include <ole2.h>
#include <shlobj.h>

#include <optional>
#include <span>
#include <string>

#include "open/file_choice_logic.h"
#include "window/message_box.h"

namespace floppex {

namespace {

enum class FileListOffer { Offered, NotOffered, Failed };

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

FileListOffer QueryFileList(IDataObject* data) {
    FORMATETC format = FileListFormat();
    const HRESULT result = data->QueryGetData(&format);
    if (result == S_OK) return FileListOffer::Offered;
    switch (result) {
    case S_FALSE:
    case DV_E_FORMATETC:
    case DV_E_CLIPFORMAT:
    case DV_E_TYMED:
    case DV_E_DVASPECT:
    case DV_E_LINDEX: return FileListOffer::NotOffered;
    default: return FileListOffer::Failed;
    }
}

std::wstring FromCodePage(const std::string& name) {
    const int length = MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), length);
    return wide;
}

// The file list's first path, read from the block itself within its size, so a malformed block
// cannot lead the reading astray.
std::optional<std::wstring> ReadFirstPath(IDataObject* data) {
    FORMATETC format = FileListFormat();
    STGMEDIUM medium{};
    if (data->GetData(&format, &medium) != S_OK) return std::nullopt;
    std::optional<std::wstring> path;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        const SIZE_T size = GlobalSize(medium.hGlobal);
        if (const void* block = GlobalLock(medium.hGlobal)) {
            if (const auto name = FirstDroppedName({static_cast<const std::byte*>(block), size}))
                path = name->wide ? name->wideName : FromCodePage(name->codePageName);
            GlobalUnlock(medium.hGlobal);
        }
    }
    ReleaseStgMedium(&medium);
    return path;
}

// A copy, never a move: the shell must not remove the file it lent us.
DWORD AcceptedEffect(DWORD offered) { return (offered & DROPEFFECT_COPY) ? DROPEFFECT_COPY : offered; }

class ListDropTarget final : public IDropTarget {
public:
    ListDropTarget(MainWindow& window, RequestHandler handOn) : window_(window), handOn_(handOn) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        accepted_ = data && WouldOpen(data);
        return DragOver(0, {}, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        if (effect) *effect = accepted_ ? AcceptedEffect(*effect) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        accepted_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        const DWORD offered = effect ? *effect : DROPEFFECT_NONE;
        if (effect) *effect = DROPEFFECT_NONE;
        accepted_ = false;
        if (!data) return S_OK;
        const FileListOffer offer = QueryFileList(data);
        if (offer == FileListOffer::Failed) return S_OK;
        std::optional<std::wstring> first;
        if (offer == FileListOffer::Offered && !(first = ReadFirstPath(data))) return S_OK;
        switch (JudgeDrop(offer == FileListOffer::Offered, first.value_or(L""))) {
        case DropOutcome::Open:
            if (effect) *effect = AcceptedEffect(offered);
            handOn_(window_, *first);
            break;
        case DropOutcome::DataTypeNotSupported: Tell(window_.hwnd, L"Data Type not supported"); break;
        case DropOutcome::FileNotSupported: Tell(window_.hwnd, L"File not supported"); break;
        }
        return S_OK;
    }

private:
    static bool WouldOpen(IDataObject* data) {
        if (QueryFileList(data) != FileListOffer::Offered) return false;
        const auto first = ReadFirstPath(data);
        return first && JudgeDrop(true, *first) == DropOutcome::Open;
    }

    MainWindow& window_;
    RequestHandler handOn_;
    LONG references_ = 1;
    bool accepted_ = false;
};

}  // namespace

void AcceptListDrops(MainWindow& window, RequestHandler handOn) {
    if (window.acceptsDrops || !window.lvGame || FAILED(OleInitialize(nullptr))) return;
    auto* target = new ListDropTarget(window, handOn);
    RegisterDragDrop(window.lvGame, target);  // holds its own reference while registered
    target->Release();
    window.acceptsDrops = true;
}

void StopListDrops(MainWindow& window) {
    if (!window.acceptsDrops) return;
    window.acceptsDrops = false;
    if (window.lvGame) RevokeDragDrop(window.lvGame);
    OleUninitialize();
}

}  // namespace floppex
