// Persistence of the control's properties: the container's property bag (IPersistPropertyBag)
// and the engine's binary form (control/BinaryForm.h) in a stream (IPersistStreamInit) or in
// the stream "Contents" of a storage (IPersistStorage). Both go through the engine's
// ReadProperties/WriteProperties, so every key, default and range check is the engine's.
// Here only the COM side: streams as byte sources, fonts and pictures to and from the
// opaque bytes (class id and IPersistStream data) the binary form carries.
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "control/BinaryForm.h"
#include "ocx/Control.h"
#include "ocx/Identifiers.h"

namespace delvorin::ocx {
namespace {

constexpr size_t kMaxTextLength = binary_form::kMaxText;
constexpr size_t kMaxObjectBytes = binary_form::kMaxObject;
const wchar_t kContentsName[] = L"Contents";

Status Failure(HRESULT hr) { return Status(static_cast<int32_t>(hr)); }
HRESULT Result(Status s) { return s.ok() ? S_OK : ErrorResult(s); }

// ---- The container's property bag ----

class PropertyBagWin32 final : public PropertyBag {
 public:
  PropertyBagWin32(IPropertyBag* engineBag, IErrorLog* log) : bag_(engineBag), log_(log) {}

  // Any failure of the bag's Read counts as an absent key: the default applies. Scalars are
  // read as whatever type the bag holds (VT_EMPTY asks for that), so that the engine's own
  // conversion applies to texts from text-only bags; objects are asked as IDispatch, then
  // as IUnknown.
  Status Read(std::u16string_view key, Variant& value, const Variant& defaultValue) override {
    std::wstring name(key.begin(), key.end());
    const VARTYPE types[] = {VT_DISPATCH, VT_UNKNOWN};
    const bool object = defaultValue.type() == VarType::Object;
    for (int i = 0; i < (object ? 2 : 1); ++i) {
      VARIANT v;
      VariantInit(&v);
      if (object) V_VT(&v) = types[i];
      HRESULT hr = IPropertyBag_Read(bag_, name.c_str(), &v, log_);
      if (FAILED(hr)) {
        VariantClear(&v);
        continue;
      }
      hr = FromVariant(v, value);
      VariantClear(&v);
      // A bag's Null holds no value: it loads as Empty does.
      if (SUCCEEDED(hr) && value.type() == VarType::Null) value = Variant();
      return SUCCEEDED(hr) ? Status::Ok() : Failure(hr);
    }
    value = defaultValue;
    return Status::Ok();
  }

  // A null object is not written: the key is then absent and reads back as its default
  // (no picture; the ambient font), which is what a null reference means for both keys.
  Status Write(std::u16string_view key, const Variant& value, const Variant&) override {
    if (value.type() == VarType::Object && !value.object()) return Status::Ok();
    if (value.type() == VarType::Str && value.str().size() > kMaxTextLength) return Failure(E_OUTOFMEMORY);
    std::wstring name(key.begin(), key.end());
    VARIANT v;
    HRESULT hr = ToVariant(value, v);
    if (SUCCEEDED(hr)) hr = IPropertyBag_Write(bag_, name.c_str(), &v);
    VariantClear(&v);
    return SUCCEEDED(hr) ? Status::Ok() : Failure(hr);
  }

