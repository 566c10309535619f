// FloppexShell.dll's entry points: COM's class objects and unloading, and regsvr32's registration.
#include <windows.h>
#include <olectl.h>
#include <shlobj.h>

#include <new>

#include "shellext/com_object.h"
#include "shellext/handler_logic.h"
#include "shellext/handler_registration.h"
#include "shellext/module_count.h"
#include "shellext/preview_handler.h"
#include "shellext/thumbnail_provider.h"

namespace floppex::shellext {

namespace {

HMODULE module = nullptr;
LONG objects = 0;

// Makes the handler of one class id.
class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(const Handler& handler) : handler_(handler) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        return Answer(iid == __uuidof(IUnknown) || iid == __uuidof(IClassFactory) ? this : nullptr, object);
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        IUnknown* made = handler_.kind == HandlerKind::Thumbnail ? NewThumbnailProvider(handler_.extension)
                                                                 : NewPreviewHandler(handler_.extension);
        if (!made) return E_OUTOFMEMORY;
        const HRESULT result = made->QueryInterface(iid, object);
        made->Release();
        return result;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        lock ? ObjectMade() : ObjectGone();
        return S_OK;
    }

private:
    Handler handler_;
};

// Explorer is told once that thumbnails and previews changed.
void TellExplorer() { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }

}  // namespace

void ObjectMade() { InterlockedIncrement(&objects); }
void ObjectGone() { InterlockedDecrement(&objects); }
bool NoObjects() { return InterlockedCompareExchange(&objects, 0, 0) == 0; }
HMODULE ThisModule() { return module; }

}  // namespace floppex::shellext

using namespace floppex::shellext;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) module = instance, DisableThreadLibraryCalls(instance);
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    wchar_t text[40] = L"";
    const auto handler = StringFromGUID2(classId, text, 40) ? HandlerOf(text) : std::nullopt;
    if (!handler) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) Counted<ClassFactory>(*handler);
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

// With no object left, no preview window is left either: the class goes before COM unloads the DLL
// (not in DllMain, where user32 must not be called).
STDAPI DllCanUnloadNow() {
    if (!NoObjects()) return S_FALSE;
    ForgetPreviewClass();
    return S_OK;
}

// regsvr32 asks for the handlers: written for this DLL, and Floppex.exe writes them again at start.
STDAPI DllRegisterServer() {
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return SELFREG_E_CLASS;
    RememberRemoval(false);
    RegisterHandlers(path);
    TellExplorer();
    return S_OK;
}

// regsvr32 /u: every value removed, and Floppex.exe writes none again until regsvr32 asks.
STDAPI DllUnregisterServer() {
    UnregisterHandlers();
    RememberRemoval(true);
    TellExplorer();
    return S_OK;
}
