#include "shellext/preview_handler.h"

#include <ocidl.h>
#include <propsys.h>
#include <shobjidl.h>

#include <algorithm>
#include <new>
#include <vector>

#include "shellext/com_object.h"
#include "shellext/directory_pixels_logic.h"
#include "shellext/handler_logic.h"
#include "shellext/module_count.h"
#include "shellext/stream_screen.h"

namespace floppex::shellext {

namespace {

constexpr wchar_t kClassName[] = L"FloppexShellPreview";

// The picture in a child window of the pane, at the scale its width allows, scrolled by pixels.
class PreviewWindow {
public:
    explicit PreviewWindow(std::vector<picture::ScreenRow> screen) : screen_(std::move(screen)) {}

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<PreviewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) switch (message) {
                case WM_SIZE: self->Layout(window); return 0;
                case WM_PAINT: self->Paint(window); return 0;
                case WM_ERASEBKGND: return 1;
                case WM_VSCROLL: self->Scroll(window, LOWORD(wParam)); return 0;
                case WM_MOUSEWHEEL:
                    self->ScrollBy(window, -GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3 * self->Line());
                    return 0;
                case WM_KEYDOWN: if (self->Key(window, wParam)) return 0; break;
                case WM_NCDESTROY: SetWindowLongPtrW(window, GWLP_USERDATA, 0); break;
            }
        return DefWindowProcW(window, message, wParam, lParam);
    }

private:
    int Line() const { return 8 * size_.scale; }
    int Page(HWND window) const {
        RECT client{};
        GetClientRect(window, &client);
        return std::max(1L, client.bottom);
    }

    void Layout(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        size_ = picture::ScaledSize(static_cast<int>(screen_.size()), PreviewScale(client.right));
        ScrollBy(window, 0);
    }

    void ScrollBy(HWND window, int pixels) {
        const int page = Page(window);
        top_ = std::clamp(top_ + pixels, 0, std::max(0, size_.height - page));
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, size_.height - 1,
                        static_cast<UINT>(page), top_};
        SetScrollInfo(window, SB_VERT, &info, TRUE);
        InvalidateRect(window, nullptr, FALSE);
    }

    void Scroll(HWND window, WORD request) {
        SCROLLINFO info{sizeof info, SIF_TRACKPOS};
        GetScrollInfo(window, SB_VERT, &info);
        const int page = Page(window);
        switch (request) {
            case SB_LINEUP: ScrollBy(window, -Line()); break;
            case SB_LINEDOWN: ScrollBy(window, Line()); break;
            case SB_PAGEUP: ScrollBy(window, -page); break;
            case SB_PAGEDOWN: ScrollBy(window, page); break;
            case SB_TOP: ScrollBy(window, -size_.height); break;
            case SB_BOTTOM: ScrollBy(window, size_.height); break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: ScrollBy(window, info.nTrackPos - top_); break;
        }
    }

    bool Key(HWND window, WPARAM key) {
        const WORD requests[][2] = {{VK_UP, SB_LINEUP}, {VK_DOWN, SB_LINEDOWN}, {VK_PRIOR, SB_PAGEUP},
                                    {VK_NEXT, SB_PAGEDOWN}, {VK_HOME, SB_TOP}, {VK_END, SB_BOTTOM}};
        for (const auto& [vk, request] : requests)
            if (key == vk) return Scroll(window, request), true;
        return false;
    }

    void Paint(HWND window) {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(window, &paint);
        const int width = paint.rcPaint.right - paint.rcPaint.left, height = paint.rcPaint.bottom - paint.rcPaint.top;
        if (width > 0 && height > 0) {
            // From the client's left edge, so that the picture's columns stay in place.
            const int right = paint.rcPaint.right;
            std::vector<uint32_t> pixels(static_cast<size_t>(right) * static_cast<size_t>(height));
            ArgbRows(screen_, size_, top_ + paint.rcPaint.top, right, pixels);
            BITMAPINFO info{};
            info.bmiHeader = {sizeof(BITMAPINFOHEADER), right, -height, 1, 32, BI_RGB};
            SetDIBitsToDevice(dc, 0, paint.rcPaint.top, right, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
        }
        EndPaint(window, &paint);
    }

    std::vector<picture::ScreenRow> screen_;
    picture::PictureSize size_;
    int top_ = 0;
};

