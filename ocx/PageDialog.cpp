#include "ocx/PageDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ocx/Screen.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace delvorin::ocx {
namespace {

HINSTANCE Instancia() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

std::wstring Largo(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

COLORREF Cor(const Rgb& c) { return RGB(c.r, c.g, c.b); }

// Pixels per inch of the screen, horizontally and vertically.
POINT Dpi() { return {DpiTela(true), DpiTela(false)}; }

// An empty child dialog: the controls are created over it in pixels. DS_CONTROL makes it a
// control parent, so that the frame's dialog navigation (Tab) reaches into it.
struct alignas(4) ModeloVazio {
  DLGTEMPLATE modelo;
  WORD menu, classe, titulo;
};
const ModeloVazio kModelo = {{WS_CHILD | DS_CONTROL | DS_3DLOOK, WS_EX_CONTROLPARENT, 0, 0, 0, 0, 0}, 0, 0, 0};

// Room for the items of an open list below its selection field.
constexpr int kAlturaListaTwips = 2400;

}  // namespace

SIZE PageDialog::Tamanho(const PageDescription& pagina) {
  const POINT dpi = Dpi();
  return {MulDiv(pagina.largura, dpi.x, 1440), MulDiv(pagina.altura, dpi.y, 1440)};
}

RECT PageDialog::Posicao(const PageDescription& pagina, int indice) {
  if (indice < 0 || indice >= static_cast<int>(pagina.filhos.size())) return {};
  const ChildDescription& d = pagina.filhos[static_cast<size_t>(indice)];
  Rect p = d.posicao;
  if (d.moldura >= 0 && d.moldura < static_cast<int>(pagina.filhos.size())) {
    p.esquerda += pagina.filhos[static_cast<size_t>(d.moldura)].posicao.esquerda;
    p.topo += pagina.filhos[static_cast<size_t>(d.moldura)].posicao.topo;
  }
  const POINT dpi = Dpi();
  RECT r{MulDiv(p.esquerda, dpi.x, 1440), MulDiv(p.topo, dpi.y, 1440), MulDiv(p.esquerda + p.largura, dpi.x, 1440),
         MulDiv(p.topo + p.altura, dpi.y, 1440)};
  if (d.tipo == ChildKind::Linha) {  // an etched line is two pixels thick
    if (r.bottom - r.top < 2) r.bottom = r.top + 2;
    if (r.right - r.left < 2) r.right = r.left + 2;
  }
  return r;
}

HRESULT PageDialog::Cria(HWND pai, const RECT& area) {
  if (janela_) return E_UNEXPECTED;
  INITCOMMONCONTROLSEX controles{sizeof(controles), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controles);  // the tooltip class
  HWND h = CreateDialogIndirectParamW(Instancia(), &kModelo.modelo, pai, Procedimento, reinterpret_cast<LPARAM>(this));
  if (!h) {
    const DWORD erro = GetLastError();
    return erro ? HRESULT_FROM_WIN32(erro) : E_FAIL;
  }
  MoveWindow(janela_, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
  HRESULT hr = CriaFilhos();
  if (FAILED(hr)) Destroi();
  return hr;
}

void PageDialog::Destroi() {
  if (janela_) {
    Muted silencio(*this);  // a text box losing the focus as it goes is no user's action
    DestroyWindow(janela_);
  }
  if (janela_) {  // not destroyed (another thread's window): forget it all the same
    SetWindowLongPtrW(janela_, DWLP_USER, 0);
    Libera();
  }
}

HWND PageDialog::Filho(int indice) const {
  return indice >= 0 && indice < static_cast<int>(filhos_.size()) ? filhos_[static_cast<size_t>(indice)] : nullptr;
}

int PageDialog::Indice(HWND controle) const {
  if (!controle) return -1;
  for (size_t i = 0; i < filhos_.size(); ++i)
    if (filhos_[i] == controle || listas_[i] == controle) return static_cast<int>(i);
  return -1;
}

HFONT PageDialog::Fonte(const delvorin::Fonte& f) {
  const POINT dpi = Dpi();
  const int altura = -static_cast<int>(std::lround(f.pontos * dpi.y / 72.0));
  HFONT h = CreateFontW(altura, 0, 0, 0, f.negrito ? FW_BOLD : FW_NORMAL, f.italico, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        Largo(f.nome).c_str());
  if (h) fontes_.push_back(h);
  return h;
}

HRESULT PageDialog::CriaFilhos() {
  const size_t n = pagina_.filhos.size();
  filhos_.assign(n, nullptr);
  listas_.assign(n, nullptr);
  fundos_.assign(n, nullptr);
  comDica_.assign(n, false);
  fontePagina_ = Fonte(pagina_.fonte);
  if (!fontePagina_) return E_OUTOFMEMORY;
  // Creation order is the dialog's tab order: by tab index, controls without one last.
  std::vector<int> ordem(n);
  for (size_t i = 0; i < n; ++i) ordem[i] = static_cast<int>(i);
  std::stable_sort(ordem.begin(), ordem.end(), [this](int a, int b) {
    auto chave = [this](int i) {
      const int16_t t = pagina_.filhos[static_cast<size_t>(i)].ordemTab;
      return t == kSemTab ? INT16_MAX : t;
    };
    return chave(a) < chave(b);
  });
  for (int i : ordem) {
    HRESULT hr = CriaFilho(i);
    if (FAILED(hr)) return hr;
  }
  for (size_t i = 0; i < n; ++i) {
    const ChildDescription& d = pagina_.filhos[i];
    // A frame lies under the controls it holds.
    if (d.tipo == ChildKind::Moldura)
      SetWindowPos(filhos_[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!d.dica.empty()) {
      HRESULT hr = SetDica(static_cast<int>(i), d.dica);
      if (FAILED(hr)) return hr;
    }
  }
  return S_OK;
}

HRESULT PageDialog::CriaFilho(int indice) {
  const ChildDescription& d = pagina_.filhos[static_cast<size_t>(indice)];
  const RECT r = Posicao(pagina_, indice);
  int altura = r.bottom - r.top;
  DWORD estilo = WS_CHILD | (d.visivel ? WS_VISIBLE : 0);
  DWORD estendido = 0;
  const wchar_t* classe = L"STATIC";
  std::wstring texto = Largo(d.legenda);
  switch (d.tipo) {
    case ChildKind::Rotulo:
      estilo |= d.alinhamento == Alignment::Centro ? SS_CENTER : SS_LEFT;
      break;
    case ChildKind::Lista:
      classe = L"COMBOBOX";
      estilo |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
      altura += MulDiv(kAlturaListaTwips, Dpi().y, 1440);
      texto.clear();
      break;
    case ChildKind::CaixaTexto:
      classe = L"EDIT";
      estilo |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
      estendido = WS_EX_CLIENTEDGE;
      texto.clear();  // text boxes start empty
      break;
    case ChildKind::CaixaMarcacao:
      // Not automatic: the page toggles it on a click; three states, for a grayed value.
      classe = L"BUTTON";
      estilo |= BS_3STATE | WS_TABSTOP | (d.variasLinhas ? BS_MULTILINE : 0);
      break;
    case ChildKind::Linha:
      estilo |= SS_ETCHEDHORZ;
      texto.clear();
      break;
    case ChildKind::Moldura:
      classe = L"BUTTON";
      estilo |= BS_GROUPBOX;
      break;
  }
  HWND h = CreateWindowExW(estendido, classe, texto.c_str(), estilo, r.left, r.top, r.right - r.left, altura, janela_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdBase + indice)), Instancia(), nullptr);
  if (!h) {
    const DWORD erro = GetLastError();
    return erro ? HRESULT_FROM_WIN32(erro) : E_FAIL;
  }
  filhos_[static_cast<size_t>(indice)] = h;
  HFONT fonte = d.fonte ? Fonte(*d.fonte) : fontePagina_;
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(fonte), FALSE);
  if (d.corFundo) {
    fundos_[static_cast<size_t>(indice)] = CreateSolidBrush(Cor(*d.corFundo));
    if (!fundos_[static_cast<size_t>(indice)]) return E_OUTOFMEMORY;
  }
  if (d.tipo == ChildKind::Linha)  // an etched line sizes itself to its edge: back to the table's length
    SetWindowPos(h, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (d.tipo == ChildKind::CaixaTexto && d.comprimentoMaximo > 0)
    SendMessageW(h, EM_LIMITTEXT, static_cast<WPARAM>(d.comprimentoMaximo), 0);
  if (d.tipo == ChildKind::Lista) {
    // The selection field's height follows the font; bring it to the described height. What
    // CB_SETITEMHEIGHT adds around the height it is given differs between implementations:
    // measured, and corrected once more.
    LRESULT item = SendMessageW(h, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int vez = 0; vez < 2 && item != CB_ERR; ++vez) {
      RECT janela;
      GetWindowRect(h, &janela);
      const int diferenca = (r.bottom - r.top) - (janela.bottom - janela.top);
      if (diferenca == 0 || item + diferenca <= 0) break;
      item += diferenca;
      SendMessageW(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
    }
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(h, &info)) listas_[static_cast<size_t>(indice)] = info.hwndList;
  }
  return S_OK;
}

HRESULT PageDialog::SetDica(int indice, std::u16string_view dica) {
  HWND filho = Filho(indice);
  if (!filho) return E_INVALIDARG;
  if (!dicas_) {
    dicas_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, janela_, nullptr, Instancia(),
                             nullptr);
    if (!dicas_) return E_FAIL;
    SendMessageW(dicas_, TTM_SETMAXTIPWIDTH, 0, MulDiv(4320, Dpi().x, 1440));  // long tips wrap
  }
  std::wstring texto = Largo(dica);
  TTTOOLINFOW ferramenta{};
  ferramenta.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
  ferramenta.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ferramenta.hwnd = janela_;
  ferramenta.uId = reinterpret_cast<UINT_PTR>(filho);
  ferramenta.lpszText = texto.data();
  const bool tem = comDica_[static_cast<size_t>(indice)];
  if (texto.empty()) {
    if (tem) SendMessageW(dicas_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ferramenta));
    comDica_[static_cast<size_t>(indice)] = false;
    return S_OK;
  }
  if (tem) {
    SendMessageW(dicas_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ferramenta));
    return S_OK;
  }
  if (!SendMessageW(dicas_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ferramenta))) return E_FAIL;
  comDica_[static_cast<size_t>(indice)] = true;
  return S_OK;
}

