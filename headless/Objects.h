#pragma once
// In-memory font and picture objects for the Font and MouseIcon properties.
#include <memory>
#include <string>

#include "core/Variant.h"

namespace delvorin::headless {

class Font final : public AutomationObject {
 public:
  Font(std::u16string name, double size) : name_(std::move(name)), size_(size) {}
  std::u16string Describe() const override;
  const std::u16string& name() const { return name_; }
  double size() const { return size_; }

 private:
  std::u16string name_;
  double size_;
};

class Picture final : public AutomationObject {
 public:
  explicit Picture(std::u16string name) : name_(std::move(name)) {}
  std::u16string Describe() const override { return name_; }

 private:
  std::u16string name_;
};

inline ObjectRef MakeFont(std::u16string name, double size) { return std::make_shared<Font>(std::move(name), size); }

}  // namespace delvorin::headless