 private:
  IPropertyBag* bag_;
  IErrorLog* log_;
};

// ---- The binary form ----

// Fonts and pictures only: a stream never makes us create an arbitrary class.
bool AcceptedClass(const CLSID& c) { return IsEqualCLSID(c, CLSID_StdFont) || IsEqualCLSID(c, CLSID_StdPicture); }

// The class id and IPersistStream data of an object, as bytes.
HRESULT SerializeObject(IUnknown* u, std::vector<uint8_t>& out) {
  IPersistStream* ps = nullptr;
  HRESULT hr = IUnknown_QueryInterface(u, IID_IPersistStream, reinterpret_cast<void**>(&ps));
  if (FAILED(hr)) return hr;
  IStream* s = nullptr;
  hr = CreateStreamOnHGlobal(nullptr, TRUE, &s);
  if (SUCCEEDED(hr)) hr = OleSaveToStream(ps, s);
  IPersistStream_Release(ps);
  if (SUCCEEDED(hr)) {
    STATSTG st{};
    hr = IStream_Stat(s, &st, STATFLAG_NONAME);
    if (SUCCEEDED(hr) && st.cbSize.QuadPart > kMaxObjectBytes) hr = E_OUTOFMEMORY;
    if (SUCCEEDED(hr)) {
      out.resize(static_cast<size_t>(st.cbSize.QuadPart));
      LARGE_INTEGER zero{};
      ULONG fetched = 0;
      hr = IStream_Seek(s, zero, STREAM_SEEK_SET, nullptr);
      if (SUCCEEDED(hr) && !out.empty()) hr = IStream_Read(s, out.data(), static_cast<ULONG>(out.size()), &fetched);
      if (SUCCEEDED(hr) && fetched != out.size()) hr = STG_E_READFAULT;
    }
  }
  if (s) IStream_Release(s);
  return hr;
}

// An object back from its bytes, if its class is a font or a picture.
HRESULT DeserializeObject(const std::vector<uint8_t>& data, IUnknown** u) {
  *u = nullptr;
  IStream* s = nullptr;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &s);
  if (FAILED(hr)) return hr;
  ULONG written = 0;
  hr = IStream_Write(s, data.data(), static_cast<ULONG>(data.size()), &written);
  LARGE_INTEGER zero{};
  if (SUCCEEDED(hr)) hr = IStream_Seek(s, zero, STREAM_SEEK_SET, nullptr);
  CLSID cls{};
  if (SUCCEEDED(hr)) hr = ReadClassStm(s, &cls);
  if (SUCCEEDED(hr) && !AcceptedClass(cls)) hr = STG_E_DOCFILECORRUPT;
  IPersistStream* ps = nullptr;
  if (SUCCEEDED(hr) && IsEqualCLSID(cls, CLSID_StdFont)) {
    // A font made directly, then loaded: the same object as COM's, without its registry lookups
    // (a form loads a font for every field).
    hr = CreateDefaultFont(IID_IPersistStream, reinterpret_cast<void**>(&ps));
  } else if (SUCCEEDED(hr)) {
    hr = CoCreateInstance(cls, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStream, reinterpret_cast<void**>(&ps));
  }
  if (SUCCEEDED(hr)) hr = IPersistStream_Load(ps, s);
  if (SUCCEEDED(hr)) hr = IPersistStream_QueryInterface(ps, IID_IUnknown, reinterpret_cast<void**>(u));
  if (ps) IPersistStream_Release(ps);
  IStream_Release(s);
  return FAILED(hr) ? (hr == E_FAIL ? STG_E_DOCFILECORRUPT : hr) : S_OK;
}

// A stream as the binary form's byte source: exact reads, and what is left when the stream
// tells, so that no length read from the stream makes the codec allocate more than it holds.
class StreamByteSource final : public ByteSource {
 public:
  explicit StreamByteSource(IStream* s) : s_(s) {
    STATSTG st{};
    LARGE_INTEGER zero{};
    ULARGE_INTEGER pos{};
    if (SUCCEEDED(IStream_Stat(s, &st, STATFLAG_NONAME)) && SUCCEEDED(IStream_Seek(s, zero, STREAM_SEEK_CUR, &pos)) &&
        st.cbSize.QuadPart >= pos.QuadPart)
      remaining_ = st.cbSize.QuadPart - pos.QuadPart;
  }

  Status Read(void* target, size_t n) override {
    if (n == 0) return Status::Ok();
    if (remaining_ != kUnknown && n > remaining_) return Failure(STG_E_READFAULT);
    ULONG fetched = 0;
    HRESULT hr = IStream_Read(s_, target, static_cast<ULONG>(n), &fetched);
    if (FAILED(hr)) return Failure(hr);
    if (fetched != n) return Failure(STG_E_READFAULT);
    if (remaining_ != kUnknown) remaining_ -= n;
    return Status::Ok();
  }
  uint64_t Remaining() const override { return remaining_; }

