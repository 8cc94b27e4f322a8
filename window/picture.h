// The window's background picture, decoded once at the window's DPI.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include "win32/owner.h"

namespace velkin {

class BackgroundPicture {
  public:
    // Decodes the JPEG resource `id` and scales it by dpi/96, the picture having been made for
    // 96 DPI. Without it the window still works, on its plain fill colour.
    void Load(int id, int dpi);
    // Paints the picture at the top-left corner of `dc` with one BitBlt; gives its size, 0 x 0
    // when there is none.
    SIZE Paint(HDC dc) const;

  private:
    // At 96 DPI the decoded bitmap itself is painted, so it is kept; otherwise only the scaled
    // copy is. Declared in this order so that the DC goes before the bitmaps selected into it.
    ComPtr<IPicture> decoded_;
    GdiObject scaled_;
    MemoryDc dc_;
    SIZE size_ = {0, 0};
};

}  // namespace velkin
