#include "win_text.h"

#include <cstring>
#include <vector>

#include "system_reason.h"

namespace velkin {

namespace {

class ClipboardOpen {
  public:
    explicit ClipboardOpen(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardOpen() {
        if (open_) {
            CloseClipboard();
        }
    }
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;
    bool IsOpen() const { return open_; }

  private:
    bool open_;
};

// Frees the memory unless the clipboard took it over.
class GlobalOwner {
  public:
    explicit GlobalOwner(HGLOBAL memory) : memory_(memory) {}
    ~GlobalOwner() {
        if (memory_ != nullptr) {
            GlobalFree(memory_);
        }
    }
    GlobalOwner(const GlobalOwner&) = delete;
    GlobalOwner& operator=(const GlobalOwner&) = delete;
    HGLOBAL Get() const { return memory_; }
    void Release() { memory_ = nullptr; }

  private:
    HGLOBAL memory_;
};

}  // namespace

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    int got = GetWindowTextA(hwnd, buffer.data(), length + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

bool PutClipboardText(HWND owner, const std::string& text, std::string& reason) {
    ClipboardOpen clipboard(owner);
    if (!clipboard.IsOpen()) {
        reason = SystemErrorText(GetLastError());
        return false;
    }
    if (!EmptyClipboard()) {
        reason = SystemErrorText(GetLastError());
        return false;
    }
    GlobalOwner memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (memory.Get() == nullptr) {
        reason = SystemErrorText(GetLastError());
        return false;
    }
    void* bytes = GlobalLock(memory.Get());
    if (bytes == nullptr) {
        reason = SystemErrorText(GetLastError());
        return false;
    }
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(memory.Get());
    if (SetClipboardData(CF_TEXT, memory.Get()) == nullptr) {
        reason = SystemErrorText(GetLastError());
        return false;
    }
    memory.Release();
    return true;
}

}  // namespace velkin
