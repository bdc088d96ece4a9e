#pragma once
// The Geral property page: loads 18 properties of the first selected object into its child
// controls, shows the options that matter for the chosen type, and writes them back on
// Apply. It holds nothing between notifications: the state is in the surface's controls.
#include "pages/AcessoPropriedades.h"
#include "pages/ModeloGeral.h"
#include "pages/Resultado.h"
#include "pages/SuperficiePagina.h"

namespace delvorin {

// Style of the message box that reports a failed apply: an OK button only, no icon.
inline constexpr int32_t kEstiloSoOk = 0;

class PaginaGeral {
 public:
  PaginaGeral(SuperficiePagina& superficie, AcessoPropriedades& selecionado)
      : superficie_(superficie), selecionado_(selecionado) {}

  // Page creation, once per page: fills the four lists and sets the tooltip of chkAspas.
  Resultado Cria();
  // Selection change: each bound control takes its property from the first selected
  // object, then each list its index from its text box; the handlers of every control the
  // load alters run, so the page reports itself changed and shows the loaded type's options.
  // A property newer than the 1.0 interface that the object does not have grays its control.
  Resultado Carrega();
  // Apply: writes the properties in order to the first selected object. The first write
  // that fails stops it; its description is shown in an untitled OK-only message box and
  // returned. A property newer than the 1.0 interface that the object does not have is
  // left out. After a complete apply nothing is left to apply: the changed flag is cleared.
  Resultado Aplica();

  // The user's actions. Click of a list (after the user chose in it) or of a check box.
  Resultado Clique(FilhoGeral filho);
  // Change of a text box.
  void Alteracao(FilhoGeral filho);
  // The focus left a control: a negative number in txtMaxLength becomes "0".
  Resultado PerdeFoco(FilhoGeral filho);

 private:
  Resultado CliqueLista(FilhoGeral lista);
  Resultado PoeTexto(FilhoGeral filho, std::u16string_view texto);
  Resultado PoeValor(FilhoGeral filho, int16_t valor);
  Resultado Escolhe(FilhoGeral lista, std::u16string_view codigo);
  Resultado AplicaVisibilidade(int tipo);
  Resultado EscreveTudo();

  SuperficiePagina& superficie_;
  AcessoPropriedades& selecionado_;
};

}  // namespace delvorin
