#pragma once

#include <windows.h>

#include <utility>

// Owners for the GDI objects the window paints with, so no path can leak one.
namespace gdi {

template <typename Handle> class Object {
public:
    Object() = default;
    explicit Object(Handle handle)
        : handle_(handle)
    {
    }
    ~Object() { Reset(); }
    Object(Object&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr))
    {
    }
    Object& operator=(Object&& other) noexcept
    {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset()
    {
        if (handle_)
            DeleteObject(handle_);
        handle_ = nullptr;
    }

private:
    Handle handle_ = nullptr;
};

using Font = Object<HFONT>;
using Pen = Object<HPEN>;
using Bitmap = Object<HBITMAP>;

// Selects an object into a DC for the lifetime of this guard.
class Select {
public:
    Select(HDC dc, HGDIOBJ object)
        : dc_(dc)
        , previous_(SelectObject(dc, object))
    {
    }
    ~Select() { SelectObject(dc_, previous_); }
    Select(const Select&) = delete;
    Select& operator=(const Select&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory DC compatible with another DC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith)
        : dc_(CreateCompatibleDC(compatibleWith))
    {
    }
    ~MemoryDC() { DeleteDC(dc_); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// BeginPaint and EndPaint as one scope.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd)
        : hwnd_(hwnd)
    {
        dc_ = BeginPaint(hwnd, &ps_);
    }
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_ {};
    HDC dc_;
};

} // namespace gdi
