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

POINT PontoDe(LPARAM lp) { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

// A button going down (or a second time): the message it sends on the way down, the one on
// the way up, and its virtual key.
struct Botao {
  UINT desce, solta;
  int tecla;
};
const Botao* BotaoDe(UINT msg) {
  static constexpr Botao kBotoes[] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, VK_LBUTTON},
                                      {WM_RBUTTONDOWN, WM_RBUTTONUP, VK_RBUTTON},
                                      {WM_MBUTTONDOWN, WM_MBUTTONUP, VK_MBUTTON}};
  // Each double click follows its button's down message by two.
  for (const Botao& b : kBotoes)
    if (msg == b.desce || msg == b.desce + 2) return &b;
  return nullptr;
}

// IOleInPlaceObject
HRESULT WINAPI Ipo_QueryInterface(IOleInPlaceObjectWindowless* i, REFIID r, void** p) {
  return ControleQI(impl_from_IOleInPlaceObjectWindowless(i), r, p);
}
ULONG WINAPI Ipo_AddRef(IOleInPlaceObjectWindowless* i) { return ControleAddRef(impl_from_IOleInPlaceObjectWindowless(i)); }
ULONG WINAPI Ipo_Release(IOleInPlaceObjectWindowless* i) { return ControleRelease(impl_from_IOleInPlaceObjectWindowless(i)); }
HRESULT WINAPI Ipo_GetWindow(IOleInPlaceObjectWindowless* i, HWND* h) {
  return JanelaNoLugar(impl_from_IOleInPlaceObjectWindowless(i), h);
}
HRESULT WINAPI Ipo_ContextSensitiveHelp(IOleInPlaceObjectWindowless*, BOOL) { return E_NOTIMPL; }
HRESULT WINAPI Ipo_InPlaceDeactivate(IOleInPlaceObjectWindowless* i) {
  return DesativaNoLugar(impl_from_IOleInPlaceObjectWindowless(i));
}
HRESULT WINAPI Ipo_UIDeactivate(IOleInPlaceObjectWindowless* i) { return DesativaInterface(impl_from_IOleInPlaceObjectWindowless(i)); }
HRESULT WINAPI Ipo_SetObjectRects(IOleInPlaceObjectWindowless* i, LPCRECT pos, LPCRECT) {
  if (!pos) return E_POINTER;
  return MoveNoLugar(impl_from_IOleInPlaceObjectWindowless(i), *pos);
}
HRESULT WINAPI Ipo_ReactivateAndUndo(IOleInPlaceObjectWindowless*) { return E_NOTIMPL; }

