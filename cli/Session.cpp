#include "cli/Session.h"

#include <charconv>
#include <optional>
#include <ostream>
#include <variant>

#include "cli/Utf8.h"
#include "headless/Form.h"
#include "headless/GeneralPageDialog.h"
#include "headless/PropertyAccessHeadless.h"
#include "pages/AboutPageModel.h"
#include "format/Conversions.h"

namespace delvorin::cli {
namespace {

using headless::Form;
namespace vk = headless::vk;

struct Write { std::string name; std::string value; };
struct Read { std::string name; };
struct Focus {};
struct Leave {};
struct Type { std::u16string text; };
struct Paste { std::u16string text; };
struct Key { int16_t code; int16_t shift; };
struct Select { int32_t start; int32_t length; };
struct AtualizaStep {};
struct Resize { float width; float height; };
// Steps on the Geral page (and the Sobre page, shown only).
struct PageLoad {};
struct PageApply {};
struct PageLeave {};
struct PageShow {};
struct PageAbout {};
struct PageSet { std::u16string control; std::u16string value; };
struct PageClick { std::u16string control; };
using Step = std::variant<Write, Read, Focus, Leave, Type, Paste, Key, Select, AtualizaStep, Resize, PageLoad,
                           PageApply, PageLeave, PageShow, PageAbout, PageSet, PageClick>;

struct KeyName { std::string_view name; int16_t code; int16_t shift; };
constexpr KeyName kKeys[] = {
    {"enter", vk::Return, 0}, {"tab", vk::Tab, 0}, {"backspace", vk::Back, 0},
    {"delete", vk::Delete, 0}, {"shift+delete", vk::Delete, 1}, {"ctrl+shift+delete", vk::Delete, 3},
    {"home", vk::Home, 0}, {"end", vk::End, 0}, {"left", vk::Left, 0}, {"right", vk::Right, 0},
    {"ctrl+v", vk::V, 2}, {"shift+insert", vk::Insert, 1},
};

template <typename T>
bool ParseNumber(std::string_view s, T& v) {
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size();
}

template <typename T>
bool ParsePair(std::string_view s, T& a, T& b) {
  size_t comma = s.find(',');
  if (comma == std::string_view::npos) return false;
  return ParseNumber(s.substr(0, comma), a) && ParseNumber(s.substr(comma + 1), b);
}

std::optional<Step> ParseStep(std::string_view arg) {
  auto after = [&](std::string_view prefix) -> std::optional<std::string_view> {
    if (arg.substr(0, prefix.size()) == prefix) return arg.substr(prefix.size());
    return std::nullopt;
  };
  if (arg == "focus") return Focus{};
  if (arg == "blur") return Leave{};
  if (arg == "atualiza") return AtualizaStep{};
  if (arg == "page:load") return PageLoad{};
  if (arg == "page:apply") return PageApply{};
  if (arg == "page:leave") return PageLeave{};
  if (arg == "page:show") return PageShow{};
  if (arg == "page:about") return PageAbout{};
  if (auto r = after("page:set:")) {
    size_t equals = r->find('=');
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    return PageSet{FromUtf8(r->substr(0, equals)), FromUtf8(r->substr(equals + 1))};
  }
  if (auto r = after("page:click:")) {
    if (r->empty()) return std::nullopt;
    return PageClick{FromUtf8(*r)};
  }
  if (after("page:")) return std::nullopt;
  if (auto r = after("?")) {
    if (r->empty()) return std::nullopt;
    return Read{std::string(*r)};
  }
  if (auto r = after("type:")) return Type{FromUtf8(*r)};
  if (auto r = after("paste:")) return Paste{FromUtf8(*r)};
  if (auto r = after("key:")) {
    for (const KeyName& t : kKeys)
      if (t.name == *r) return Key{t.code, t.shift};
    return std::nullopt;
  }
  if (auto r = after("select:")) {
    Select s{};
    if (!ParsePair(*r, s.start, s.length) || s.start < 0 || s.length < 0) return std::nullopt;
    return s;
  }
  if (auto r = after("resize:")) {
    Resize s{};
    if (!ParsePair(*r, s.width, s.height)) return std::nullopt;
    return s;
  }
  size_t equals = arg.find('=');
  if (equals != std::string_view::npos && equals > 0)
    return Write{std::string(arg.substr(0, equals)), std::string(arg.substr(equals + 1))};
  return std::nullopt;
}

constexpr std::string_view kUsage =
    "usage: delvorin [--events] STEP...\n"
    "steps: NAME=VALUE  ?NAME  focus  blur  type:TEXT  paste:TEXT  key:NAME  select:START,LENGTH\n"
    "       atualiza  resize:WIDTH,HEIGHT\n"
    "       page:load  page:set:CONTROL=VALUE  page:click:CONTROL  page:leave  page:apply\n"
    "       page:show  page:about\n"
    "keys:  enter tab backspace delete shift+delete ctrl+shift+delete home end left right\n"
    "       ctrl+v shift+insert\n";

class Session {
 public:
  Session(std::ostream& out, bool events) : out_(out), selected_({&form_.control()}), page_(selected_) {
    auto show = [this](const headless::MessageBoxShown& m) {
      out_ << "msgbox: " << m.style << ' ' << ToUtf8(m.title) << ": " << ToUtf8(m.prompt) << '\n';
    };
    form_.runtime().onMessageBox = show;
    page_.surface().onMessageBox = show;
    if (events) form_.host().observer = [this](const std::u16string& line) { out_ << ToUtf8(line) << '\n'; };
  }

