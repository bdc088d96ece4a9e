#include "cli/Sessao.h"

#include <charconv>
#include <optional>
#include <ostream>
#include <variant>

#include "cli/Utf8.h"
#include "headless/Form.h"
#include "headless/GeralDialog.h"
#include "headless/PropertyAccess.h"
#include "pages/ModeloSobre.h"

namespace delvorin::cli {
namespace {

using headless::Form;
namespace vk = headless::vk;

struct Escreve { std::string nome; std::string valor; };
struct Le { std::string nome; };
struct Foco {};
struct Sai {};
struct Digita { std::u16string texto; };
struct Cola { std::u16string texto; };
struct Tecla { int16_t codigo; int16_t shift; };
struct Seleciona { int32_t inicio; int32_t comprimento; };
struct Atualiza {};
struct Redimensiona { float largura; float altura; };
// Steps on the Geral page (and the Sobre page, shown only).
struct PaginaCarrega {};
struct PaginaAplica {};
struct PaginaSai {};
struct PaginaMostra {};
struct PaginaSobre {};
struct PaginaDefine { std::u16string controle; std::u16string valor; };
struct PaginaClica { std::u16string controle; };
using Passo = std::variant<Escreve, Le, Foco, Sai, Digita, Cola, Tecla, Seleciona, Atualiza, Redimensiona, PaginaCarrega,
                           PaginaAplica, PaginaSai, PaginaMostra, PaginaSobre, PaginaDefine, PaginaClica>;

struct NomeTecla { std::string_view nome; int16_t codigo; int16_t shift; };
constexpr NomeTecla kTeclas[] = {
    {"enter", vk::Return, 0}, {"tab", vk::Tab, 0}, {"backspace", vk::Back, 0},
    {"delete", vk::Delete, 0}, {"shift+delete", vk::Delete, 1}, {"ctrl+shift+delete", vk::Delete, 3},
    {"home", vk::Home, 0}, {"end", vk::End, 0}, {"left", vk::Left, 0}, {"right", vk::Right, 0},
    {"ctrl+v", vk::V, 2}, {"shift+insert", vk::Insert, 1},
};

template <typename T>
bool LeNumero(std::string_view s, T& v) {
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size();
}

template <typename T>
bool LePar(std::string_view s, T& a, T& b) {
  size_t virgula = s.find(',');
  if (virgula == std::string_view::npos) return false;
  return LeNumero(s.substr(0, virgula), a) && LeNumero(s.substr(virgula + 1), b);
}

std::optional<Passo> Interpreta(std::string_view arg) {
  auto depois = [&](std::string_view prefixo) -> std::optional<std::string_view> {
    if (arg.substr(0, prefixo.size()) == prefixo) return arg.substr(prefixo.size());
    return std::nullopt;
  };
  if (arg == "focus") return Foco{};
  if (arg == "blur") return Sai{};
  if (arg == "atualiza") return Atualiza{};
  if (arg == "page:load") return PaginaCarrega{};
  if (arg == "page:apply") return PaginaAplica{};
  if (arg == "page:leave") return PaginaSai{};
  if (arg == "page:show") return PaginaMostra{};
  if (arg == "page:about") return PaginaSobre{};
  if (auto r = depois("page:set:")) {
    size_t igual = r->find('=');
    if (igual == std::string_view::npos || igual == 0) return std::nullopt;
    return PaginaDefine{DeUtf8(r->substr(0, igual)), DeUtf8(r->substr(igual + 1))};
  }
  if (auto r = depois("page:click:")) {
    if (r->empty()) return std::nullopt;
    return PaginaClica{DeUtf8(*r)};
  }
  if (depois("page:")) return std::nullopt;
  if (auto r = depois("?")) {
    if (r->empty()) return std::nullopt;
    return Le{std::string(*r)};
  }
  if (auto r = depois("type:")) return Digita{DeUtf8(*r)};
  if (auto r = depois("paste:")) return Cola{DeUtf8(*r)};
  if (auto r = depois("key:")) {
    for (const NomeTecla& t : kTeclas)
      if (t.nome == *r) return Tecla{t.codigo, t.shift};
    return std::nullopt;
  }
  if (auto r = depois("select:")) {
    Seleciona s{};
    if (!LePar(*r, s.inicio, s.comprimento) || s.inicio < 0 || s.comprimento < 0) return std::nullopt;
    return s;
  }
  if (auto r = depois("resize:")) {
    Redimensiona s{};
    if (!LePar(*r, s.largura, s.altura)) return std::nullopt;
    return s;
  }
  size_t igual = arg.find('=');
  if (igual != std::string_view::npos && igual > 0)
    return Escreve{std::string(arg.substr(0, igual)), std::string(arg.substr(igual + 1))};
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

class Sessao {
 public:
  Sessao(std::ostream& out, bool eventos) : out_(out), selecionado_({&form_.control()}), pagina_(selecionado_) {
    auto mostra = [this](const headless::MessageBoxShown& m) {
      out_ << "msgbox: " << m.style << ' ' << ParaUtf8(m.title) << ": " << ParaUtf8(m.prompt) << '\n';
    };
    form_.runtime().onMessageBox = mostra;
    pagina_.surface().onMessageBox = mostra;
    if (eventos) form_.host().observer = [this](const std::u16string& linha) { out_ << ParaUtf8(linha) << '\n'; };
  }

  bool Executa(const Passo& passo) { return std::visit([this](const auto& p) { return Faz(p); }, passo); }

 private:
  bool Falha(std::string_view nome, std::string_view descricao) {
    out_ << "error: " << nome << ": " << descricao << '\n';
    return false;
  }

  const DescricaoPropriedade* Propriedade(const std::string& nome) { return ProcuraPropriedade(DeUtf8(nome)); }

  bool Faz(const Escreve& p) {
    const DescricaoPropriedade* d = Propriedade(p.nome);
    if (!d) return Falha(p.nome, Status(Status::kUnknownName).Descricao());
    Status s = form_.control().Put(d->id, Variant::Str(DeUtf8(p.valor)));
    form_.ProcessQueuedKeys();
    return s.ok() || Falha(p.nome, s.Descricao());
  }
  bool Faz(const Le& p) {
    const DescricaoPropriedade* d = Propriedade(p.nome);
    if (!d) return Falha(p.nome, Status(Status::kUnknownName).Descricao());
    Variant v;
    Status s = form_.control().Get(d->id, v);
    if (!s.ok()) return Falha(p.nome, s.Descricao());
    out_ << ParaUtf8(ToDisplayText(v)) << '\n';
    return true;
  }
  bool Faz(const Foco&) { form_.Focus(); return true; }
  bool Faz(const Sai&) { form_.Blur(); return true; }
  bool Faz(const Atualiza&) {
    (void)form_.control().Atualiza();
    form_.ProcessQueuedKeys();
    return true;
  }
  bool Faz(const Digita& p) {
    if (!form_.FieldHasFocus()) return Falha("type", "the field does not have the focus");
    form_.Type(p.texto);
    return true;
  }
  bool Faz(const Cola& p) {
    if (!form_.FieldHasFocus()) return Falha("paste", "the field does not have the focus");
    form_.Paste(p.texto);
    return true;
  }
  bool Faz(const Tecla& p) {
    if (!form_.FieldHasFocus()) return Falha("key", "the field does not have the focus");
    form_.PressKey(p.codigo, p.shift);
    return true;
  }
  bool Faz(const Seleciona& p) {
    Status s = form_.txo().SetSelStart(p.inicio);
    if (s.ok()) s = form_.txo().SetSelLength(p.comprimento);
    return s.ok() || Falha("select", s.Descricao());
  }
  bool Faz(const Redimensiona& p) {
    Status s = form_.Resize(p.largura, p.altura);
    return s.ok() || Falha("resize", s.Descricao());
  }
  bool Faz(const PaginaCarrega&) { return Conclui("page:load", pagina_.Load()); }
  bool Faz(const PaginaAplica&) {
    Resultado r = pagina_.Apply();
    form_.ProcessQueuedKeys();
    return Conclui("page:apply", r);
  }
  bool Faz(const PaginaSai&) { return Conclui("page:leave", pagina_.Leave()); }
  bool Faz(const PaginaDefine& p) { return Conclui("page:set:" + ParaUtf8(p.controle), pagina_.Set(p.controle, p.valor)); }
  bool Faz(const PaginaClica& p) { return Conclui("page:click:" + ParaUtf8(p.controle), pagina_.Click(p.controle)); }
  bool Faz(const PaginaMostra&) {
    Imprime(pagina_.surface().Lines());
    return true;
  }
  bool Faz(const PaginaSobre&) {
    Imprime(headless::HeadlessPageSurface(kPaginaSobre).Lines());
    return true;
  }

  bool Conclui(const std::string& passo, const Resultado& r) { return r.ok() || Falha(passo, ParaUtf8(r.descricao)); }
  void Imprime(const std::vector<std::u16string>& linhas) {
    for (const std::u16string& l : linhas) out_ << ParaUtf8(l) << '\n';
  }

  std::ostream& out_;
  Form form_;
  headless::HeadlessPropertyAccess selecionado_;
  headless::GeralDialog pagina_;
};

}  // namespace

int ExecutaSessao(const std::vector<std::string>& argumentos, std::ostream& out, std::ostream& err) {
  size_t primeiro = 0;
  bool eventos = false;
  if (!argumentos.empty() && argumentos[0] == "--events") {
    eventos = true;
    primeiro = 1;
  }
  std::vector<Passo> passos;
  for (size_t i = primeiro; i < argumentos.size(); ++i) {
    std::optional<Passo> p = Interpreta(argumentos[i]);
    if (!p) {
      err << "delvorin: cannot parse step '" << argumentos[i] << "'\n" << kUso;
      return 2;
    }
    passos.push_back(std::move(*p));
  }
  if (passos.empty()) {
    err << kUso;
    return 2;
  }
  Sessao sessao(out, eventos);
  bool tudoCerto = true;
  for (const Passo& p : passos) tudoCerto = sessao.Executa(p) && tudoCerto;
  out.flush();
  return tudoCerto ? 0 : 1;
}

}  // namespace delvorin::cli
