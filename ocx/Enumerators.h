#pragma once
// Snapshot enumerators of the connection points and of one point's connections.
#include <vector>

#include "ocx/Com.h"

namespace delvorin::ocx {

// Each takes its own reference on every item; *e receives the new enumerator.
HRESULT CreatePointEnumerator(const std::vector<IConnectionPoint*>& points, IEnumConnectionPoints** e);
HRESULT CreateConnectionEnumerator(const std::vector<CONNECTDATA>& connections, IEnumConnections** e);

}  // namespace delvorin::ocx