INT_PTR CALLBACK PageDialog::Procedimento(HWND janela, UINT mensagem, WPARAM wp, LPARAM lp) {
  if (mensagem == WM_INITDIALOG) {
    auto* d = reinterpret_cast<PageDialog*>(lp);
    SetWindowLongPtrW(janela, DWLP_USER, lp);
    d->janela_ = janela;
    return FALSE;  // the focus stays where the frame put it
  }
  auto* d = reinterpret_cast<PageDialog*>(GetWindowLongPtrW(janela, DWLP_USER));
  return d ? d->Mensagem(mensagem, wp, lp) : FALSE;
}

INT_PTR PageDialog::Mensagem(UINT mensagem, WPARAM wp, LPARAM lp) {
  switch (mensagem) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return Cores(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), mensagem);
    case WM_COMMAND: {
      const int indice = static_cast<int>(LOWORD(wp)) - kIdBase;
      if (lp && Filho(indice) == reinterpret_cast<HWND>(lp)) {
        Comando(indice, HIWORD(wp));
        return TRUE;
      }
      return FALSE;
    }
    case WM_NCDESTROY:
      Libera();  // the children are gone: their fonts and brushes can go
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR PageDialog::Cores(HDC dc, HWND controle, UINT mensagem) {
  const int i = Indice(controle);
  if (i < 0) return FALSE;
  const ChildDescription& d = pagina_.filhos[static_cast<size_t>(i)];
  if (!d.corTexto && !d.corFundo) return FALSE;
  if (d.corTexto) SetTextColor(dc, Cor(*d.corTexto));
  if (d.corFundo) {
    SetBkColor(dc, Cor(*d.corFundo));
    return reinterpret_cast<INT_PTR>(fundos_[static_cast<size_t>(i)]);
  }
  // Only the text has a colour of its own: the background stays the system's.
  const int sistema = mensagem == WM_CTLCOLOREDIT || mensagem == WM_CTLCOLORLISTBOX ? COLOR_WINDOW : COLOR_BTNFACE;
  SetBkColor(dc, GetSysColor(sistema));
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(sistema));
}

