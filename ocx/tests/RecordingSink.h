#pragma once
// The IUnknown part of a test's COM object: QueryInterface for a fixed list of interfaces,
// one reference count (the owner's reference is the first; tests check the count is back to 1
// when the control let go) and a record, in order, of the calls made on the object.
// An object with more than one interface embeds an Also<Other> for each further one and
// registers it with Answer: its IUnknown methods are the object's.
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ocx/Com.h"

namespace delvorin::ocx::test {

template <typename Iface>
struct RecordingSink {
  Iface iface{};  // first, so that the interface pointer is the object's address
  LONG ref = 1;
  std::vector<IID> iids;
  std::vector<std::pair<IID, void*>> others;  // further interfaces, each with its own pointer
  std::vector<std::string> calls;

  RecordingSink(const void* vtbl, std::initializer_list<IID> answered) : iids(answered) {
    iface.lpVtbl = static_cast<decltype(iface.lpVtbl)>(const_cast<void*>(vtbl));
    iids.push_back(IID_IUnknown);
  }
  RecordingSink(const RecordingSink&) = delete;
  RecordingSink& operator=(const RecordingSink&) = delete;

  static RecordingSink* From(Iface* i) { return reinterpret_cast<RecordingSink*>(i); }
  void Record(const char* call) { calls.emplace_back(call); }

  // Another interface of the same object.
  template <typename Other>
  struct Also {
    Other iface{};  // first, so that the interface pointer is this part's address
    RecordingSink* owner = nullptr;

    static RecordingSink* Owner(Other* i) { return reinterpret_cast<Also*>(i)->owner; }
    static HRESULT WINAPI QueryInterface(Other* i, REFIID riid, void** ppv) {
      return RecordingSink::QueryInterface(&Owner(i)->iface, riid, ppv);
    }
    static ULONG WINAPI AddRef(Other* i) { return InterlockedIncrement(&Owner(i)->ref); }
    static ULONG WINAPI Release(Other* i) { return InterlockedDecrement(&Owner(i)->ref); }
  };
  template <typename Other>
  void Answer(Also<Other>& part, const void* vtbl, REFIID iid) {
    part.iface.lpVtbl = static_cast<decltype(part.iface.lpVtbl)>(const_cast<void*>(vtbl));
    part.owner = this;
    others.emplace_back(iid, &part.iface);
  }

  static HRESULT WINAPI QueryInterface(Iface* i, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    RecordingSink* s = From(i);
    for (const IID& iid : s->iids)
      if (IsEqualIID(riid, iid)) {
        *ppv = i;
        InterlockedIncrement(&s->ref);
        return S_OK;
      }
    for (const auto& [iid, part] : s->others)
      if (IsEqualIID(riid, iid)) {
        *ppv = part;
        InterlockedIncrement(&s->ref);
        return S_OK;
      }
    return E_NOINTERFACE;
  }
  static ULONG WINAPI AddRef(Iface* i) { return InterlockedIncrement(&From(i)->ref); }
  static ULONG WINAPI Release(Iface* i) { return InterlockedDecrement(&From(i)->ref); }
};

}  // namespace delvorin::ocx::test
