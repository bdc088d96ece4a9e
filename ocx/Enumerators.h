#pragma once
// Snapshot enumerators of the connection points and of one point's connections.
#include <vector>

#include "ocx/Com.h"

namespace delvorin::ocx {

// Each takes its own reference on every item; *e receives the new enumerator.
HRESULT CriaEnumeradorDePontos(const std::vector<IConnectionPoint*>& pontos, IEnumConnectionPoints** e);
HRESULT CriaEnumeradorDeConexoes(const std::vector<CONNECTDATA>& conexoes, IEnumConnections** e);

}  // namespace delvorin::ocx
