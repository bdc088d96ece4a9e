#pragma once
// An in-memory container and runtime. The container records every property-changed notice
// and event as a line ("notice: Text", "event: KeyPress 97") and lets a test install
// handlers that change by-reference arguments or re-enter the control. The runtime records
// message boxes and queues "{tab}" until the driver processes it.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/Services.h"

namespace delvorin::headless {

class ContainerHeadless final : public Container {
 public:
  ContainerHeadless();

  Status PropertyChanged(std::u16string_view name) override;
  void RaiseMouseMove(int16_t& button, int16_t& shift, float& x, float& y) override;
  void RaiseChange() override;
  void RaiseKeyDown(int16_t& keyCode, int16_t& shift) override;
  void RaiseKeyPress(int16_t& keyAscii) override;
  void RaiseTeclaEnter() override;
  ObjectRef AmbientFont() override { return ambientFont_; }
  float Width() const override { return width_; }
  float Height() const override { return height_; }
  void AccessibleChanged(AccessibleChange what) override { accessibleChanges.push_back(what); }

  void SetSize(float width, float height) { width_ = width; height_ = height; }
  void SetAmbientFont(ObjectRef font) { ambientFont_ = std::move(font); }
  // Makes property-changed notices fail, as a container that refuses them.
  void set_fail_notices(bool fail) { failNotices_ = fail; }

  // The host's handlers; each runs synchronously before the control continues.
  std::function<void(int16_t&, int16_t&, float&, float&)> onMouseMove;
  std::function<void()> onChange;
  std::function<void(int16_t&, int16_t&)> onKeyDown;
  std::function<void(int16_t&)> onKeyPress;
  std::function<void()> onTeclaEnter;
  // What a screen reader was told changed, in order.
  std::vector<AccessibleChange> accessibleChanges;
  // Called with each recorded line as it happens.
  std::function<void(const std::u16string&)> observer;

  const std::vector<std::u16string>& log() const { return log_; }
  void ClearLog() { log_.clear(); }
  int Count(std::u16string_view line) const;

 private:
  void Record(std::u16string line);

  std::vector<std::u16string> log_;
  ObjectRef ambientFont_;
  float width_ = 2385;  // initial extent of a newly placed control, in twips
  float height_ = 1215;
  bool failNotices_ = false;
};

struct MessageBoxShown {
  std::u16string prompt;
  int32_t style;
  std::u16string title;
};

class RuntimeHeadless final : public Runtime {
 public:
  void MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) override;
  Status SendKeys(std::u16string_view keys) override;
  std::u16string UCase(std::u16string_view text) override;
  std::u16string LCase(std::u16string_view text) override;

  const std::vector<MessageBoxShown>& messageBoxes() const { return shown_; }
  // Called while the box is "open" (it is answered at once when the call returns).
  std::function<void(const MessageBoxShown&)> onMessageBox;

  bool HasQueuedKeys() const { return !queue_.empty(); }
  // Every keystroke string sent, in order.
  const std::vector<std::u16string>& sentKeys() const { return sent_; }
  std::u16string TakeQueuedKeys();

 private:
  std::vector<MessageBoxShown> shown_;
  std::deque<std::u16string> queue_;
  std::vector<std::u16string> sent_;
};

// A property bag kept in memory: reads give the stored value or the default; writes store
// every key (none is left out) and are recorded in order. A key can be made to fail.
class PropertyBagHeadless final : public PropertyBag {
 public:
  Status Read(std::u16string_view key, Variant& value, const Variant& defaultValue) override;
  Status Write(std::u16string_view key, const Variant& value, const Variant& defaultValue) override;

  void Set(std::u16string key, Variant value) { values_[std::move(key)] = std::move(value); }
  bool Has(std::u16string_view key) const { return values_.count(std::u16string(key)) != 0; }
  const Variant& Get(std::u16string_view key) const { return values_.at(std::u16string(key)); }
  void FailOn(std::u16string key, Status status) { failures_[std::move(key)] = status; }

  const std::vector<std::u16string>& readOrder() const { return readOrder_; }
  const std::vector<std::u16string>& writeOrder() const { return writeOrder_; }
  const std::map<std::u16string, Variant>& values() const { return values_; }

 private:
  std::map<std::u16string, Variant> values_;
  std::map<std::u16string, Status> failures_;
  std::vector<std::u16string> readOrder_;
  std::vector<std::u16string> writeOrder_;
};

}  // namespace delvorin::headless
