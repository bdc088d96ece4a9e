// Random sequences of keys, focus changes, selections, assignments and property writes on a
// headless control, with host handlers that re-enter it.
#include <algorithm>
#include <vector>

#include "core/DispatchRules.h"
#include "format/DocumentTypes.h"
#include "format/Mascara.h"
#include "fuzz/FuzzInput.h"
#include "headless/Form.h"

using namespace delvorin;
namespace vk = headless::vk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput e(data, size);
  {
    // The shape of an automation call, checked as IDispatch::Invoke checks it.
    DispatchCall call;
    call.dispid = static_cast<int32_t>(0x68030000u + e.Byte()) - (e.Byte() & 1 ? 0x68030000 : 0);
    call.flags = e.Byte();
    call.argumentCount = e.Byte() % 4;
    call.argumentsGiven = e.Byte() % 8 != 0;
    std::vector<int32_t> named(e.Byte() % 4);
    for (int32_t& id : named) id = static_cast<int8_t>(e.Byte());
    call.namedCount = static_cast<uint32_t>(named.size());
    call.namedIds = e.Byte() % 8 != 0 ? named.data() : nullptr;
    uint32_t argumentError = 0;
    const Status s = CheckDispatchCall(call, argumentError);
    if (!s.ok() && s.Description().empty()) __builtin_trap();
  }
  headless::Form form;
  Delvorin& c = form.control();
  int reentries = 0;
  uint8_t mode = e.Byte();
  if (mode & 1) {
    form.host().onChange = [&] {
      if (reentries < 3 && c.Text().size() == 3) {
        ++reentries;
        (void)c.SetText(u"1,5");
      }
    };
  }
  if (mode & 2) form.host().onKeyPress = [&](int16_t& k) { if (k == 'x') k = 13; };
  if (mode & 4) form.host().onKeyDown = [&](int16_t& k, int16_t& s) { if (k == vk::Delete) s = 1; };
  constexpr int16_t kKeys[] = {vk::Return, vk::Back, vk::Delete, vk::Home, vk::End, vk::Left, vk::Right, vk::Tab,
                               vk::Insert, vk::V};
  for (int step = 0; step < 64 && !e.empty(); ++step) {
    switch (e.Byte() % 11) {
      case 0: form.Focus(); break;
      case 1: form.Blur(); break;
      case 2: form.Type(e.Text(8)); break;
      case 3: form.PressKey(kKeys[e.Byte() % 10], static_cast<int16_t>(e.Byte() % 4)); break;
      case 9: {
        // Each pasted character adds at most itself and two separators. A laid-out field may lay
        // the text already there out again, and a mask's character may bring a run of its
        // literals: there the text grows no longer than the longest layout or the mask.
        const std::u16string before = form.txo().Text();
        const std::u16string pasted = e.Text(32);
        const bool withoutReentry = !(mode & 3);
        form.Paste(pasted);
        size_t bound = before.size() + 3 * pasted.size();
        if (const DocumentType* type = DocumentTypeOf(c.Tipo())) {
          const FieldContext context{c.CnpjAlfanumerico() != 0, c.UF()};
          bound = std::max(bound, static_cast<size_t>(LongestLayout(*type, context)));
        }
        if (Layout mask; c.Tipo() == tipo::Mascara && ReadMascara(c.Mascara(), mask))
          bound = std::max({bound, before.size(), mask.length()});
        if (withoutReentry && form.txo().Text().size() > bound) __builtin_trap();
        break;
      }
      case 4: {
        int32_t start = e.Byte() % 20, length = e.Byte() % 20;
        (void)form.txo().SetSelStart(start);
        (void)form.txo().SetSelLength(length);
        break;
      }
      case 5: (void)c.SetText(e.Text(24)); break;
      case 6: {
        const PropertyDescription& d = kProperties[e.Byte() % kProperties.size()];
        (void)c.Put(d.id, Variant::Str(e.Text(6)));
        break;
      }
      case 7: {
        (void)c.Atualiza();
        Variant v;
        (void)c.Get(Property::Valor, v);
        (void)c.Get(Property::Valido, v);
        break;
      }
      case 8:
        (void)c.SetTipo(e.Byte() % 28);
        if (c.Tipo() == tipo::InscricaoEstadual) (void)c.SetUF(kUfs[e.Byte() % kUfs.size()]);
        break;
      default: (void)form.Resize(e.Byte() * 10.0f, e.Byte() * 3.0f); break;
    }
    form.ProcessQueuedKeys();
  }
  return 0;
}