 private:
  IStream* s_;
  uint64_t remaining_ = kUnknown;  // the reads themselves detect the end
};

// The values of a stream in the binary form, by key, objects made from their bytes; fails on
// any inconsistency before the engine sees a single value.
HRESULT ReadEntries(IStream* s, std::map<std::u16string, Variant>& values) {
  StreamByteSource source(s);
  std::vector<BinaryEntry> entries;
  HRESULT hr = static_cast<HRESULT>(DecodeBinaryForm(source, entries).hresult());  // as read, no error info
  if (FAILED(hr)) return hr;
  for (BinaryEntry& e : entries) {
    if (e.object) {
      IUnknown* u = nullptr;
      if (FAILED(hr = DeserializeObject(*e.object, &u))) return hr;
      e.value = Variant::Object(std::make_shared<ComObject>(u));
      IUnknown_Release(u);
    }
    values.emplace(std::move(e.key), std::move(e.value));
  }
  return S_OK;
}

HRESULT LoadFromStream(Control* c, IStream* s) {
  if (!s) return E_POINTER;
  if (c->initialised) return E_UNEXPECTED;
  std::map<std::u16string, Variant> values;
  HRESULT hr = ReadEntries(s, values);
  if (FAILED(hr)) return hr;
  BinaryReadBag engineBag(std::move(values));
  hr = Result(c->engine.ReadProperties(engineBag));
  if (FAILED(hr)) return hr;
  c->initialised = true;
  c->dirty = false;
  return S_OK;
}

HRESULT Serialize(Control* c, std::vector<uint8_t>& bytes) {
  BinaryWriteBag engineBag([](const ObjectRef& object, std::vector<uint8_t>& data) {
    auto* o = dynamic_cast<ComObject*>(object.get());
    if (!o || !o->unknown()) return Status::TypeMismatch();
    HRESULT hr = SerializeObject(o->unknown(), data);
    return FAILED(hr) ? Failure(hr) : Status::Ok();
  });
  HRESULT hr = Result(c->engine.WriteProperties(engineBag));
  if (SUCCEEDED(hr)) hr = static_cast<HRESULT>(EncodeBinaryForm(engineBag.entries(), bytes).hresult());
  return hr;
}

HRESULT SaveToStream(Control* c, IStream* s) {
  if (!s) return E_POINTER;
  std::vector<uint8_t> bytes;
  HRESULT hr = Serialize(c, bytes);
  if (FAILED(hr)) return hr;
  ULONG written = 0;
  hr = IStream_Write(s, bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  if (SUCCEEDED(hr) && written != bytes.size()) hr = STG_E_WRITEFAULT;
  return hr;
}

HRESULT InitNewControl(Control* c) {
  if (c->initialised) return E_UNEXPECTED;
  c->engine.InitProperties();
  c->initialised = true;
  c->dirty = false;
  return S_OK;
}

HRESULT ClassId(CLSID* id) {
  if (!id) return E_POINTER;
  *id = kClsidDelvorin;
  return S_OK;
}

// ---- IPersistPropertyBag ----

Control* impl_from_IPersistPropertyBag(IPersistPropertyBag* iface) {
  return CONTAINING_RECORD(iface, Control, IPersistPropertyBag_iface);
}

HRESULT WINAPI PersistBag_QueryInterface(IPersistPropertyBag* iface, REFIID riid, void** ppv) { return ControlQI(impl_from_IPersistPropertyBag(iface), riid, ppv); }
ULONG WINAPI PersistBag_AddRef(IPersistPropertyBag* iface) { return ControlAddRef(impl_from_IPersistPropertyBag(iface)); }
ULONG WINAPI PersistBag_Release(IPersistPropertyBag* iface) { return ControlRelease(impl_from_IPersistPropertyBag(iface)); }
HRESULT WINAPI PersistBag_GetClassID(IPersistPropertyBag*, CLSID* id) { return ClassId(id); }
HRESULT WINAPI PersistBag_InitNew(IPersistPropertyBag* iface) { return InitNewControl(impl_from_IPersistPropertyBag(iface)); }
HRESULT WINAPI PersistBag_Load(IPersistPropertyBag* iface, IPropertyBag* bag, IErrorLog* log) {
  Control* c = impl_from_IPersistPropertyBag(iface);
  if (!bag) return E_POINTER;
  if (c->initialised) return E_UNEXPECTED;
  PropertyBagWin32 engineBag(bag, log);
  HRESULT hr = Result(c->engine.ReadProperties(engineBag));
  if (FAILED(hr)) return hr;
  c->initialised = true;
  c->dirty = false;
  return S_OK;
}
HRESULT WINAPI PersistBag_Save(IPersistPropertyBag* iface, IPropertyBag* bag, BOOL clearDirty, BOOL) {
  Control* c = impl_from_IPersistPropertyBag(iface);
  if (!bag) return E_POINTER;
  PropertyBagWin32 engineBag(bag, nullptr);
  HRESULT hr = Result(c->engine.WriteProperties(engineBag));
  if (SUCCEEDED(hr) && clearDirty) c->dirty = false;
  return hr;
}

const IPersistPropertyBagVtbl kPersistBagVtbl = {
    PersistBag_QueryInterface, PersistBag_AddRef, PersistBag_Release, OwnThread<PersistBag_GetClassID>,
    OwnThread<PersistBag_InitNew>, OwnThread<PersistBag_Load>, OwnThread<PersistBag_Save>,
};

// ---- IPersistStreamInit ----

Control* impl_from_IPersistStreamInit(IPersistStreamInit* iface) {
  return CONTAINING_RECORD(iface, Control, IPersistStreamInit_iface);
}

HRESULT WINAPI PersistStream_QueryInterface(IPersistStreamInit* iface, REFIID riid, void** ppv) { return ControlQI(impl_from_IPersistStreamInit(iface), riid, ppv); }
ULONG WINAPI PersistStream_AddRef(IPersistStreamInit* iface) { return ControlAddRef(impl_from_IPersistStreamInit(iface)); }
ULONG WINAPI PersistStream_Release(IPersistStreamInit* iface) { return ControlRelease(impl_from_IPersistStreamInit(iface)); }
HRESULT WINAPI PersistStream_GetClassID(IPersistStreamInit*, CLSID* id) { return ClassId(id); }
HRESULT WINAPI PersistStream_IsDirty(IPersistStreamInit* iface) {
  return impl_from_IPersistStreamInit(iface)->dirty ? S_OK : S_FALSE;
}
HRESULT WINAPI PersistStream_Load(IPersistStreamInit* iface, IStream* s) {
  return LoadFromStream(impl_from_IPersistStreamInit(iface), s);
}
HRESULT WINAPI PersistStream_Save(IPersistStreamInit* iface, IStream* s, BOOL clearDirty) {
  Control* c = impl_from_IPersistStreamInit(iface);
  HRESULT hr = SaveToStream(c, s);
  if (SUCCEEDED(hr) && clearDirty) c->dirty = false;
  return hr;
}
// The exact size of the current properties in the binary form.
HRESULT WINAPI PersistStream_GetSizeMax(IPersistStreamInit* iface, ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  std::vector<uint8_t> bytes;
  HRESULT hr = Serialize(impl_from_IPersistStreamInit(iface), bytes);
  size->QuadPart = SUCCEEDED(hr) ? bytes.size() : 0;
  return hr;
}
HRESULT WINAPI PersistStream_InitNew(IPersistStreamInit* iface) { return InitNewControl(impl_from_IPersistStreamInit(iface)); }

const IPersistStreamInitVtbl kPersistStreamVtbl = {
    PersistStream_QueryInterface, PersistStream_AddRef, PersistStream_Release, OwnThread<PersistStream_GetClassID>,
    OwnThread<PersistStream_IsDirty>, OwnThread<PersistStream_Load>, OwnThread<PersistStream_Save>, OwnThread<PersistStream_GetSizeMax>, OwnThread<PersistStream_InitNew>,
};

// ---- IPersistStorage: the binary form in the stream "Contents"; the storage is not held
// between calls, so SaveCompleted and HandsOffStorage have nothing to do. ----

Control* impl_from_IPersistStorage(IPersistStorage* iface) { return CONTAINING_RECORD(iface, Control, IPersistStorage_iface); }

HRESULT WINAPI PersistStorage_QueryInterface(IPersistStorage* iface, REFIID riid, void** ppv) { return ControlQI(impl_from_IPersistStorage(iface), riid, ppv); }
ULONG WINAPI PersistStorage_AddRef(IPersistStorage* iface) { return ControlAddRef(impl_from_IPersistStorage(iface)); }
ULONG WINAPI PersistStorage_Release(IPersistStorage* iface) { return ControlRelease(impl_from_IPersistStorage(iface)); }
HRESULT WINAPI PersistStorage_GetClassID(IPersistStorage*, CLSID* id) { return ClassId(id); }
HRESULT WINAPI PersistStorage_IsDirty(IPersistStorage* iface) { return impl_from_IPersistStorage(iface)->dirty ? S_OK : S_FALSE; }
HRESULT WINAPI PersistStorage_InitNew(IPersistStorage* iface, IStorage* stg) {
  if (!stg) return E_POINTER;
  return InitNewControl(impl_from_IPersistStorage(iface));
}
HRESULT WINAPI PersistStorage_Load(IPersistStorage* iface, IStorage* stg) {
  Control* c = impl_from_IPersistStorage(iface);
  if (!stg) return E_POINTER;
  if (c->initialised) return E_UNEXPECTED;
  IStream* s = nullptr;
  HRESULT hr = IStorage_OpenStream(stg, kContentsName, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &s);
  if (FAILED(hr)) return hr;
  hr = LoadFromStream(c, s);
  IStream_Release(s);
  return hr;
}
// Saving into the storage last loaded clears the dirty flag (the container's save); a save
// elsewhere is a copy and leaves it.
HRESULT WINAPI PersistStorage_Save(IPersistStorage* iface, IStorage* stg, BOOL sameAsLoad) {
  Control* c = impl_from_IPersistStorage(iface);
  if (!stg) return E_POINTER;
  IStream* s = nullptr;
  HRESULT hr = IStorage_CreateStream(stg, kContentsName, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &s);
  if (FAILED(hr)) return hr;
  hr = SaveToStream(c, s);
  IStream_Release(s);
  if (SUCCEEDED(hr)) hr = WriteClassStg(stg, kClsidDelvorin);
  if (SUCCEEDED(hr) && sameAsLoad) c->dirty = false;
  return hr;
}
HRESULT WINAPI PersistStorage_SaveCompleted(IPersistStorage*, IStorage*) { return S_OK; }
HRESULT WINAPI PersistStorage_HandsOffStorage(IPersistStorage*) { return S_OK; }

const IPersistStorageVtbl kPersistStorageVtbl = {
    PersistStorage_QueryInterface, PersistStorage_AddRef, PersistStorage_Release, OwnThread<PersistStorage_GetClassID>,
    OwnThread<PersistStorage_IsDirty>, OwnThread<PersistStorage_InitNew>, OwnThread<PersistStorage_Load>, OwnThread<PersistStorage_Save>,
    OwnThread<PersistStorage_SaveCompleted>, OwnThread<PersistStorage_HandsOffStorage>,
};

}  // namespace

void InitPersistence(Control* c) {
  c->IPersistPropertyBag_iface.lpVtbl = const_cast<IPersistPropertyBagVtbl*>(&kPersistBagVtbl);
  c->IPersistStreamInit_iface.lpVtbl = const_cast<IPersistStreamInitVtbl*>(&kPersistStreamVtbl);
  c->IPersistStorage_iface.lpVtbl = const_cast<IPersistStorageVtbl*>(&kPersistStorageVtbl);
}

void* PersistenceInterface(Control* c, REFIID riid) {
  if (IsEqualIID(riid, IID_IPersistPropertyBag) && c->IPersistPropertyBag_iface.lpVtbl) return &c->IPersistPropertyBag_iface;
  // IPersistStream is IPersistStreamInit without InitNew at the end: one vtable serves both,
  // so that OleSaveToStream and OleLoadFromStream work.
  if ((IsEqualIID(riid, IID_IPersistStreamInit) || IsEqualIID(riid, IID_IPersistStream) || IsEqualIID(riid, IID_IPersist)) &&
      c->IPersistStreamInit_iface.lpVtbl)
    return &c->IPersistStreamInit_iface;
  if (IsEqualIID(riid, IID_IPersistStorage) && c->IPersistStorage_iface.lpVtbl) return &c->IPersistStorage_iface;
  return nullptr;
}

}  // namespace delvorin::ocx
