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
struct PageSet { std::u16string controle; std::u16string value; };
struct PageClick { std::u16string controle; };
using Step = std::variant<Write, Read, Focus, Leave, Type, Paste, Key, Select, AtualizaStep, Resize, PageLoad,
                           PageApply, PageLeave, PageShow, PageAbout, PageSet, PageClick>;

struct KeyName { std::string_view name; int16_t code; int16_t shift; };
constexpr KeyName kTeclas[] = {
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
bool LePar(std::string_view s, T& a, T& b) {
  size_t virgula = s.find(',');
  if (virgula == std::string_view::npos) return false;
  return ParseNumber(s.substr(0, virgula), a) && ParseNumber(s.substr(virgula + 1), b);
}

std::optional<Step> Interpreta(std::string_view arg) {
  auto depois = [&](std::string_view prefixo) -> std::optional<std::string_view> {
    if (arg.substr(0, prefixo.size()) == prefixo) return arg.substr(prefixo.size());
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
  if (auto r = depois("page:set:")) {
    size_t igual = r->find('=');
    if (igual == std::string_view::npos || igual == 0) return std::nullopt;
    return PageSet{DeUtf8(r->substr(0, igual)), DeUtf8(r->substr(igual + 1))};
  }
  if (auto r = depois("page:click:")) {
    if (r->empty()) return std::nullopt;
    return PageClick{DeUtf8(*r)};
  }
  if (depois("page:")) return std::nullopt;
  if (auto r = depois("?")) {
    if (r->empty()) return std::nullopt;
    return Read{std::string(*r)};
  }
  if (auto r = depois("type:")) return Type{DeUtf8(*r)};
  if (auto r = depois("paste:")) return Paste{DeUtf8(*r)};
  if (auto r = depois("key:")) {
    for (const KeyName& t : kTeclas)
      if (t.name == *r) return Key{t.code, t.shift};
    return std::nullopt;
  }
  if (auto r = depois("select:")) {
    Select s{};
    if (!LePar(*r, s.start, s.length) || s.start < 0 || s.length < 0) return std::nullopt;
    return s;
  }
  if (auto r = depois("resize:")) {
    Resize s{};
    if (!LePar(*r, s.width, s.height)) return std::nullopt;
    return s;
  }
  size_t igual = arg.find('=');
  if (igual != std::string_view::npos && igual > 0)
    return Write{std::string(arg.substr(0, igual)), std::string(arg.substr(igual + 1))};
  return std::nullopt;
}

constexpr std::string_view kUso =
    "usage: delvorin [--events] STEP...\n"
    "steps: NAME=VALUE  ?NAME  focus  blur  type:TEXT  paste:TEXT  key:NAME  select:START,LENGTH\n"
    "       atualiza  resize:WIDTH,HEIGHT\n"
    "       page:load  page:set:CONTROL=VALUE  page:click:CONTROL  page:leave  page:apply\n"
    "       page:show  page:about\n"
    "keys:  enter tab backspace delete shift+delete ctrl+shift+delete home end left right\n"
    "       ctrl+v shift+insert\n";

class Session {
 public:
  Session(std::ostream& out, bool eventos) : out_(out), selected_({&form_.control()}), pagina_(selected_) {
    auto mostra = [this](const headless::MessageBoxShown& m) {
      out_ << "msgbox: " << m.style << ' ' << ParaUtf8(m.title) << ": " << ParaUtf8(m.prompt) << '\n';
    };
    form_.runtime().onMessageBox = mostra;
    pagina_.surface().onMessageBox = mostra;
    if (eventos) form_.host().observer = [this](const std::u16string& linha) { out_ << ParaUtf8(linha) << '\n'; };
  }

  bool Executa(const Step& step) { return std::visit([this](const auto& p) { return Faz(p); }, step); }

 private:
  bool Falha(std::string_view name, std::string_view description) {
    out_ << "error: " << name << ": " << description << '\n';
    return false;
  }

  const PropertyDescription* PropertyNamed(const std::string& name) { return FindProperty(DeUtf8(name)); }

  bool Faz(const Write& p) {
    const PropertyDescription* d = PropertyNamed(p.name);
    if (!d) return Falha(p.name, Status(Status::kUnknownName).Description());
    Status s = form_.control().Put(d->id, Variant::Str(DeUtf8(p.value)));
    form_.ProcessQueuedKeys();
    return s.ok() || Falha(p.name, s.Description());
  }
  bool Faz(const Read& p) {
    const PropertyDescription* d = PropertyNamed(p.name);
    if (!d) return Falha(p.name, Status(Status::kUnknownName).Description());
    Variant v;
    Status s = form_.control().Get(d->id, v);
    if (!s.ok()) return Falha(p.name, s.Description());
    out_ << ParaUtf8(ToDisplayText(v)) << '\n';
    return true;
  }
  bool Faz(const Focus&) { form_.Focus(); return true; }
  bool Faz(const Leave&) { form_.Blur(); return true; }
  bool Faz(const AtualizaStep&) {
    (void)form_.control().Atualiza();
    form_.ProcessQueuedKeys();
    return true;
  }
  bool Faz(const Type& p) {
    if (!form_.FieldHasFocus()) return Falha("type", "the field does not have the focus");
    form_.Type(p.text);
    return true;
  }
  bool Faz(const Paste& p) {
    if (!form_.FieldHasFocus()) return Falha("paste", "the field does not have the focus");
    form_.Paste(p.text);
    return true;
  }
  bool Faz(const Key& p) {
    if (!form_.FieldHasFocus()) return Falha("key", "the field does not have the focus");
    form_.PressKey(p.code, p.shift);
    return true;
  }
  bool Faz(const Select& p) {
    Status s = form_.txo().SetSelStart(p.start);
    if (s.ok()) s = form_.txo().SetSelLength(p.length);
    return s.ok() || Falha("select", s.Description());
  }
  bool Faz(const Resize& p) {
    Status s = form_.Resize(p.width, p.height);
    return s.ok() || Falha("resize", s.Description());
  }
  bool Faz(const PageLoad&) { return Conclui("page:load", pagina_.Load()); }
  bool Faz(const PageApply&) {
    Result r = pagina_.Apply();
    form_.ProcessQueuedKeys();
    return Conclui("page:apply", r);
  }
  bool Faz(const PageLeave&) { return Conclui("page:leave", pagina_.Leave()); }
  bool Faz(const PageSet& p) { return Conclui("page:set:" + ParaUtf8(p.controle), pagina_.Set(p.controle, p.value)); }
  bool Faz(const PageClick& p) { return Conclui("page:click:" + ParaUtf8(p.controle), pagina_.Click(p.controle)); }
  bool Faz(const PageShow&) {
    Imprime(pagina_.surface().Lines());
    return true;
  }
  bool Faz(const PageAbout&) {
    Imprime(headless::PageSurfaceHeadless(kAboutPage).Lines());
    return true;
  }

  bool Conclui(const std::string& step, const Result& r) { return r.ok() || Falha(step, ParaUtf8(r.description)); }
  void Imprime(const std::vector<std::u16string>& linhas) {
    for (const std::u16string& l : linhas) out_ << ParaUtf8(l) << '\n';
  }

  std::ostream& out_;
  Form form_;
  headless::PropertyAccessHeadless selected_;
  headless::GeneralPageDialog pagina_;
};

}  // namespace

int ExecutaSessao(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  size_t first = 0;
  bool eventos = false;
  if (!arguments.empty() && arguments[0] == "--events") {
    eventos = true;
    first = 1;
  }
  std::vector<Step> passos;
  for (size_t i = first; i < arguments.size(); ++i) {
    std::optional<Step> p = Interpreta(arguments[i]);
    if (!p) {
      err << "delvorin: cannot parse step '" << arguments[i] << "'\n" << kUso;
      return 2;
    }
    passos.push_back(std::move(*p));
  }
  if (passos.empty()) {
    err << kUso;
    return 2;
  }
  Session sessao(out, eventos);
  bool tudoCerto = true;
  for (const Step& p : passos) tudoCerto = sessao.Executa(p) && tudoCerto;
  out.flush();
  return tudoCerto ? 0 : 1;
}

}  // namespace delvorin::cli
