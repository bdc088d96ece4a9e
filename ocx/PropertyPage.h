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
  PropertyPage(const PageDescription& descricao, const GUID& diid, bool comLogica);

  IPropertyPage2 IPropertyPage2_iface;
  IDispatch IDispatch_iface;  // the class's dispatch interface of the type library: no members
  LONG ref = 1;
  const PageDescription& descricao;
  const GUID& diid;
  IPropertyPageSite* site = nullptr;
  std::vector<IUnknown*> objetos;  // the selected objects, as given
  PropertyAccessDispatch acesso;           // the first of them
  PageDialog dialogo;
  PageSurfaceWin32 superficie;
  std::optional<GeneralPage> geral;  // Geral's behaviour; Sobre has none
  DISPID propriedadeInicial = DISPID_UNKNOWN;  // asked for by EditProperty before Activate
  // A frame built on the common controls' property sheet (Wine's OleCreatePropertyFrame)
  // tells the sheet's page window, not the page object, of Apply, and enables its Apply
  // button only when told of a change: while active there, the page listens on that window.
  HWND folha = nullptr;
  HWND paginaFolha = nullptr;
};

HRESULT CriaPaginaGeral(IUnknown* externo, REFIID riid, void** ppv);
HRESULT CriaPaginaSobre(IUnknown* externo, REFIID riid, void** ppv);

}  // namespace delvorin::ocx