  bool Run(const Step& step) { return std::visit([this](const auto& p) { return Do(p); }, step); }

 private:
  bool Fail(std::string_view name, std::string_view description) {
    out_ << "error: " << name << ": " << description << '\n';
    return false;
  }

  const PropertyDescription* PropertyNamed(const std::string& name) { return FindProperty(FromUtf8(name)); }

  bool Do(const Write& p) {
    const PropertyDescription* d = PropertyNamed(p.name);
    if (!d) return Fail(p.name, Status(Status::kUnknownName).Description());
    // A Variant property (Valor) also takes the words Empty and Null, as ?NAME prints them.
    Variant value = Variant::Str(FromUtf8(p.value));
    if (d->type == PropertyType::Variant && p.value == "Empty") value = Variant();
    if (d->type == PropertyType::Variant && p.value == "Null") value = Variant::Null();
    Status s = form_.control().Put(d->id, value);
    form_.ProcessQueuedKeys();
    return s.ok() || Fail(p.name, s.Description());
  }
  bool Do(const Read& p) {
    const PropertyDescription* d = PropertyNamed(p.name);
    if (!d) return Fail(p.name, Status(Status::kUnknownName).Description());
    Variant v;
    Status s = form_.control().Get(d->id, v);
    if (!s.ok()) return Fail(p.name, s.Description());
    out_ << (v.type() == VarType::Empty ? std::string("Empty") : ToUtf8(ToDisplayText(v))) << '\n';
    return true;
  }
  bool Do(const Focus&) { form_.Focus(); return true; }
  bool Do(const Leave&) { form_.Blur(); return true; }
  bool Do(const AtualizaStep&) {
    (void)form_.control().Atualiza();
    form_.ProcessQueuedKeys();
    return true;
  }
  bool Do(const Type& p) {
    if (!form_.FieldHasFocus()) return Fail("type", "the field does not have the focus");
    form_.Type(p.text);
    return true;
  }
  bool Do(const Paste& p) {
    if (!form_.FieldHasFocus()) return Fail("paste", "the field does not have the focus");
    form_.Paste(p.text);
    return true;
  }
  bool Do(const Key& p) {
    if (!form_.FieldHasFocus()) return Fail("key", "the field does not have the focus");
    form_.PressKey(p.code, p.shift);
    return true;
  }
  bool Do(const Select& p) {
    Status s = form_.txo().SetSelStart(p.start);
    if (s.ok()) s = form_.txo().SetSelLength(p.length);
    return s.ok() || Fail("select", s.Description());
  }
  bool Do(const Resize& p) {
    Status s = form_.Resize(p.width, p.height);
    return s.ok() || Fail("resize", s.Description());
  }
  bool Do(const PageLoad&) { return Report("page:load", page_.Load()); }
  bool Do(const PageApply&) {
    Result r = page_.Apply();
    form_.ProcessQueuedKeys();
    return Report("page:apply", r);
  }
  bool Do(const PageLeave&) { return Report("page:leave", page_.Leave()); }
  bool Do(const PageSet& p) { return Report("page:set:" + ToUtf8(p.control), page_.Set(p.control, p.value)); }
  bool Do(const PageClick& p) { return Report("page:click:" + ToUtf8(p.control), page_.Click(p.control)); }
  bool Do(const PageShow&) {
    Print(page_.surface().Lines());
    return true;
  }
  bool Do(const PageAbout&) {
    Print(headless::PageSurfaceHeadless(kAboutPage).Lines());
    return true;
  }

  bool Report(const std::string& step, const Result& r) { return r.ok() || Fail(step, ToUtf8(r.description)); }
  void Print(const std::vector<std::u16string>& lines) {
    for (const std::u16string& l : lines) out_ << ToUtf8(l) << '\n';
  }

  std::ostream& out_;
  Form form_;
  headless::PropertyAccessHeadless selected_;
  headless::GeneralPageDialog page_;
};

}  // namespace

int RunSession(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  size_t first = 0;
  bool events = false;
  if (!arguments.empty() && arguments[0] == "--events") {
    events = true;
    first = 1;
  }
  std::vector<Step> steps;
  for (size_t i = first; i < arguments.size(); ++i) {
    std::optional<Step> p = ParseStep(arguments[i]);
    if (!p) {
      err << "delvorin: cannot parse step '" << arguments[i] << "'\n" << kUsage;
      return 2;
    }
    steps.push_back(std::move(*p));
  }
  if (steps.empty()) {
    err << kUsage;
    return 2;
  }
  Session session(out, events);
  bool allOk = true;
  for (const Step& p : steps) allOk = session.Run(p) && allOk;
  out.flush();
  return allOk ? 0 : 1;
}

}  // namespace delvorin::cli
