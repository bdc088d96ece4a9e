// How the field looks when the container draws it rather than showing the window: the one
// drawing routine behind IViewObjectEx::Draw and IDataObject's metafiles, and the advise sinks
// told when that look changes.
#include "ocx/Control.h"
#include "ocx/Screen.h"

#include <shlobj.h>

#include <string>

namespace delvorin::ocx {
namespace {

Control* impl_from_IDataObject(IDataObject* i) { return CONTAINING_RECORD(i, Control, IDataObject_iface); }
Control* impl_from_IViewObjectEx(IViewObjectEx* i) { return CONTAINING_RECORD(i, Control, IViewObjectEx_iface); }

// The presentations offered: an enhanced metafile and a metafile picture of the content.
const FORMATETC kFormatos[] = {
    {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF},
    {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT},
};

int16_t I2(Control* c, Property p) {
  Variant v;
  return c->txo.GetProperty(p, v).ok() && v.type() == VarType::I2 ? v.i2() : 0;
}

// The control's extent in screen pixels.
SIZE Pixels(const SIZEL& himetric) {
  return SIZE{MulDiv(himetric.cx, DpiTela(true), 2540), MulDiv(himetric.cy, DpiTela(false), 2540)};
}

HRESULT Metafile(Control* c, CLIPFORMAT formato, STGMEDIUM* meio) {
  const SIZE px = Pixels(c->extensao);
  const RECT r{0, 0, px.cx, px.cy};
  if (formato == CF_ENHMETAFILE) {
    const RECT quadro{0, 0, c->extensao.cx, c->extensao.cy};
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &quadro, nullptr);
    if (!dc) return E_OUTOFMEMORY;
    DesenhaCampo(c, dc, r);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    if (!emf) return E_OUTOFMEMORY;
    meio->tymed = TYMED_ENHMF;
    meio->hEnhMetaFile = emf;
    return S_OK;
  }
  HDC dc = CreateMetaFileW(nullptr);
  if (!dc) return E_OUTOFMEMORY;
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, px.cx, px.cy, nullptr);
  DesenhaCampo(c, dc, r);
  HMETAFILE mf = CloseMetaFile(dc);
  HGLOBAL g = mf ? GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT)) : nullptr;
  auto* pict = g ? static_cast<METAFILEPICT*>(GlobalLock(g)) : nullptr;
  if (!pict) {
    if (g) GlobalFree(g);
    if (mf) DeleteMetaFile(mf);
    return E_OUTOFMEMORY;
  }
  *pict = METAFILEPICT{MM_ANISOTROPIC, c->extensao.cx, c->extensao.cy, mf};
  GlobalUnlock(g);
  meio->tymed = TYMED_MFPICT;
  meio->hMetaFilePict = g;
  return S_OK;
}