class PreviewHandler : public IPreviewHandler, public StreamInitialized, public IObjectWithSite, public IOleWindow {
public:
    explicit PreviewHandler(std::wstring_view extension) : extension_(extension) {}
    PreviewHandler(const PreviewHandler&) = delete;
    ~PreviewHandler() {
        Unload();
        SetSite(nullptr);
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IPreviewHandler)) return Answer(static_cast<IPreviewHandler*>(this), object);
        if (iid == __uuidof(IInitializeWithStream)) return Answer(static_cast<IInitializeWithStream*>(this), object);
        if (iid == __uuidof(IObjectWithSite)) return Answer(static_cast<IObjectWithSite*>(this), object);
        return Answer(iid == __uuidof(IOleWindow) ? static_cast<IOleWindow*>(this) : nullptr, object);
    }

    STDMETHODIMP SetWindow(HWND parent, const RECT* rect) override {
        if (!parent || !rect) return E_INVALIDARG;
        parent_ = parent, rect_ = *rect;
        if (window_) SetParent(window_, parent_), Place();
        return S_OK;
    }
    STDMETHODIMP SetRect(const RECT* rect) override {
        if (!rect) return E_INVALIDARG;
        rect_ = *rect;
        Place();
        return S_OK;
    }
    STDMETHODIMP DoPreview() override {
        if (window_) return S_OK;
        if (!stream_ || !parent_) return E_UNEXPECTED;
        try {
            std::vector<picture::ScreenRow> screen;
            if (const HRESULT result = ReadDirectoryScreen(stream_, extension_, screen); FAILED(result)) return result;
            picture_ = new PreviewWindow(std::move(screen));
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        const WNDCLASSW windowClass{CS_HREDRAW | CS_VREDRAW, PreviewWindow::Procedure, 0, 0, ThisModule(), nullptr,
                                    LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr, kClassName};
        RegisterClassW(&windowClass);  // by the first preview; later ones find it registered
        window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VSCROLL | WS_VISIBLE, rect_.left, rect_.top,
                                  rect_.right - rect_.left, rect_.bottom - rect_.top, parent_, nullptr, ThisModule(), picture_);
        if (window_) return S_OK;
        const HRESULT failure = HRESULT_FROM_WIN32(GetLastError());
        delete picture_;
        picture_ = nullptr;
        return failure;
    }
    STDMETHODIMP Unload() override {
        if (window_) DestroyWindow(window_);
        window_ = nullptr;
        delete picture_;
        picture_ = nullptr;
        ForgetStream();
        return S_OK;
    }
    STDMETHODIMP SetFocus() override {
        if (window_) ::SetFocus(window_);
        return S_OK;
    }
    STDMETHODIMP QueryFocus(HWND* focus) override {
        if (!focus) return E_INVALIDARG;
        *focus = GetFocus();
        return *focus ? S_OK : HRESULT_FROM_WIN32(GetLastError());
    }
    // The keys the pane does not use go back to the frame, which may be waiting for them.
    STDMETHODIMP TranslateAccelerator(MSG* message) override {
        IPreviewHandlerFrame* frame = nullptr;
        if (!site_ || FAILED(site_->QueryInterface(__uuidof(IPreviewHandlerFrame), reinterpret_cast<void**>(&frame))))
            return S_FALSE;
        const HRESULT result = frame->TranslateAccelerator(message);
        frame->Release();
        return result;
    }

    STDMETHODIMP SetSite(IUnknown* site) override {
        if (site_) site_->Release();
        site_ = site;
        if (site_) site_->AddRef();
        return S_OK;
    }
    STDMETHODIMP GetSite(REFIID iid, void** site) override {
        if (!site) return E_POINTER;
        *site = nullptr;
        return site_ ? site_->QueryInterface(iid, site) : E_FAIL;
    }

    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window) return E_INVALIDARG;
        *window = window_ ? window_ : parent_;
        return *window ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
    void Place() {
        if (window_) MoveWindow(window_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, TRUE);
    }

    std::wstring_view extension_;
    IUnknown* site_ = nullptr;
    HWND parent_ = nullptr, window_ = nullptr;
    RECT rect_{};
    PreviewWindow* picture_ = nullptr;
};

}  // namespace

IUnknown* NewPreviewHandler(std::wstring_view extension) {
    return static_cast<IPreviewHandler*>(new (std::nothrow) Counted<PreviewHandler>(extension));
}

void ForgetPreviewClass() { UnregisterClassW(kClassName, ThisModule()); }

}  // namespace floppex::shellext