// IOleInPlaceObjectWindowless: what the container receives over the field, or for it while
// the container holds its focus. Coordinates are the container window's.
HRESULT WINAPI Ipo_OnWindowMessage(IOleInPlaceObjectWindowless* i, UINT msg, WPARAM wp, LPARAM lp, LRESULT* resultado) {
  Control* c = impl_from_IOleInPlaceObjectWindowless(i);
  if (!resultado) return E_POINTER;
  *resultado = 0;
  if (!c->semJanela) return E_UNEXPECTED;
  HWND caixa = c->txo.janela();
  const bool mostrada = c->janela != nullptr;
  if (msg == WM_SETCURSOR) {
    if (mostrada) return S_FALSE;  // the edit box shows its own
    SetCursor(c->txo.CursorDoCampo());
    *resultado = TRUE;
    return S_OK;
  }
  if (msg == WM_MOUSEMOVE) {
    const POINT p = PontoDe(lp);
    if (!mostrada) c->txo.MouseSemJanela(wp, p.x - c->retangulo.left, p.y - c->retangulo.top);
    return S_OK;
  }
  if (BotaoDe(msg) || msg == WM_SETFOCUS) {
    if (!c->txo.Habilitada()) return S_FALSE;
    ControleAddRef(c);  // the site may release the control from inside activation
    HRESULT hr = AtivaNoLugar(c, true);
    // The in-place window is a child of the site's window, whose coordinates the click has.
    if (SUCCEEDED(hr) && c->janela) RepassaClique(c, MSG{GetParent(c->janela), msg, wp, lp, 0, {}});
    ControleRelease(c);
    return SUCCEEDED(hr) ? S_OK : S_FALSE;
  }
  // Keys the container routes to the object it believes focused reach the edit box.
  if (mostrada && caixa && ((msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || msg == WM_PASTE || msg == WM_CUT || msg == WM_COPY)) {
    *resultado = SendMessageW(caixa, msg, wp, lp);
    return S_OK;
  }
  return S_FALSE;
}
HRESULT WINAPI Ipo_GetDropTarget(IOleInPlaceObjectWindowless*, IDropTarget** alvo) {
  if (!alvo) return E_POINTER;
  *alvo = nullptr;
  return E_NOTIMPL;
}

const IOleInPlaceObjectWindowlessVtbl kIpoVtbl = {
    Ipo_QueryInterface, Ipo_AddRef, Ipo_Release, Ipo_GetWindow, Ipo_ContextSensitiveHelp,
    Ipo_InPlaceDeactivate, Ipo_UIDeactivate, Ipo_SetObjectRects, Ipo_ReactivateAndUndo,
    Ipo_OnWindowMessage, Ipo_GetDropTarget,
};

// IPointerInactive: the field stays inactive under the mouse, which costs it no window; the
// container activates it on a click or when tabbing into it.
HRESULT WINAPI Pi_QueryInterface(IPointerInactive* i, REFIID r, void** p) { return ControleQI(impl_from_IPointerInactive(i), r, p); }
ULONG WINAPI Pi_AddRef(IPointerInactive* i) { return ControleAddRef(impl_from_IPointerInactive(i)); }
ULONG WINAPI Pi_Release(IPointerInactive* i) { return ControleRelease(impl_from_IPointerInactive(i)); }
HRESULT WINAPI Pi_GetActivationPolicy(IPointerInactive*, DWORD* politica) {
  if (!politica) return E_POINTER;
  *politica = 0;
  return S_OK;
}
HRESULT WINAPI Pi_OnInactiveMouseMove(IPointerInactive* i, LPCRECT limites, LONG x, LONG y, DWORD teclas) {
  if (!limites) return E_POINTER;
  impl_from_IPointerInactive(i)->txo.MouseSemJanela(teclas, x - limites->left, y - limites->top);
  return S_OK;
}
HRESULT WINAPI Pi_OnInactiveSetCursor(IPointerInactive* i, LPCRECT limites, LONG, LONG, DWORD, BOOL) {
  if (!limites) return E_POINTER;
  SetCursor(impl_from_IPointerInactive(i)->txo.CursorDoCampo());
  return S_OK;
}

const IPointerInactiveVtbl kPiVtbl = {
    Pi_QueryInterface, Pi_AddRef, Pi_Release, Pi_GetActivationPolicy, Pi_OnInactiveMouseMove, Pi_OnInactiveSetCursor,
};

}  // namespace

void RepassaClique(Control* c, const MSG& m) {
  HWND caixa = c->txo.janela();
  const Botao* b = BotaoDe(m.message);
  if (!b || !caixa || !IsWindowVisible(caixa)) return;
  POINT p = m.hwnd ? PontoDe(m.lParam) : m.pt;
  if (m.hwnd) MapWindowPoints(m.hwnd, caixa, &p, 1);
  else ScreenToClient(caixa, &p);
  const LPARAM onde = MAKELPARAM(p.x, p.y);
  // The edit box takes a double click that activates it as the first click it sees.
  SendMessageW(caixa, b->desce, m.wParam, onde);
  // The button went up before the edit box existed: the edit box sees it go up, or it would
  // hold the mouse.
  if (GetKeyState(b->tecla) >= 0 && IsWindow(caixa)) SendMessageW(caixa, b->solta, 0, onde);
}

void IniciaSemJanela(Control* c) {
  c->IOleInPlaceObjectWindowless_iface.lpVtbl = const_cast<IOleInPlaceObjectWindowlessVtbl*>(&kIpoVtbl);
  c->IPointerInactive_iface.lpVtbl = const_cast<IPointerInactiveVtbl*>(&kPiVtbl);
}

void* InterfaceSemJanela(Control* c, REFIID riid) {
  if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject) ||
      IsEqualIID(riid, IID_IOleInPlaceObjectWindowless))
    return &c->IOleInPlaceObjectWindowless_iface;
  if (IsEqualIID(riid, IID_IPointerInactive)) return &c->IPointerInactive_iface;
  return nullptr;
}

}  // namespace delvorin::ocx