HRESULT Oferecido(const FORMATETC* f) {
  if (!f) return E_POINTER;
  if (f->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (f->lindex != -1) return DV_E_LINDEX;
  for (const FORMATETC& k : kFormatos)
    if (f->cfFormat == k.cfFormat) return (f->tymed & k.tymed) ? S_OK : DV_E_TYMED;
  return DV_E_FORMATETC;
}

HRESULT WINAPI Do_QueryInterface(IDataObject* i, REFIID r, void** p) { return ControleQI(impl_from_IDataObject(i), r, p); }
ULONG WINAPI Do_AddRef(IDataObject* i) { return ControleAddRef(impl_from_IDataObject(i)); }
ULONG WINAPI Do_Release(IDataObject* i) { return ControleRelease(impl_from_IDataObject(i)); }
HRESULT WINAPI Do_GetData(IDataObject* i, FORMATETC* f, STGMEDIUM* meio) {
  if (!meio) return E_POINTER;
  meio->tymed = TYMED_NULL;
  meio->hGlobal = nullptr;
  meio->pUnkForRelease = nullptr;
  HRESULT hr = Oferecido(f);
  return FAILED(hr) ? hr : Metafile(impl_from_IDataObject(i), f->cfFormat, meio);
}
HRESULT WINAPI Do_GetDataHere(IDataObject*, FORMATETC*, STGMEDIUM*) { return DATA_E_FORMATETC; }
HRESULT WINAPI Do_QueryGetData(IDataObject*, FORMATETC* f) { return Oferecido(f); }
HRESULT WINAPI Do_GetCanonicalFormatEtc(IDataObject*, FORMATETC* entrada, FORMATETC* saida) {
  if (!entrada || !saida) return E_POINTER;
  *saida = *entrada;
  saida->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}
HRESULT WINAPI Do_SetData(IDataObject*, FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }
HRESULT WINAPI Do_EnumFormatEtc(IDataObject*, DWORD direcao, IEnumFORMATETC** e) {
  if (!e) return E_POINTER;
  *e = nullptr;
  if (direcao != DATADIR_GET) return E_NOTIMPL;
  return SHCreateStdEnumFmtEtc(ARRAYSIZE(kFormatos), kFormatos, e);
}
HRESULT WINAPI Do_DAdvise(IDataObject* i, FORMATETC* f, DWORD flags, IAdviseSink* sink, DWORD* cookie) {
  Control* c = impl_from_IDataObject(i);
  if (!f || !sink || !cookie) return E_POINTER;
  *cookie = 0;
  if (!c->avisosDados && FAILED(CreateDataAdviseHolder(&c->avisosDados))) return E_OUTOFMEMORY;
  return IDataAdviseHolder_Advise(c->avisosDados, i, f, flags, sink, cookie);
}
HRESULT WINAPI Do_DUnadvise(IDataObject* i, DWORD cookie) {
  Control* c = impl_from_IDataObject(i);
  return c->avisosDados ? IDataAdviseHolder_Unadvise(c->avisosDados, cookie) : OLE_E_NOCONNECTION;
}
HRESULT WINAPI Do_EnumDAdvise(IDataObject* i, IEnumSTATDATA** e) {
  Control* c = impl_from_IDataObject(i);
  if (!e) return E_POINTER;
  *e = nullptr;
  return c->avisosDados ? IDataAdviseHolder_EnumAdvise(c->avisosDados, e) : OLE_E_ADVISENOTSUPPORTED;
}

const IDataObjectVtbl kDoVtbl = {
    Do_QueryInterface, Do_AddRef, Do_Release, Do_GetData, Do_GetDataHere, Do_QueryGetData, Do_GetCanonicalFormatEtc,
    Do_SetData, Do_EnumFormatEtc, Do_DAdvise, Do_DUnadvise, Do_EnumDAdvise,
};

// IViewObjectEx: the field drawn where the container asks, when it shows no window; in a
// windowless site the container passes no bounds and the field is drawn at its rectangle.
HRESULT WINAPI Vo_QueryInterface(IViewObjectEx* i, REFIID r, void** p) { return ControleQI(impl_from_IViewObjectEx(i), r, p); }
ULONG WINAPI Vo_AddRef(IViewObjectEx* i) { return ControleAddRef(impl_from_IViewObjectEx(i)); }
ULONG WINAPI Vo_Release(IViewObjectEx* i) { return ControleRelease(impl_from_IViewObjectEx(i)); }
HRESULT WINAPI Vo_Draw(IViewObjectEx* i, DWORD aspecto, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL limites, LPCRECTL,
                       BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  Control* c = impl_from_IViewObjectEx(i);
  if (aspecto != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!dc) return E_INVALIDARG;
  if (limites) {
    DesenhaCampo(c, dc, RECT{limites->left, limites->top, limites->right, limites->bottom});
    return S_OK;
  }
  if (!c->semJanela) return E_INVALIDARG;
  // While it has the focus the edit box draws itself over the container.
  if (!c->janela) DesenhaCampo(c, dc, c->retangulo);
  return S_OK;
}
HRESULT WINAPI Vo_GetColorSet(IViewObjectEx*, DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** p) {
  if (p) *p = nullptr;
  return S_FALSE;
}
HRESULT WINAPI Vo_Freeze(IViewObjectEx*, DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
HRESULT WINAPI Vo_Unfreeze(IViewObjectEx*, DWORD) { return E_NOTIMPL; }
HRESULT WINAPI Vo_SetAdvise(IViewObjectEx* i, DWORD aspectos, DWORD flags, IAdviseSink* sink) {
  Control* c = impl_from_IViewObjectEx(i);
  if (sink) IAdviseSink_AddRef(sink);
  if (c->avisoVista) IAdviseSink_Release(c->avisoVista);
  c->avisoVista = sink;
  c->aspectosVista = aspectos;
  c->flagsVista = flags;
  return S_OK;
}
HRESULT WINAPI Vo_GetAdvise(IViewObjectEx* i, DWORD* aspectos, DWORD* flags, IAdviseSink** sink) {
  Control* c = impl_from_IViewObjectEx(i);
  if (aspectos) *aspectos = c->aspectosVista;
  if (flags) *flags = c->flagsVista;
  if (sink) {
    *sink = c->avisoVista;
    if (*sink) IAdviseSink_AddRef(*sink);
  }
  return S_OK;
}
HRESULT WINAPI Vo_GetExtent(IViewObjectEx* i, DWORD aspecto, LONG, DVTARGETDEVICE*, LPSIZEL tamanho) {
  if (!tamanho) return E_POINTER;
  if (aspecto != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *tamanho = impl_from_IViewObjectEx(i)->extensao;
  return S_OK;
}
HRESULT WINAPI Vo_GetRect(IViewObjectEx* i, DWORD aspecto, LPRECTL r) {
  if (!r) return E_POINTER;
  if (aspecto != DVASPECT_CONTENT) return DV_E_DVASPECT;
  const SIZEL& e = impl_from_IViewObjectEx(i)->extensao;
  *r = RECTL{0, 0, e.cx, e.cy};
  return S_OK;
}
// The field paints every pixel of its rectangle, in one background colour.
HRESULT WINAPI Vo_GetViewStatus(IViewObjectEx*, DWORD* status) {
  if (!status) return E_POINTER;
  *status = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  return S_OK;
}
HRESULT WINAPI Vo_QueryHitPoint(IViewObjectEx*, DWORD aspecto, LPCRECT limites, POINT p, LONG, DWORD* resultado) {
  if (!limites || !resultado) return E_POINTER;
  if (aspecto != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *resultado = PtInRect(limites, p) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}
HRESULT WINAPI Vo_QueryHitRect(IViewObjectEx*, DWORD aspecto, LPCRECT limites, LPCRECT r, LONG, DWORD* resultado) {
  if (!limites || !r || !resultado) return E_POINTER;
  if (aspecto != DVASPECT_CONTENT) return DV_E_DVASPECT;
  RECT comum;
  *resultado = IntersectRect(&comum, limites, r) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}
HRESULT WINAPI Vo_GetNaturalExtent(IViewObjectEx*, DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) { return E_NOTIMPL; }

const IViewObjectExVtbl kVoVtbl = {
    Vo_QueryInterface, Vo_AddRef, Vo_Release, Vo_Draw, Vo_GetColorSet, Vo_Freeze, Vo_Unfreeze, Vo_SetAdvise,
    Vo_GetAdvise, Vo_GetExtent, Vo_GetRect, Vo_GetViewStatus, Vo_QueryHitPoint, Vo_QueryHitRect, Vo_GetNaturalExtent,
};

}  // namespace

void DesenhaCampo(Control* c, HDC dc, const RECT& limites) {
  RECT r = limites;
  const int salvo = SaveDC(dc);
  HBRUSH fundo = c->txo.Cores(dc);
  FillRect(dc, &r, fundo);
  if (I2(c, Property::BorderStyle) == 1) {
    if (I2(c, Property::Appearance) == 1) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    else {
      FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      InflateRect(&r, -1, -1);
    }
  }
  InflateRect(&r, -1, -1);
  HFONT fonte = c->txo.Fonte();
  if (fonte) SelectObject(dc, fonte);
  std::u16string t = c->txo.Text();
  Variant senha;
  if (c->txo.GetProperty(Property::PasswordChar, senha).ok() && senha.type() == VarType::Str && !senha.str().empty())
    t.assign(t.size(), senha.str()[0]);
  static constexpr UINT kAlinhamento[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  const int16_t alinhamento = I2(c, Property::Alignment);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(t.c_str()), static_cast<int>(t.size()), &r,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | kAlinhamento[alinhamento >= 0 && alinhamento <= 2 ? alinhamento : 0]);
  RestoreDC(dc, salvo);
}

void NotificaVista(Control* c) {
  // A windowless field without its windows is painted by the container: it asks for that.
  if (c->semJanela && !c->janela) PedePintura(c);
  if (!c->avisoVista && !c->avisosDados) return;
  // A sink may release the control while it is being told.
  ControleAddRef(c);
  if (c->avisoVista && (c->aspectosVista & DVASPECT_CONTENT)) IAdviseSink_OnViewChange(c->avisoVista, DVASPECT_CONTENT, -1);
  if (c->avisosDados) IDataAdviseHolder_SendOnDataChange(c->avisosDados, &c->IDataObject_iface, 0, 0);
  ControleRelease(c);
}

void IniciaApresentacao(Control* c) {
  c->IDataObject_iface.lpVtbl = const_cast<IDataObjectVtbl*>(&kDoVtbl);
  c->IViewObjectEx_iface.lpVtbl = const_cast<IViewObjectExVtbl*>(&kVoVtbl);
}

void EncerraApresentacao(Control* c) {
  if (c->avisosDados) IDataAdviseHolder_Release(c->avisosDados);
  c->avisosDados = nullptr;
}

void* InterfaceApresentacao(Control* c, REFIID riid) {
  if (IsEqualIID(riid, IID_IViewObject) || IsEqualIID(riid, IID_IViewObject2) || IsEqualIID(riid, IID_IViewObjectEx))
    return &c->IViewObjectEx_iface;
  return IsEqualIID(riid, IID_IDataObject) ? &c->IDataObject_iface : nullptr;
}

}  // namespace delvorin::ocx
