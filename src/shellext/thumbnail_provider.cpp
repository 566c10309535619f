#include "shellext/thumbnail_provider.h"

#include <propsys.h>
#include <thumbcache.h>

#include <new>
#include <vector>

#include "shellext/com_object.h"
#include "shellext/directory_pixels_logic.h"
#include "shellext/handler_logic.h"
#include "shellext/stream_screen.h"

namespace floppex::shellext {

namespace {

// side x side pixels of the picture as a 32-bit top-down DIB section.
HRESULT DirectoryBitmap(const std::vector<picture::ScreenRow>& screen, int side, HBITMAP& bitmap) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB};
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return E_OUTOFMEMORY;
    const size_t count = static_cast<size_t>(side) * static_cast<size_t>(side);
    ArgbRows(screen, picture::ThumbnailSize(side), 0, side, {static_cast<uint32_t*>(bits), count});
    return S_OK;
}

class ThumbnailProvider : public IThumbnailProvider, public StreamInitialized {
public:
    explicit ThumbnailProvider(std::wstring_view extension) : extension_(extension) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IThumbnailProvider))
            return Answer(static_cast<IThumbnailProvider*>(this), object);
        return Answer(iid == __uuidof(IInitializeWithStream) ? static_cast<IInitializeWithStream*>(this) : nullptr, object);
    }

    STDMETHODIMP GetThumbnail(UINT asked, HBITMAP* bitmap, WTS_ALPHATYPE* alpha) override {
        if (!bitmap || !alpha) return E_POINTER;
        *bitmap = nullptr;
        const auto side = ThumbnailSide(asked);
        if (!side) return E_INVALIDARG;
        if (!stream_) return E_UNEXPECTED;
        try {
            std::vector<picture::ScreenRow> screen;
            if (const HRESULT result = ReadDirectoryScreen(stream_, extension_, screen); FAILED(result)) return result;
            *alpha = WTSAT_ARGB;
            return DirectoryBitmap(screen, *side, *bitmap);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

private:
    std::wstring_view extension_;
};

}  // namespace

IUnknown* NewThumbnailProvider(std::wstring_view extension) {
    return static_cast<IThumbnailProvider*>(new (std::nothrow) Counted<ThumbnailProvider>(extension));
}

}  // namespace floppex::shellext
