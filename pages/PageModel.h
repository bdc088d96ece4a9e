#pragma once
// A property page described as data: its client area, its caption and every child control
// with what a dialog needs to build it (kind, caption, tooltip, colours, font, position in
// twips, tab index, list items, length limit). The Windows server builds its dialogs from
// these tables; the headless surface builds its in-memory controls from them.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace delvorin {

enum class ChildKind : uint8_t {
  Label,     // label
  List,      // drop-down list: a combo box that only offers its items
  TextBox,   // single-line text box
  CheckBox,  // check box: 0 clear, 1 ticked, 2 grayed
  Line,      // separator line
  Frame,     // frame holding other controls
};

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  constexpr bool operator==(const Rgb&) const = default;
};

struct FontDescription {
  std::u16string_view name = {};
  double points = 0;
  bool bold = false;
  bool italic = false;
};

// Twips. For a line, the segment from (left, top) to (left + width, top + height).
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

enum class Alignment : uint8_t { Left, Centre };

inline constexpr int16_t kNoTab = -1;  // no tab index (lines)
inline constexpr int kNoFrame = -1;    // placed on the page itself

struct ChildDescription {
  std::u16string_view name = {};
  ChildKind type = ChildKind::Label;
  std::u16string_view caption = {};          // labels, check boxes, frames
  std::u16string_view tooltip = {};          // tooltip; empty: none
  std::optional<Rgb> textColour = {};        // none: the system's colour
  std::optional<Rgb> backColour = {};
  std::optional<FontDescription> font = {};  // none: the page's font
  Rect position = {};                     // relative to the frame when inside one
  int16_t tabIndex = kNoTab;
  std::span<const std::u16string_view> items = {};  // lists: added when the page is created
  int32_t maxLength = 0;                     // text boxes: characters the user may type, 0 any
  bool multiLine = false;                    // the caption wraps over several lines
  Alignment alignment = Alignment::Left;
  bool visible = true;                       // visible when the page is created
  int frame = kNoFrame;                      // index of the frame that holds it
};

struct PageDescription {
  std::u16string_view name = {};
  std::u16string_view title = {};  // the caption on the page's tab
  int32_t width = 0;               // client area, twips
  int32_t height = 0;
  FontDescription font = {};       // for the controls that give no font of their own
  std::span<const ChildDescription> children = {};
};

// Index of the child control of that exact name, or -1.
constexpr int FindChild(const PageDescription& page, std::u16string_view name) {
  for (size_t i = 0; i < page.children.size(); ++i)
    if (page.children[i].name == name) return static_cast<int>(i);
  return -1;
}

// Colours the pages use.
inline constexpr Rgb kDarkBlue{0, 0, 192};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kLightYellow{255, 255, 192};
inline constexpr Rgb kDarkRed{192, 0, 0};
inline constexpr Rgb kGrey{128, 128, 128};
inline constexpr Rgb kBlue{0, 0, 255};

// The dialog font of the platform, for controls without a font of their own.
inline constexpr FontDescription kDialogFont{u"MS Sans Serif", 8.25, false, false};

}  // namespace delvorin
