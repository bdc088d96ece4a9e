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
const FORMATETC kFormats[] = {
    {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF},
    {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT},
};

int16_t I2(Control* c, Property p) {
  Variant v;
  return c->txo.GetProperty(p, v).ok() && v.type() == VarType::I2 ? v.i2() : 0;
}

// The control's extent in screen pixels.
SIZE Pixels(const SIZEL& himetric) {
  return SIZE{MulDiv(himetric.cx, ScreenDpi(true), 2540), MulDiv(himetric.cy, ScreenDpi(false), 2540)};
}

HRESULT Metafile(Control* c, CLIPFORMAT format, STGMEDIUM* medium) {
  const SIZE px = Pixels(c->extent);
  const RECT r{0, 0, px.cx, px.cy};
  if (format == CF_ENHMETAFILE) {
    const RECT frame{0, 0, c->extent.cx, c->extent.cy};
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
    if (!dc) return E_OUTOFMEMORY;
    DrawField(c, dc, r);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    if (!emf) return E_OUTOFMEMORY;
    medium->tymed = TYMED_ENHMF;
    medium->hEnhMetaFile = emf;
    return S_OK;
  }
  HDC dc = CreateMetaFileW(nullptr);
  if (!dc) return E_OUTOFMEMORY;
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, px.cx, px.cy, nullptr);
  DrawField(c, dc, r);
  HMETAFILE mf = CloseMetaFile(dc);
  HGLOBAL g = mf ? GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT)) : nullptr;
  auto* pict = g ? static_cast<METAFILEPICT*>(GlobalLock(g)) : nullptr;
  if (!pict) {
    if (g) GlobalFree(g);
    if (mf) DeleteMetaFile(mf);
    return E_OUTOFMEMORY;
  }
  *pict = METAFILEPICT{MM_ANISOTROPIC, c->extent.cx, c->extent.cy, mf};
  GlobalUnlock(g);
  medium->tymed = TYMED_MFPICT;
  medium->hMetaFilePict = g;
  return S_OK;
}

