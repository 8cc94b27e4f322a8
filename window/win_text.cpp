#include "win_text.h"

#include <cstring>
#include <vector>

#include "owner.h"
#include "system_error.h"

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
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    int got = GetWindowTextA(hwnd, buffer.data(), length + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

Result PutClipboardText(HWND owner, const std::string& text) {
    ClipboardOpen clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard()) {
        return LastError();
    }
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    void* bytes = memory.Valid() ? GlobalLock(memory.Get()) : nullptr;
    if (bytes == nullptr) {
        return LastError();
    }
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(memory.Get());
    if (SetClipboardData(CF_TEXT, memory.Get()) == nullptr) {
        return LastError();
    }
    memory.Release();  // the clipboard's now
    return Result::Success();
}

}  // namespace velkin
