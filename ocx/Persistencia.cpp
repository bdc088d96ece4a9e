// Persistence of the control's properties: property bag, stream and storage.
#include "ocx/Controle.h"

namespace delvorin::ocx {

void IniciaPersistencia(Controle*) {}

void* InterfacePersistencia(Controle*, REFIID) { return nullptr; }

}  // namespace delvorin::ocx
