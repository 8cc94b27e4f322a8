// One owner for every kind of Win32 handle: closes it when the owner goes.
#pragma once

#include <windows.h>

#include <utility>

namespace velkin {

// `Close` is the function that frees a T (CloseHandle, DeleteObject, RegCloseKey, ...).
// Null and INVALID_HANDLE_VALUE both mean "nothing owned".
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
        return IsValid(old) && Close(old) != 0;
    }

  private:
    static bool IsValid(T handle) {
        return handle != T{} && handle != reinterpret_cast<T>(INVALID_HANDLE_VALUE);
    }
    T handle_{};
};

template <class Interface>
void ReleaseCom(Interface* object) {
    object->Release();
}

inline int ReleaseScreenDc(HDC dc) {
    return ::ReleaseDC(nullptr, dc);
}

using Handle = Owner<HANDLE, &::CloseHandle>;
using GdiObject = Owner<HGDIOBJ, &::DeleteObject>;
using MemoryDc = Owner<HDC, &::DeleteDC>;
using ScreenDc = Owner<HDC, &ReleaseScreenDc>;  // GetDC(nullptr)
using RegistryKey = Owner<HKEY, &::RegCloseKey>;
using GlobalMemory = Owner<HGLOBAL, &::GlobalFree>;
template <class Interface>
using ComPtr = Owner<Interface*, &ReleaseCom<Interface>>;

}  // namespace velkin
