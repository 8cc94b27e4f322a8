#include "window/win_text.h"

#include <cstring>
#include <vector>

#include "win32/owner.h"
#include "win32/system_error.h"
#include "win32/text.h"

namespace velkin {

namespace {

// Not an Owner: closing the clipboard takes no handle.
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

}  // namespace

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
    return Utf8(std::wstring_view(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0));
}

Result PutClipboardText(HWND owner, const std::string& text) {
    ClipboardOpen clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard()) {
        return LastError();
    }
    const std::wstring wide = Wide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    void* locked = memory.Valid() ? GlobalLock(memory.Get()) : nullptr;
    if (locked == nullptr) {
        return LastError();
    }
    std::memcpy(locked, wide.c_str(), bytes);
    GlobalUnlock(memory.Get());
    if (SetClipboardData(CF_UNICODETEXT, memory.Get()) == nullptr) {
        return LastError();
    }
    memory.Release();  // the clipboard's now
    return Result::Success();
}

}  // namespace velkin
