#pragma once
// A property value as automation passes it: the handful of variant types this control's
// properties, events and property bag use.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "core/Status.h"

namespace delvorin {

// An automation object held by a property (a font or a picture): opaque to the engine,
// which only stores, hands over and compares references.
class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  // Short human-readable description ("MS Sans Serif 8,25"), for tools and diagnostics.
  virtual std::u16string Describe() const = 0;
};
using ObjectRef = std::shared_ptr<AutomationObject>;

// The automation boolean: -1 true, 0 false; any other stored value counts as true.
struct Bool16 {
  int16_t value = 0;
  constexpr bool operator==(const Bool16&) const = default;
  constexpr explicit operator bool() const { return value != 0; }
};
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

// Currency: a 64-bit count of ten-thousandths; Date: days since 30 December 1899, the time of
// day its fraction; Null: no valid value.
enum class VarType : uint8_t { Empty, I2, I4, UI1, Bool, R4, R8, Str, Object, Null, Currency, Date };

class Variant {
 public:
  Variant() = default;
  static Variant I2(int16_t v) { return Variant(Data(std::in_place_index<1>, v)); }
  static Variant I4(int32_t v) { return Variant(Data(std::in_place_index<2>, v)); }
  static Variant UI1(uint8_t v) { return Variant(Data(std::in_place_index<3>, v)); }
  static Variant Boolean(int16_t v) { return Variant(Data(std::in_place_index<4>, Bool16{v})); }
  static Variant Boolean(bool v) { return Boolean(v ? kTrue : kFalse); }
  static Variant R4(float v) { return Variant(Data(std::in_place_index<5>, v)); }
  static Variant R8(double v) { return Variant(Data(std::in_place_index<6>, v)); }
  static Variant Str(std::u16string v) { return Variant(Data(std::in_place_index<7>, std::move(v))); }
  static Variant Object(ObjectRef v) { return Variant(Data(std::in_place_index<8>, std::move(v))); }
  static Variant Null() { return Variant(Data(std::in_place_index<9>, NullValue{})); }
  static Variant Currency(int64_t tenThousandths) { return Variant(Data(std::in_place_index<10>, CurrencyValue{tenThousandths})); }
  static Variant Date(double serial) { return Variant(Data(std::in_place_index<11>, DateValue{serial})); }

  VarType type() const { return static_cast<VarType>(data_.index()); }

  // Accessors for a variant known to hold the type (checked by the caller).
  int16_t i2() const { return std::get<1>(data_); }
  int32_t i4() const { return std::get<2>(data_); }
  uint8_t ui1() const { return std::get<3>(data_); }
  int16_t boolean() const { return std::get<4>(data_).value; }
  float r4() const { return std::get<5>(data_); }
  double r8() const { return std::get<6>(data_); }
  const std::u16string& str() const { return std::get<7>(data_); }
  const ObjectRef& object() const { return std::get<8>(data_); }
  int64_t currency() const { return std::get<10>(data_).value; }
  double date() const { return std::get<11>(data_).value; }

  bool operator==(const Variant&) const = default;

 private:
  struct NullValue {
    bool operator==(const NullValue&) const = default;
  };
  struct CurrencyValue {
    int64_t value = 0;
    bool operator==(const CurrencyValue&) const = default;
  };
  struct DateValue {
    double value = 0;
    bool operator==(const DateValue&) const = default;
  };
  using Data = std::variant<std::monostate, int16_t, int32_t, uint8_t, Bool16, float, double, std::u16string, ObjectRef,
                            NullValue, CurrencyValue, DateValue>;
  explicit Variant(Data d) : data_(std::move(d)) {}
  Data data_;
};

}  // namespace delvorin
