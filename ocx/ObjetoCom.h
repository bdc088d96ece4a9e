#pragma once
// An OLE object (font or picture) held by a property of the engine.
#include "ocx/Com.h"

#include "control/Variant.h"

namespace delvorin::ocx {

class ObjetoCom final : public AutomationObject {
 public:
  explicit ObjetoCom(IUnknown* u) : u_(u) {
    if (u_) IUnknown_AddRef(u_);
  }
  ~ObjetoCom() override {
    if (u_) IUnknown_Release(u_);
  }
  ObjetoCom(const ObjetoCom&) = delete;
  ObjetoCom& operator=(const ObjetoCom&) = delete;
  IUnknown* unknown() const { return u_; }
  std::u16string Describe() const override;

  // The object behind a property value as interface riid (AddRef'd), or nullptr.
  static void* Interface(const Variant& v, REFIID riid);

 private:
  IUnknown* u_;
};

}  // namespace delvorin::ocx
