#pragma once
// The screen's logical resolution, read once: twips and HIMETRIC become pixels with it. Asking
// the display for it costs a round trip to the window system on every call.
#include "ocx/Com.h"

namespace delvorin::ocx {

int ScreenDpi(bool horizontal);

}  // namespace delvorin::ocx
