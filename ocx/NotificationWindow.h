#pragma once
// One hidden window per thread for the edit boxes that are themselves a control's in-place
// window: an EDIT sends its notifications (EN_CHANGE...) to the window it was made in, so an
// edit box made here and then moved into the container's window keeps them from the container.
#include "ocx/Com.h"

namespace delvorin::ocx {

class NotificationWindow {
 public:
  // The thread's window, made by the first user; nullptr when it cannot be made.
  static HWND Acquire();
  // One user fewer; the window goes with the last.
  static void Release();
  // The thread's window while it has users.
  static HWND Current();
};

}  // namespace delvorin::ocx