HRESULT Offered(const FORMATETC* f) {
  if (!f) return E_POINTER;
  if (f->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (f->lindex != -1) return DV_E_LINDEX;
  for (const FORMATETC& k : kFormats)
    if (f->cfFormat == k.cfFormat) return (f->tymed & k.tymed) ? S_OK : DV_E_TYMED;
  return DV_E_FORMATETC;
}

HRESULT WINAPI Do_QueryInterface(IDataObject* i, REFIID r, void** p) { return ControlQI(impl_from_IDataObject(i), r, p); }
ULONG WINAPI Do_AddRef(IDataObject* i) { return ControlAddRef(impl_from_IDataObject(i)); }
ULONG WINAPI Do_Release(IDataObject* i) { return ControlRelease(impl_from_IDataObject(i)); }
HRESULT WINAPI Do_GetData(IDataObject* i, FORMATETC* f, STGMEDIUM* medium) {
  if (!medium) return E_POINTER;
  medium->tymed = TYMED_NULL;
  medium->hGlobal = nullptr;
  medium->pUnkForRelease = nullptr;
  HRESULT hr = Offered(f);
  return FAILED(hr) ? hr : Metafile(impl_from_IDataObject(i), f->cfFormat, medium);
}
HRESULT WINAPI Do_GetDataHere(IDataObject*, FORMATETC*, STGMEDIUM*) { return DATA_E_FORMATETC; }
HRESULT WINAPI Do_QueryGetData(IDataObject*, FORMATETC* f) { return Offered(f); }
HRESULT WINAPI Do_GetCanonicalFormatEtc(IDataObject*, FORMATETC* in, FORMATETC* out) {
  if (!in || !out) return E_POINTER;
  *out = *in;
  out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}
HRESULT WINAPI Do_SetData(IDataObject*, FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }
HRESULT WINAPI Do_EnumFormatEtc(IDataObject*, DWORD direction, IEnumFORMATETC** e) {
  if (!e) return E_POINTER;
  *e = nullptr;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  return SHCreateStdEnumFmtEtc(ARRAYSIZE(kFormats), kFormats, e);
}
HRESULT WINAPI Do_DAdvise(IDataObject* i, FORMATETC* f, DWORD flags, IAdviseSink* sink, DWORD* cookie) {
  Control* c = impl_from_IDataObject(i);
  if (!f || !sink || !cookie) return E_POINTER;
  *cookie = 0;
  if (!c->dataAdviseHolder && FAILED(CreateDataAdviseHolder(&c->dataAdviseHolder))) return E_OUTOFMEMORY;
  return IDataAdviseHolder_Advise(c->dataAdviseHolder, i, f, flags, sink, cookie);
}
HRESULT WINAPI Do_DUnadvise(IDataObject* i, DWORD cookie) {
  Control* c = impl_from_IDataObject(i);
  return c->dataAdviseHolder ? IDataAdviseHolder_Unadvise(c->dataAdviseHolder, cookie) : OLE_E_NOCONNECTION;
}
HRESULT WINAPI Do_EnumDAdvise(IDataObject* i, IEnumSTATDATA** e) {
  Control* c = impl_from_IDataObject(i);
  if (!e) return E_POINTER;
  *e = nullptr;
  return c->dataAdviseHolder ? IDataAdviseHolder_EnumAdvise(c->dataAdviseHolder, e) : OLE_E_ADVISENOTSUPPORTED;
}

const IDataObjectVtbl kDoVtbl = {
    Do_QueryInterface, Do_AddRef, Do_Release, OwnThread<Do_GetData>, OwnThread<Do_GetDataHere>, OwnThread<Do_QueryGetData>, OwnThread<Do_GetCanonicalFormatEtc>,
    OwnThread<Do_SetData>, OwnThread<Do_EnumFormatEtc>, OwnThread<Do_DAdvise>, OwnThread<Do_DUnadvise>, OwnThread<Do_EnumDAdvise>,
};

// IViewObjectEx: the field drawn where the container asks, when it shows no window; in a
// windowless site the container passes no bounds and the field is drawn at its rectangle.
HRESULT WINAPI Vo_QueryInterface(IViewObjectEx* i, REFIID r, void** p) { return ControlQI(impl_from_IViewObjectEx(i), r, p); }
ULONG WINAPI Vo_AddRef(IViewObjectEx* i) { return ControlAddRef(impl_from_IViewObjectEx(i)); }
ULONG WINAPI Vo_Release(IViewObjectEx* i) { return ControlRelease(impl_from_IViewObjectEx(i)); }
HRESULT WINAPI Vo_Draw(IViewObjectEx* i, DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                       BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  Control* c = impl_from_IViewObjectEx(i);
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!dc) return E_INVALIDARG;
  if (bounds) {
    DrawField(c, dc, RECT{bounds->left, bounds->top, bounds->right, bounds->bottom});
    return S_OK;
  }
  if (!c->windowless) return E_INVALIDARG;
  // While it has the focus the edit box draws itself over the container.
  if (!c->window) DrawField(c, dc, c->posRect);
  return S_OK;
}
HRESULT WINAPI Vo_GetColorSet(IViewObjectEx*, DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** p) {
  if (p) *p = nullptr;
  return S_FALSE;
}
HRESULT WINAPI Vo_Freeze(IViewObjectEx*, DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
HRESULT WINAPI Vo_Unfreeze(IViewObjectEx*, DWORD) { return E_NOTIMPL; }
HRESULT WINAPI Vo_SetAdvise(IViewObjectEx* i, DWORD aspects, DWORD flags, IAdviseSink* sink) {
  Control* c = impl_from_IViewObjectEx(i);
  if (sink) IAdviseSink_AddRef(sink);
  if (c->viewSink) IAdviseSink_Release(c->viewSink);
  c->viewSink = sink;
  c->viewAspects = aspects;
  c->viewFlags = flags;
  return S_OK;
}
HRESULT WINAPI Vo_GetAdvise(IViewObjectEx* i, DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  Control* c = impl_from_IViewObjectEx(i);
  if (aspects) *aspects = c->viewAspects;
  if (flags) *flags = c->viewFlags;
  if (sink) {
    *sink = c->viewSink;
    if (*sink) IAdviseSink_AddRef(*sink);
  }
  return S_OK;
}
HRESULT WINAPI Vo_GetExtent(IViewObjectEx* i, DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = impl_from_IViewObjectEx(i)->extent;
  return S_OK;
}
HRESULT WINAPI Vo_GetRect(IViewObjectEx* i, DWORD aspect, LPRECTL r) {
  if (!r) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  const SIZEL& e = impl_from_IViewObjectEx(i)->extent;
  *r = RECTL{0, 0, e.cx, e.cy};
  return S_OK;
}
// The field paints every pixel of its rectangle, in one background colour.
HRESULT WINAPI Vo_GetViewStatus(IViewObjectEx*, DWORD* status) {
  if (!status) return E_POINTER;
  *status = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  return S_OK;
}
HRESULT WINAPI Vo_QueryHitPoint(IViewObjectEx*, DWORD aspect, LPCRECT bounds, POINT p, LONG, DWORD* result) {
  if (!bounds || !result) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *result = PtInRect(bounds, p) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}
HRESULT WINAPI Vo_QueryHitRect(IViewObjectEx*, DWORD aspect, LPCRECT bounds, LPCRECT r, LONG, DWORD* result) {
  if (!bounds || !r || !result) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  RECT overlap;
  *result = IntersectRect(&overlap, bounds, r) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}
HRESULT WINAPI Vo_GetNaturalExtent(IViewObjectEx*, DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) { return E_NOTIMPL; }

const IViewObjectExVtbl kVoVtbl = {
    Vo_QueryInterface, Vo_AddRef, Vo_Release, OwnThread<Vo_Draw>, OwnThread<Vo_GetColorSet>, OwnThread<Vo_Freeze>, OwnThread<Vo_Unfreeze>, OwnThread<Vo_SetAdvise>,
    OwnThread<Vo_GetAdvise>, OwnThread<Vo_GetExtent>, OwnThread<Vo_GetRect>, OwnThread<Vo_GetViewStatus>, OwnThread<Vo_QueryHitPoint>, OwnThread<Vo_QueryHitRect>, OwnThread<Vo_GetNaturalExtent>,
};

}  // namespace

