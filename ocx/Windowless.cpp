// IOleInPlaceObjectWindowless and IPointerInactive: the field in place without a window of its
// own, or not in place at all, while the container draws it. The container hands it the mouse
// messages over it; a click, or the focus, gives it its windows (OleObject.cpp), made or moved
// back at its rectangle, and the click goes on to the edit box.
#include "ocx/Control.h"

namespace delvorin::ocx {
namespace {

Control* impl_from_IOleInPlaceObjectWindowless(IOleInPlaceObjectWindowless* i) {
  return CONTAINING_RECORD(i, Control, IOleInPlaceObjectWindowless_iface);
}
Control* impl_from_IPointerInactive(IPointerInactive* i) { return CONTAINING_RECORD(i, Control, IPointerInactive_iface); }

POINT PointOf(LPARAM lp) { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

// A button going down (or a second time): the message it sends on the way down, the one on
// the way up, and its virtual key.
struct Button {
  UINT down, up;
  int key;
};
const Button* ButtonOf(UINT msg) {
  static constexpr Button kButtons[] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, VK_LBUTTON},
                                      {WM_RBUTTONDOWN, WM_RBUTTONUP, VK_RBUTTON},
                                      {WM_MBUTTONDOWN, WM_MBUTTONUP, VK_MBUTTON}};
  // Each double click follows its button's down message by two.
  for (const Button& b : kButtons)
    if (msg == b.down || msg == b.down + 2) return &b;
  return nullptr;
}

// IOleInPlaceObject
HRESULT WINAPI Ipo_QueryInterface(IOleInPlaceObjectWindowless* i, REFIID r, void** p) {
  return ControlQI(impl_from_IOleInPlaceObjectWindowless(i), r, p);
}
ULONG WINAPI Ipo_AddRef(IOleInPlaceObjectWindowless* i) { return ControlAddRef(impl_from_IOleInPlaceObjectWindowless(i)); }
ULONG WINAPI Ipo_Release(IOleInPlaceObjectWindowless* i) { return ControlRelease(impl_from_IOleInPlaceObjectWindowless(i)); }
HRESULT WINAPI Ipo_GetWindow(IOleInPlaceObjectWindowless* i, HWND* h) {
  return InPlaceWindow(impl_from_IOleInPlaceObjectWindowless(i), h);
}
HRESULT WINAPI Ipo_ContextSensitiveHelp(IOleInPlaceObjectWindowless*, BOOL) { return E_NOTIMPL; }
HRESULT WINAPI Ipo_InPlaceDeactivate(IOleInPlaceObjectWindowless* i) {
  return DeactivateInPlace(impl_from_IOleInPlaceObjectWindowless(i));
}
HRESULT WINAPI Ipo_UIDeactivate(IOleInPlaceObjectWindowless* i) { return DeactivateUI(impl_from_IOleInPlaceObjectWindowless(i)); }
HRESULT WINAPI Ipo_SetObjectRects(IOleInPlaceObjectWindowless* i, LPCRECT pos, LPCRECT) {
  if (!pos) return E_POINTER;
  return MoveInPlace(impl_from_IOleInPlaceObjectWindowless(i), *pos);
}
HRESULT WINAPI Ipo_ReactivateAndUndo(IOleInPlaceObjectWindowless*) { return E_NOTIMPL; }

// IOleInPlaceObjectWindowless: what the container receives over the field, or for it while
// the container holds its focus. Coordinates are the container window's.
HRESULT WINAPI Ipo_OnWindowMessage(IOleInPlaceObjectWindowless* i, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  Control* c = impl_from_IOleInPlaceObjectWindowless(i);
  if (!result) return E_POINTER;
  *result = 0;
  // A field without a window of its own is in the accessibility tree through its container.
  if (msg == WM_GETOBJECT) return AnswerGetObject(c, wp, lp, result) ? S_OK : S_FALSE;
  if (!c->windowless) return E_UNEXPECTED;
  HWND box = c->txo.window();
  const bool shown = c->window != nullptr;
  if (msg == WM_SETCURSOR) {
    if (shown) return S_FALSE;  // the edit box shows its own
    SetCursor(c->txo.FieldCursor());
    *result = TRUE;
    return S_OK;
  }
  if (msg == WM_MOUSEMOVE) {
    const POINT p = PointOf(lp);
    if (!shown) c->txo.WindowlessMouseMove(wp, p.x - c->posRect.left, p.y - c->posRect.top);
    return S_OK;
  }
  if (ButtonOf(msg) || msg == WM_SETFOCUS) {
    if (!c->txo.IsEnabled()) return S_FALSE;
    ControlAddRef(c);  // the site may release the control from inside activation
    HRESULT hr = ActivateInPlace(c, true);
    // The in-place window is a child of the site's window, whose coordinates the click has.
    if (SUCCEEDED(hr) && c->window) ForwardClick(c, MSG{GetParent(c->window), msg, wp, lp, 0, {}});
    ControlRelease(c);
    return SUCCEEDED(hr) ? S_OK : S_FALSE;
  }
  // Keys the container routes to the object it believes focused reach the edit box.
  if (shown && box && ((msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || msg == WM_PASTE || msg == WM_CUT || msg == WM_COPY)) {
    *result = SendMessageW(box, msg, wp, lp);
    return S_OK;
  }
  return S_FALSE;
}
HRESULT WINAPI Ipo_GetDropTarget(IOleInPlaceObjectWindowless*, IDropTarget** target) {
  if (!target) return E_POINTER;
  *target = nullptr;
  return E_NOTIMPL;
}

const IOleInPlaceObjectWindowlessVtbl kIpoVtbl = {
    Ipo_QueryInterface, Ipo_AddRef, Ipo_Release, OwnThread<Ipo_GetWindow>, OwnThread<Ipo_ContextSensitiveHelp>,
    OwnThread<Ipo_InPlaceDeactivate>, OwnThread<Ipo_UIDeactivate>, OwnThread<Ipo_SetObjectRects>, OwnThread<Ipo_ReactivateAndUndo>,
    OwnThread<Ipo_OnWindowMessage>, OwnThread<Ipo_GetDropTarget>,
};

// IPointerInactive: the field stays inactive under the mouse, which costs it no window; the
// container activates it on a click or when tabbing into it.
HRESULT WINAPI Pi_QueryInterface(IPointerInactive* i, REFIID r, void** p) { return ControlQI(impl_from_IPointerInactive(i), r, p); }
ULONG WINAPI Pi_AddRef(IPointerInactive* i) { return ControlAddRef(impl_from_IPointerInactive(i)); }
ULONG WINAPI Pi_Release(IPointerInactive* i) { return ControlRelease(impl_from_IPointerInactive(i)); }
HRESULT WINAPI Pi_GetActivationPolicy(IPointerInactive*, DWORD* policy) {
  if (!policy) return E_POINTER;
  *policy = 0;
  return S_OK;
}
HRESULT WINAPI Pi_OnInactiveMouseMove(IPointerInactive* i, LPCRECT bounds, LONG x, LONG y, DWORD keys) {
  if (!bounds) return E_POINTER;
  impl_from_IPointerInactive(i)->txo.WindowlessMouseMove(keys, x - bounds->left, y - bounds->top);
  return S_OK;
}
HRESULT WINAPI Pi_OnInactiveSetCursor(IPointerInactive* i, LPCRECT bounds, LONG, LONG, DWORD, BOOL) {
  if (!bounds) return E_POINTER;
  SetCursor(impl_from_IPointerInactive(i)->txo.FieldCursor());
  return S_OK;
}

const IPointerInactiveVtbl kPiVtbl = {
    Pi_QueryInterface, Pi_AddRef, Pi_Release, OwnThread<Pi_GetActivationPolicy>, OwnThread<Pi_OnInactiveMouseMove>, OwnThread<Pi_OnInactiveSetCursor>,
};

}  // namespace

void ForwardClick(Control* c, const MSG& m) {
  HWND box = c->txo.window();
  const Button* b = ButtonOf(m.message);
  if (!b || !box || !IsWindowVisible(box)) return;
  POINT p = m.hwnd ? PointOf(m.lParam) : m.pt;
  if (m.hwnd) MapWindowPoints(m.hwnd, box, &p, 1);
  else ScreenToClient(box, &p);
  const LPARAM at = MAKELPARAM(p.x, p.y);
  // The edit box takes a double click that activates it as the first click it sees.
  SendMessageW(box, b->down, m.wParam, at);
  // The button went up before the edit box existed: the edit box sees it go up, or it would
  // hold the mouse.
  if (GetKeyState(b->key) >= 0 && IsWindow(box)) SendMessageW(box, b->up, 0, at);
}

void InitWindowless(Control* c) {
  c->IOleInPlaceObjectWindowless_iface.lpVtbl = const_cast<IOleInPlaceObjectWindowlessVtbl*>(&kIpoVtbl);
  c->IPointerInactive_iface.lpVtbl = const_cast<IPointerInactiveVtbl*>(&kPiVtbl);
}

void* WindowlessInterface(Control* c, REFIID riid) {
  if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject) ||
      IsEqualIID(riid, IID_IOleInPlaceObjectWindowless))
    return &c->IOleInPlaceObjectWindowless_iface;
  if (IsEqualIID(riid, IID_IPointerInactive)) return &c->IPointerInactive_iface;
  return nullptr;
}

}  // namespace delvorin::ocx
