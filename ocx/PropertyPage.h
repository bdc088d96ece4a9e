#pragma once
// The property page object behind the classes Geral and Sobre: IPropertyPage2 over a dialog
// built from the page's table. Geral runs the page logic of pages/GeneralPage over that
// dialog and reaches the first selected object through its IDispatch, by property name; Sobre
// only shows its fixed texts.
#include "ocx/Com.h"

#include <optional>
#include <vector>

#include "ocx/PropertyAccessDispatch.h"
#include "ocx/PageDialog.h"
#include "ocx/PageSurfaceWin32.h"
#include "pages/GeneralPage.h"

namespace delvorin::ocx {

struct PropertyPage {
  PropertyPage(const PageDescription& description, const GUID& diid, bool withLogic);

  IPropertyPage2 IPropertyPage2_iface;
  IDispatch IDispatch_iface;  // the class's dispatch interface of the type library: no members
  LONG ref = 1;
  const PageDescription& description;
  const GUID& diid;
  IPropertyPageSite* site = nullptr;
  std::vector<IUnknown*> objects;  // the selected objects, as given
  PropertyAccessDispatch access;           // the first of them
  PageDialog dialog;
  PageSurfaceWin32 surface;
  std::optional<GeneralPage> general;  // Geral's behaviour; Sobre has none
  DISPID initialProperty = DISPID_UNKNOWN;  // asked for by EditProperty before Activate
  // A frame built on the common controls' property sheet (Wine's OleCreatePropertyFrame)
  // tells the sheet's page window, not the page object, of Apply, and enables its Apply
  // button only when told of a change: while active there, the page listens on that window.
  HWND sheet = nullptr;
  HWND sheetPage = nullptr;
};

HRESULT CreateGeralPage(IUnknown* outer, REFIID riid, void** ppv);
HRESULT CreateSobrePage(IUnknown* outer, REFIID riid, void** ppv);

}  // namespace delvorin::ocx
