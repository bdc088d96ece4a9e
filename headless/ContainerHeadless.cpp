#include "headless/ContainerHeadless.h"

#include <algorithm>

#include "format/Moeda.h"
#include "headless/CaseMap.h"
#include "headless/Objects.h"

namespace delvorin::headless {
namespace {
std::u16string Num(int64_t v) {
  std::string s = std::to_string(v);
  return std::u16string(s.begin(), s.end());
}
}  // namespace

ContainerHeadless::ContainerHeadless() : ambientFont_(MakeFont(u"MS Sans Serif", 8.25)) {}

void ContainerHeadless::Record(std::u16string line) {
  log_.push_back(line);
  if (observer) observer(log_.back());
}

int ContainerHeadless::Count(std::u16string_view line) const {
  return static_cast<int>(std::count(log_.begin(), log_.end(), line));
}

Status ContainerHeadless::PropertyChanged(std::u16string_view name) {
  if (failNotices_) return Status(Status::kFail);
  Record(u"notice: " + std::u16string(name));
  return Status::Ok();
}

void ContainerHeadless::RaiseMouseMove(int16_t& button, int16_t& shift, float& x, float& y) {
  Record(u"event: MouseMove " + Num(button) + u" " + Num(shift) + u" " + GeneralForm(x) + u" " + GeneralForm(y));
  if (onMouseMove) onMouseMove(button, shift, x, y);
}

void ContainerHeadless::RaiseChange() {
  Record(u"event: Change");
  if (onChange) onChange();
}

void ContainerHeadless::RaiseKeyDown(int16_t& keyCode, int16_t& shift) {
  Record(u"event: KeyDown " + Num(keyCode) + u" " + Num(shift));
  if (onKeyDown) onKeyDown(keyCode, shift);
}

void ContainerHeadless::RaiseKeyPress(int16_t& keyAscii) {
  Record(u"event: KeyPress " + Num(keyAscii));
  if (onKeyPress) onKeyPress(keyAscii);
}

void ContainerHeadless::RaiseTeclaEnter() {
  Record(u"event: TeclaEnter");
  if (onTeclaEnter) onTeclaEnter();
}

void RuntimeHeadless::MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) {
  shown_.push_back({std::u16string(prompt), style, std::u16string(title)});
  if (onMessageBox) onMessageBox(shown_.back());
}

Status RuntimeHeadless::SendKeys(std::u16string_view keys) {
  queue_.emplace_back(keys);
  sent_.emplace_back(keys);
  return Status::Ok();
}

std::u16string RuntimeHeadless::TakeQueuedKeys() {
  if (queue_.empty()) return u"";
  std::u16string keys = std::move(queue_.front());
  queue_.pop_front();
  return keys;
}

std::u16string RuntimeHeadless::UCase(std::u16string_view text) { return UpperCaseTextBmp(text); }
std::u16string RuntimeHeadless::LCase(std::u16string_view text) { return LowerCaseTextBmp(text); }

Status PropertyBagHeadless::Read(std::u16string_view key, Variant& value, const Variant& defaultValue) {
  std::u16string k(key);
  readOrder_.push_back(k);
  if (auto f = failures_.find(k); f != failures_.end()) return f->second;
  auto it = values_.find(k);
  value = it == values_.end() ? defaultValue : it->second;
  return Status::Ok();
}

Status PropertyBagHeadless::Write(std::u16string_view key, const Variant& value, const Variant&) {
  std::u16string k(key);
  writeOrder_.push_back(k);
  if (auto f = failures_.find(k); f != failures_.end()) return f->second;
  values_[k] = value;
  return Status::Ok();
}

}  // namespace delvorin::headless
