#pragma once
// What the DLL's objects share: a reference count with the module's object count, QueryInterface's
// answer, and the handlers' stream.
#include <windows.h>
#include <propsys.h>

#include <utility>

#include "shellext/module_count.h"

namespace floppex::shellext {

// An object with its reference count, made with one reference, counted among the module's objects
// while it lives and deleted at its last Release.
template <typename Object>
class Counted final : public Object {
public:
    template <typename... Args>
    explicit Counted(Args&&... args) : Object(std::forward<Args>(args)...) { ObjectMade(); }
    ~Counted() { ObjectGone(); }

    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }

private:
    LONG references_ = 1;
};

// What QueryInterface gives back: the interface found, with a reference, or E_NOINTERFACE.
inline HRESULT Answer(IUnknown* found, void** object) {
    *object = found;
    if (!found) return E_NOINTERFACE;
    found->AddRef();
    return S_OK;
}

// The handlers' IInitializeWithStream: the stream is kept until Unload or the last Release.
class StreamInitialized : public IInitializeWithStream {
public:
    STDMETHODIMP Initialize(IStream* stream, DWORD) override {
        if (!stream) return E_INVALIDARG;
        if (stream_) return HRESULT_FROM_WIN32(ERROR_ALREADY_INITIALIZED);
        stream_ = stream;
        stream_->AddRef();
        return S_OK;
    }

protected:
    ~StreamInitialized() { ForgetStream(); }
    void ForgetStream() {
        if (stream_) stream_->Release();
        stream_ = nullptr;
    }

    IStream* stream_ = nullptr;
};

}  // namespace floppex::shellext
