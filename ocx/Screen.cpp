#include "ocx/Screen.h"

namespace delvorin::ocx {

int ScreenDpi(bool horizontal) {
  static const POINT dpi = [] {
    HDC dc = GetDC(nullptr);
    POINT p{dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96, dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96};
    if (dc) ReleaseDC(nullptr, dc);
    if (p.x <= 0) p.x = 96;
    if (p.y <= 0) p.y = 96;
    return p;
  }();
  return horizontal ? dpi.x : dpi.y;
}

}  // namespace delvorin::ocx
