#pragma once
// The Geral property page: loads 20 properties of the first selected object into its child
// controls, shows the options that matter for the chosen type, and writes them back on
// Apply. It holds nothing between notifications: the state is in the surface's controls.
#include "pages/PropertyAccess.h"
#include "pages/GeneralPageModel.h"
#include "pages/Result.h"
#include "pages/PageSurface.h"

namespace delvorin {

// Style of the message box that reports a failed apply: an OK button only, no icon.
inline constexpr int32_t kOkOnlyStyle = 0;

class GeneralPage {
 public:
  GeneralPage(PageSurface& surface, PropertyAccess& selected)
      : surface_(surface), selected_(selected) {}

  // Page creation, once per page: fills the four lists and sets the tooltip of chkAspas.
  Result Create();
  // Selection change: each bound control takes its property from the first selected
  // object, then each list its index from its text box; the handlers of every control the
  // load alters run, so the page reports itself changed and shows the loaded type's options.
  // A property newer than the 1.0 interface that the object does not have grays its control.
  // The state's list is loaded after the others, from UF, then the mask.
  Result Load();
  // Apply: writes the properties in order to the first selected object. The first write
  // that fails stops it; its description is shown in an untitled OK-only message box and
  // returned. A property newer than the 1.0 interface that the object does not have is
  // left out; UF and then Mascara are written last. After a complete apply nothing is left to apply: the changed flag is cleared.
  Result Apply();

  // The user's actions. Click of a list (after the user chose in it) or of a check box.
  Result Click(GeneralChild child);
  // Change of a text box.
  void Change(GeneralChild child);
  // The focus left a control: a negative number in txtMaxLength becomes "0".
  Result LostFocus(GeneralChild child);

 private:
  Result ListClick(GeneralChild list);
  Result PutText(GeneralChild child, std::u16string_view text);
  Result PutValue(GeneralChild child, int16_t value);
  Result Choose(GeneralChild list, std::u16string_view code);
  Result ApplyVisibility(int type);
  Result LoadUf();
  Result LoadBinding(const GeneralBinding& binding);
  Result WriteBinding(const GeneralBinding& binding);
  Result WriteAll();

  PageSurface& surface_;
  PropertyAccess& selected_;
};

}  // namespace delvorin
