// Embedding and in-place activation: IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject,
// IOleControl and IViewObject2.
#include "ocx/Controle.h"

namespace delvorin::ocx {

void IniciaObjetoOle(Controle*) {}

void EncerraObjetoOle(Controle*) {}

void* InterfaceObjetoOle(Controle*, REFIID) { return nullptr; }

}  // namespace delvorin::ocx
