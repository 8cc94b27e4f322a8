#include <windows.h>

#include "layout.h"

namespace velkin {

int ScaleTwips(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

}  // namespace velkin
