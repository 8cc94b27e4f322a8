// One owner for every kind of Win32 handle: closes it when the owner goes.
#pragma once

#include <windows.h>

#include <utility>

namespace velkin {

// `Close` frees a T and tells whether that worked: the Win32 functions disagree on what
// success looks like (CloseHandle gives non-zero, RegCloseKey 0, GlobalFree null), so each
// kind names a function that says it plainly. Null and INVALID_HANDLE_VALUE both mean
// "nothing owned".
template <class T, auto Close>
class Owner {
  public:
    Owner() = default;
    explicit Owner(T handle) : handle_(handle) {}
    ~Owner() { Reset(); }
    Owner(Owner&& other) noexcept : handle_(other.Release()) {}
    Owner& operator=(Owner&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;

    T Get() const { return handle_; }
    T* Out() { return &handle_; }
    bool Valid() const { return IsValid(handle_); }
    T Release() { return std::exchange(handle_, T{}); }
    void Reset(T handle = T{}) {
        const T old = std::exchange(handle_, handle);
        if (IsValid(old)) {
            Close(old);
        }
    }
    // Closes now and tells whether that worked: a file's last data may fail to land here.
    bool CloseNow() {
        const T old = Release();
        return IsValid(old) && Close(old);
    }

  private:
    static bool IsValid(T handle) {
        return handle != T{} && handle != reinterpret_cast<T>(INVALID_HANDLE_VALUE);
    }
    T handle_{};
};

namespace close {
inline bool Handle(HANDLE handle) {
    return ::CloseHandle(handle) != FALSE;
}
inline bool GdiObject(HGDIOBJ object) {
    return ::DeleteObject(object) != FALSE;
}
inline bool MemoryDc(HDC dc) {
    return ::DeleteDC(dc) != FALSE;
}
inline bool ScreenDc(HDC dc) {
    return ::ReleaseDC(nullptr, dc) == 1;
}
inline bool RegistryKey(HKEY key) {
    return ::RegCloseKey(key) == ERROR_SUCCESS;
}
inline bool GlobalMemory(HGLOBAL memory) {
    return ::GlobalFree(memory) == nullptr;
}
template <class Interface>
bool Com(Interface* object) {
    object->Release();
    return true;
}
}  // namespace close

using Handle = Owner<HANDLE, &close::Handle>;
using GdiObject = Owner<HGDIOBJ, &close::GdiObject>;
using MemoryDc = Owner<HDC, &close::MemoryDc>;
using ScreenDc = Owner<HDC, &close::ScreenDc>;  // GetDC(nullptr)
using RegistryKey = Owner<HKEY, &close::RegistryKey>;
using GlobalMemory = Owner<HGLOBAL, &close::GlobalMemory>;
template <class Interface>
using ComPtr = Owner<Interface*, &close::Com<Interface>>;

}  // namespace velkin