void PageDialog::Comando(int indice, WORD codigo) {
  if (silencio_ || !notifica_) return;
  switch (pagina_.filhos[static_cast<size_t>(indice)].tipo) {
    case ChildKind::Lista:
      if (codigo == CBN_SELCHANGE) notifica_(dono_, ChildAction::Clique, indice);
      break;
    case ChildKind::CaixaMarcacao:
      if (codigo == BN_CLICKED) {
        // As a check box does: a ticked box clears, a clear or grayed one is ticked.
        HWND h = Filho(indice);
        const bool marcada = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageW(h, BM_SETCHECK, marcada ? BST_UNCHECKED : BST_CHECKED, 0);
        notifica_(dono_, ChildAction::Clique, indice);
      }
      break;
    case ChildKind::CaixaTexto:
      if (codigo == EN_CHANGE) notifica_(dono_, ChildAction::Alteracao, indice);
      if (codigo == EN_KILLFOCUS) notifica_(dono_, ChildAction::PerdeFoco, indice);
      break;
    default:
      break;
  }
}

void PageDialog::Libera() {
  if (dicas_ && IsWindow(dicas_)) DestroyWindow(dicas_);
  dicas_ = nullptr;
  for (HFONT f : fontes_) DeleteObject(f);
  for (HBRUSH b : fundos_)
    if (b) DeleteObject(b);
  fontes_.clear();
  fontePagina_ = nullptr;
  fundos_.clear();
  filhos_.clear();
  listas_.clear();
  comDica_.clear();
  janela_ = nullptr;
}

}  // namespace delvorin::ocx