void DrawField(Control* c, HDC dc, const RECT& bounds) {
  RECT r = bounds;
  const int saved = SaveDC(dc);
  HBRUSH back = c->txo.Colours(dc);
  FillRect(dc, &r, back);
  if (I2(c, Property::BorderStyle) == 1) {
    if (I2(c, Property::Appearance) == 1) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    else {
      FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      InflateRect(&r, -1, -1);
    }
  }
  InflateRect(&r, -1, -1);
  HFONT font = c->txo.FontHandle();
  if (font) SelectObject(dc, font);
  std::u16string t = c->txo.Text();
  Variant password;
  if (c->txo.GetProperty(Property::PasswordChar, password).ok() && password.type() == VarType::Str && !password.str().empty())
    t.assign(t.size(), password.str()[0]);
  static constexpr UINT kAlignment[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  const int16_t alignment = I2(c, Property::Alignment);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(t.c_str()), static_cast<int>(t.size()), &r,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | kAlignment[alignment >= 0 && alignment <= 2 ? alignment : 0]);
  RestoreDC(dc, saved);
}

void NotifyViewChange(Control* c) {
  // A windowless field without its windows is painted by the container: it asks for that.
  if (c->windowless && !c->window) RequestRepaint(c);
  if (!c->viewSink && !c->dataAdviseHolder) return;
  // A sink may release the control while it is being told.
  ControlAddRef(c);
  if (c->viewSink && (c->viewAspects & DVASPECT_CONTENT)) IAdviseSink_OnViewChange(c->viewSink, DVASPECT_CONTENT, -1);
  if (c->dataAdviseHolder) IDataAdviseHolder_SendOnDataChange(c->dataAdviseHolder, &c->IDataObject_iface, 0, 0);
  ControlRelease(c);
}

void InitPresentation(Control* c) {
  c->IDataObject_iface.lpVtbl = const_cast<IDataObjectVtbl*>(&kDoVtbl);
  c->IViewObjectEx_iface.lpVtbl = const_cast<IViewObjectExVtbl*>(&kVoVtbl);
}

void TearDownPresentation(Control* c) {
  if (c->dataAdviseHolder) IDataAdviseHolder_Release(c->dataAdviseHolder);
  c->dataAdviseHolder = nullptr;
}

void* PresentationInterface(Control* c, REFIID riid) {
  if (IsEqualIID(riid, IID_IViewObject) || IsEqualIID(riid, IID_IViewObject2) || IsEqualIID(riid, IID_IViewObjectEx))
    return &c->IViewObjectEx_iface;
  return IsEqualIID(riid, IID_IDataObject) ? &c->IDataObject_iface : nullptr;
}

}  // namespace delvorin::ocx
