#pragma once
// Snapshot enumerators of the connection points and of one point's connections. Each holds its
// own copy and its own references, nothing of the control's state, so its methods answer on any
// thread, unlike the control's.
#include <vector>

#include "ocx/Com.h"

namespace delvorin::ocx {

// Each takes its own reference on every item; *e receives the new enumerator.
HRESULT CreatePointEnumerator(const std::vector<IConnectionPoint*>& points, IEnumConnectionPoints** e);
HRESULT CreateConnectionEnumerator(const std::vector<CONNECTDATA>& connections, IEnumConnections** e);

}  // namespace delvorin::ocx
