#pragma once
// An OLE object (font or picture) held by a property of the engine.
#include "ocx/Com.h"

#include "core/Variant.h"

namespace delvorin::ocx {

class ComObject final : public AutomationObject {
 public:
  explicit ComObject(IUnknown* u) : u_(u) {
    if (u_) IUnknown_AddRef(u_);
  }
  ~ComObject() override {
    if (u_) IUnknown_Release(u_);
  }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  IUnknown* unknown() const { return u_; }
  std::u16string Describe() const override;

  // The object behind a property value as interface riid (AddRef'd), or nullptr.
  static void* Interface(const Variant& v, REFIID riid);

 private:
  IUnknown* u_;
};

}  // namespace delvorin::ocx
