#pragma once
// One owner type per handle kind: the closer is fixed by the type, copying is deleted, moving allowed.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace kpv::rt {

template <typename Handle, typename Traits>
class UniqueHandleT {
public:
    UniqueHandleT() = default;
    explicit UniqueHandleT(Handle h) : h_(h) {}
    ~UniqueHandleT() { reset(); }
    UniqueHandleT(const UniqueHandleT&) = delete;
    UniqueHandleT& operator=(const UniqueHandleT&) = delete;
    UniqueHandleT(UniqueHandleT&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    UniqueHandleT& operator=(UniqueHandleT&& o) noexcept {
        if (this != &o) { reset(); h_ = std::exchange(o.h_, Traits::Invalid()); }
        return *this;
    }
    Handle get() const { return h_; }
    Handle* put() { reset(); return &h_; }
    Handle release() { return std::exchange(h_, Traits::Invalid()); }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    void reset(Handle h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }
private:
    Handle h_ = Traits::Invalid();
};

struct HKeyTraits { static HKEY Invalid() { return nullptr; } static void Close(HKEY h) { RegCloseKey(h); } };
struct KernelHandleTraits { static HANDLE Invalid() { return nullptr; } static void Close(HANDLE h) { CloseHandle(h); } };
struct FileHandleTraits { static HANDLE Invalid() { return INVALID_HANDLE_VALUE; } static void Close(HANDLE h) { CloseHandle(h); } };
struct MemoryDcTraits { static HDC Invalid() { return nullptr; } static void Close(HDC h) { DeleteDC(h); } };
struct BitmapTraits { static HBITMAP Invalid() { return nullptr; } static void Close(HBITMAP h) { DeleteObject(h); } };
struct FontTraits { static HFONT Invalid() { return nullptr; } static void Close(HFONT h) { DeleteObject(h); } };
struct BrushTraits { static HBRUSH Invalid() { return nullptr; } static void Close(HBRUSH h) { DeleteObject(h); } };
struct HGlobalTraits { static HGLOBAL Invalid() { return nullptr; } static void Close(HGLOBAL h) { GlobalFree(h); } };
struct CoTaskMemTraits { static void* Invalid() { return nullptr; } static void Close(void* p) { CoTaskMemFree(p); } };
struct HLocalTraits { static HLOCAL Invalid() { return nullptr; } static void Close(HLOCAL h) { LocalFree(h); } };
struct IconTraits { static HICON Invalid() { return nullptr; } static void Close(HICON h) { DestroyIcon(h); } };

using UniqueHKey = UniqueHandleT<HKEY, HKeyTraits>;
using UniqueHandle = UniqueHandleT<HANDLE, KernelHandleTraits>;
using UniqueFile = UniqueHandleT<HANDLE, FileHandleTraits>;
using UniqueMemoryDc = UniqueHandleT<HDC, MemoryDcTraits>;
using UniqueBitmap = UniqueHandleT<HBITMAP, BitmapTraits>;
using UniqueFont = UniqueHandleT<HFONT, FontTraits>;
using UniqueBrush = UniqueHandleT<HBRUSH, BrushTraits>;
using UniqueHGlobal = UniqueHandleT<HGLOBAL, HGlobalTraits>;
using UniqueCoTaskMem = UniqueHandleT<void*, CoTaskMemTraits>;  // PIDLs and shell strings
using UniqueIcon = UniqueHandleT<HICON, IconTraits>;
using UniqueHLocal = UniqueHandleT<HLOCAL, HLocalTraits>;  // buffers the system allocates for us

// A window's DC remembers its window, so ReleaseDC gets the right one.
class WindowDc {
public:
    WindowDc() = default;
    WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    static WindowDc Get(HWND window) { return WindowDc(window, GetDC(window)); }
    static WindowDc GetWindow(HWND window) { return WindowDc(window, GetWindowDC(window)); }
    ~WindowDc() { reset(); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& o) noexcept : window_(o.window_), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& o) noexcept {
        if (this != &o) { reset(); window_ = o.window_; dc_ = std::exchange(o.dc_, nullptr); }
        return *this;
    }
    HDC get() const { return dc_; }
    // Hands the DC to a callee that releases it itself.
    HDC release() { return std::exchange(dc_, nullptr); }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset() { if (dc_) ReleaseDC(window_, dc_); dc_ = nullptr; }
private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// An object selected into a DC; the previous one goes back when this ends.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { if (dc_ && previous_) SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    HGDIOBJ previous() const { return previous_; }
private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A locked global memory block; unlocked when this ends.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL h) : h_(h), p_(h ? GlobalLock(h) : nullptr) {}
    ~GlobalLockGuard() { if (p_) GlobalUnlock(h_); }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    void* get() const { return p_; }
private:
    HGLOBAL h_;
    void* p_;
};

// A COM interface pointer; Release when it ends.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept { if (this != &o) { reset(); p_ = std::exchange(o.p_, nullptr); } return *this; }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** put() { reset(); return &p_; }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() { if (p_) { p_->Release(); p_ = nullptr; } }
private:
    T* p_ = nullptr;
};

// COM initialised for this thread for the object's lifetime: a single-threaded apartment for a thread
// with windows, the multithreaded one for a worker, which has no message loop to serve an apartment.
class ComApartment {
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED)
        : ok_(SUCCEEDED(CoInitializeEx(nullptr, model | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() { if (ok_) CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
private:
    bool ok_;
};

}  // namespace kpv::rt
