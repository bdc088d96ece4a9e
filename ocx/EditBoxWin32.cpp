#include "ocx/EditBoxWin32.h"

#include <algorithm>

#include "control/EditBoxRules.h"
#include "input/Cp1252.h"
#include "ocx/ComObject.h"
#include "ocx/Screen.h"

namespace delvorin::ocx {
namespace {

int16_t EstadoShift() {
  int16_t s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= 1;
  if (GetKeyState(VK_CONTROL) < 0) s |= 2;
  if (GetKeyState(VK_MENU) < 0) s |= 4;
  return s;
}

int Pixels(float twips, bool horizontal) { return MulDiv(static_cast<int>(twips), DpiTela(horizontal), 1440); }

// Mouse positions reach the host in twips, the unit of a VB-style form's default scale.
float Twips(int pixels, bool horizontal) { return static_cast<float>(pixels) * 1440.0f / static_cast<float>(DpiTela(horizontal)); }

COLORREF Cor(const Variant& v) {
  COLORREF c = 0;
  return SUCCEEDED(OleTranslateColor(static_cast<OLE_COLOR>(v.i4()), nullptr, &c)) ? c : 0;
}

// The system cursor of each MousePointer value 1..15 (0 leaves the edit box's own): arrow,
// cross, I-beam, icon, size, NE-SW, N-S, NW-SE, W-E, up arrow, hourglass, no drop, arrow and
// hourglass, arrow and question mark, size all.
WORD CursorDoSistema(int16_t ponteiro) {
  static constexpr WORD kCursores[] = {0,     32512, 32515, 32513, 32641, 32646, 32643, 32645,
                                       32642, 32644, 32516, 32514, 32648, 32650, 32651, 32646};
  return ponteiro > 0 && ponteiro < 16 ? kCursores[ponteiro] : 0;
}

// The most of a clipboard text that one paste takes. The field is a single line and the paste
// rule raises KeyPress for every character: a text of megabytes would keep the host busy for
// minutes.
constexpr size_t kMaximoColado = 65535;

// The clipboard's text; empty when the clipboard cannot be opened or holds no text. The data
// need not end in a NUL within its block: the read stops at the block's end.
std::u16string TextoDaAreaDeTransferencia(HWND dono) {
  std::u16string texto;
  if (!OpenClipboard(dono)) return texto;
  if (HANDLE dados = GetClipboardData(CF_UNICODETEXT)) {
    const size_t unidades = std::min<size_t>(GlobalSize(dados) / sizeof(char16_t), kMaximoColado);
    if (const auto* p = static_cast<const char16_t*>(GlobalLock(dados))) {
      texto.assign(p, std::find(p, p + unidades, u'\0'));
      GlobalUnlock(dados);
    }
  }
  CloseClipboard();
  return texto;
}

}  // namespace

EditBoxWin32::~EditBoxWin32() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    DestroyWindow(hwnd_);
  }
  if (fundo_) DeleteObject(fundo_);
}

HBRUSH EditBoxWin32::Cores(HDC dc) {
  SetTextColor(dc, Cor(propriedades_[Property::ForeColor]));
  const COLORREF fundo = Cor(propriedades_[Property::BackColor]);
  SetBkColor(dc, fundo);
  if (!fundo_ || corFundo_ != fundo) {
    if (fundo_) DeleteObject(fundo_);
    fundo_ = CreateSolidBrush(fundo);
    corFundo_ = fundo;
  }
  return fundo_;
}

bool EditBoxWin32::Cria(HWND parent, EditBoxEvents* eventos, float larguraTwips, float alturaTwips) {
  eventos_ = eventos;
  // Made at the size the control will give it, so that the first resize moves nothing.
  largura_ = larguraTwips;
  altura_ = alturaTwips;
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, 0, 0,
                          Pixels(largura_, true), Pixels(altura_, false), parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  pixels_ = SIZE{Pixels(largura_, true), Pixels(altura_, false)};
  // The owner in the window's user data: every message looks it up, and a window property
  // would cost a round trip to the window system each time.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedimento)));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SendMessageW(hwnd_, EM_LIMITTEXT, 0x7FFFFFFE, 0);  // MaxLength 0: no limit
  propriedades_[Property::Alignment] = Variant::I2(0);
  propriedades_[Property::BackColor] = Variant::I4(static_cast<int32_t>(0x80000005));
  propriedades_[Property::BorderStyle] = Variant::I2(1);
  propriedades_[Property::ForeColor] = Variant::I4(static_cast<int32_t>(0x80000008));
  propriedades_[Property::Appearance] = Variant::I2(1);
  propriedades_[Property::MousePointer] = Variant::I2(0);
  propriedades_[Property::Font] = Variant::Object(nullptr);
  propriedades_[Property::MouseIcon] = Variant::Object(nullptr);
  return true;
}

void EditBoxWin32::AoMudar() {
  // Some edit controls notify a keystroke refused by the length limit as a change: only a
  // text that differs from the last one seen counts.
  std::u16string agora = Text();
  if (agora == ultimo_) return;
  ultimo_ = std::move(agora);
  if (eventos_) eventos_->TXO_Change();
}

std::u16string EditBoxWin32::Text() const {
  int n = GetWindowTextLengthW(hwnd_);
  std::u16string t(static_cast<size_t>(n) + 1, u'\0');
  n = GetWindowTextW(hwnd_, reinterpret_cast<wchar_t*>(t.data()), n + 1);
  t.resize(static_cast<size_t>(n < 0 ? 0 : n));
  return t;
}

Status EditBoxWin32::SetText(std::u16string_view text) {
  if (text == Text()) return Status::Ok();
  std::u16string t(text);
  if (!SetWindowTextW(hwnd_, reinterpret_cast<const wchar_t*>(t.c_str()))) return Status(Status::kOutOfMemory);
  return Status::Ok();
}

Status EditBoxWin32::ReplaceSelection(std::u16string_view text) {
  // EM_REPLACESEL honours the length limit as typing does and raises EN_CHANGE.
  std::u16string t(text);
  SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(t.c_str()));
  return Status::Ok();
}

int32_t EditBoxWin32::SelStart() const {
  DWORD inicio = 0, fim = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&inicio), reinterpret_cast<LPARAM>(&fim));
  return static_cast<int32_t>(inicio);
}

int32_t EditBoxWin32::SelLength() const {
  DWORD inicio = 0, fim = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&inicio), reinterpret_cast<LPARAM>(&fim));
  return static_cast<int32_t>(fim - inicio);
}

Status EditBoxWin32::SetSelStart(int32_t start) {
  if (start < 0) return Status::InvalidPropertyValue();
  SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
  return Status::Ok();
}

Status EditBoxWin32::SetSelLength(int32_t length) {
  if (length < 0) return Status::InvalidPropertyValue();
  int32_t inicio = SelStart();
  SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(inicio), static_cast<LPARAM>(inicio + length));
  return Status::Ok();
}

Status EditBoxWin32::SetTag(std::u16string_view tag) {
  tag_.assign(tag);
  return Status::Ok();
}

Status EditBoxWin32::SetFocus() {
  if (!IsWindowEnabled(hwnd_)) return Status(Status::kInvalidProcedureCall);
  if (GetFocus() == hwnd_) return Status::Ok();
  ::SetFocus(hwnd_);
  return GetFocus() == hwnd_ ? Status::Ok() : Status(Status::kInvalidProcedureCall);
}

Status EditBoxWin32::GetProperty(Property p, Variant& value) const {
  switch (p) {
    case Property::Text: value = Variant::Str(Text()); return Status::Ok();
    case Property::Enabled: value = Variant::Boolean(IsWindowEnabled(hwnd_) != FALSE); return Status::Ok();
    case Property::Locked:
      value = Variant::Boolean((GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY) != 0);
      return Status::Ok();
    case Property::MaxLength: {
      LRESULT limite = SendMessageW(hwnd_, EM_GETLIMITTEXT, 0, 0);
      value = Variant::I4(limite >= 0x7FFFFFFE ? 0 : static_cast<int32_t>(limite));
      return Status::Ok();
    }
    case Property::PasswordChar: {
      wchar_t c = static_cast<wchar_t>(SendMessageW(hwnd_, EM_GETPASSWORDCHAR, 0, 0));
      value = Variant::Str(c ? std::u16string(1, static_cast<char16_t>(c)) : u"");
      return Status::Ok();
    }
    default: {
      auto it = propriedades_.find(p);
      if (it == propriedades_.end()) return Status(Status::kInvalidArgument);
      value = it->second;
      return Status::Ok();
    }
  }
}

Status EditBoxWin32::SetProperty(Property p, const Variant& v) {
  if (p == Property::Text) return SetText(v.str());
  if (!ValorAceitoPelaCaixa(p, v)) return Status::InvalidPropertyValue();
  switch (p) {
    case Property::Font: {
      // Only a font object will do: its handle is the window's font while the property holds it.
      auto* fonte = static_cast<IFont*>(ComObject::Interface(v, IID_IFont));
      HFONT h = nullptr;
      const bool valida = fonte && SUCCEEDED(IFont_get_hFont(fonte, &h)) && h;
      if (fonte) IFont_Release(fonte);
      if (!valida) return Status::InvalidPropertyValue();
      propriedades_[p] = v;
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(h), TRUE);
      return Status::Ok();
    }
    case Property::MouseIcon: {
      if (v.type() == VarType::Object && v.object()) {
        auto* imagem = static_cast<IPicture*>(ComObject::Interface(v, IID_IPicture));
        if (!imagem) return Status::InvalidPropertyValue();
        IPicture_Release(imagem);
      }
      propriedades_[p] = v;
      return Status::Ok();
    }
    case Property::BackColor:
    case Property::ForeColor:
      propriedades_[p] = v;
      InvalidateRect(hwnd_, nullptr, TRUE);
      return Status::Ok();
    case Property::MousePointer: propriedades_[p] = v; return Status::Ok();
    // Loading writes every property; what is already so costs nothing.
    case Property::Enabled:
      if ((IsWindowEnabled(hwnd_) != FALSE) != (v.boolean() != 0)) EnableWindow(hwnd_, v.boolean() != 0);
      return Status::Ok();
    case Property::Locked:
      if (((GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY) != 0) != (v.boolean() != 0))
        SendMessageW(hwnd_, EM_SETREADONLY, v.boolean() != 0, 0);
      return Status::Ok();
    case Property::MaxLength:
      SendMessageW(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(v.i4() == 0 ? 0x7FFFFFFE : v.i4()), 0);
      return Status::Ok();
    case Property::PasswordChar: {
      const WPARAM c = v.str().empty() ? 0 : static_cast<WPARAM>(v.str()[0]);
      if (static_cast<WPARAM>(SendMessageW(hwnd_, EM_GETPASSWORDCHAR, 0, 0)) == c) return Status::Ok();
      SendMessageW(hwnd_, EM_SETPASSWORDCHAR, c, 0);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return Status::Ok();
    }
    default: break;
  }
  propriedades_[p] = v;
  AplicaEstilo();
  return Status::Ok();
}

void EditBoxWin32::AplicaEstilo() {
  const LONG antes = GetWindowLongW(hwnd_, GWL_STYLE), exAntes = GetWindowLongW(hwnd_, GWL_EXSTYLE);
  LONG estilo = antes & ~(ES_LEFT | ES_RIGHT | ES_CENTER | WS_BORDER);
  static constexpr LONG kAlinhamento[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  estilo |= kAlinhamento[propriedades_[Property::Alignment].i2()];
  const bool borda = propriedades_[Property::BorderStyle].i2() == 1;
  const bool relevo = propriedades_[Property::Appearance].i2() == 1;
  if (borda && !relevo) estilo |= WS_BORDER;
  LONG ex = exAntes & ~WS_EX_CLIENTEDGE;
  if (borda && relevo) ex |= WS_EX_CLIENTEDGE;
  // Loading writes every property: a frame change costs several round trips, so only a real
  // change of style redraws the frame.
  if (estilo == antes && ex == exAntes) return;
  SetWindowLongW(hwnd_, GWL_STYLE, estilo);
  SetWindowLongW(hwnd_, GWL_EXSTYLE, ex);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

Status EditBoxWin32::SetWidth(float width) {
  if (!(width >= 0)) return Status::InvalidPropertyValue();
  largura_ = width;
  AjustaPixels(Pixels(largura_, true), Pixels(altura_, false));
  return Status::Ok();
}

Status EditBoxWin32::SetHeight(float height) {
  if (!(height >= 0)) return Status::InvalidPropertyValue();
  altura_ = height;
  AjustaPixels(Pixels(largura_, true), Pixels(altura_, false));
  return Status::Ok();
}

void EditBoxWin32::AjustaPixels(int largura, int altura) {
  // Moving a window is a round trip to the window system: only a new size is applied.
  if (largura == pixels_.cx && altura == pixels_.cy) return;
  pixels_ = SIZE{largura, altura};
  SetWindowPos(hwnd_, nullptr, 0, 0, largura, altura, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

HCURSOR EditBoxWin32::Cursor() {
  const int16_t ponteiro = propriedades_[Property::MousePointer].i2();
  if (ponteiro == 99) {
    // A custom pointer: the MouseIcon picture when it holds an icon or cursor.
    auto* imagem = static_cast<IPicture*>(ComObject::Interface(propriedades_[Property::MouseIcon], IID_IPicture));
    if (!imagem) return nullptr;
    SHORT tipo = PICTYPE_NONE;
    OLE_HANDLE h = 0;
    const bool icone = SUCCEEDED(IPicture_get_Type(imagem, &tipo)) && tipo == PICTYPE_ICON &&
                       SUCCEEDED(IPicture_get_Handle(imagem, &h));
    IPicture_Release(imagem);
    return icone ? reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(h)) : nullptr;
  }
  const WORD sistema = CursorDoSistema(ponteiro);
  return sistema ? LoadCursorW(nullptr, MAKEINTRESOURCEW(sistema)) : nullptr;
}

void EditBoxWin32::Cola() {
  // A read-only or disabled box takes nothing, as the EDIT does. A paste asked for while one is
  // under way (from the host's KeyPress handler) is dropped, so that a host cannot recurse.
  if (!eventos_ || colando_ || !IsWindowEnabled(hwnd_) || (GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY)) return;
  // The clipboard is closed again before the rule runs: the host's handlers may open it or
  // show a message box.
  const std::u16string texto = TextoDaAreaDeTransferencia(hwnd_);
  if (texto.empty()) return;
  colando_ = true;
  eventos_->TXO_Paste(texto);
  colando_ = false;
}

LRESULT CALLBACK EditBoxWin32::Procedimento(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* caixa = reinterpret_cast<EditBoxWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!caixa) return DefWindowProcW(hwnd, msg, wp, lp);
  return caixa->Mensagem(msg, wp, lp);
}

LRESULT EditBoxWin32::Mensagem(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN: {
      const int16_t estado = EstadoShift();
      int16_t codigo = static_cast<int16_t>(wp), shift = estado;
      if (eventos_) eventos_->TXO_KeyDown(codigo, shift);
      if (codigo == 0) return 0;  // consumed by the control or the host
      // Shift+Insert: the EDIT would paste by itself, without WM_PASTE. It does so whenever
      // Shift is down (Ctrl too) and Alt is not.
      if (wp == VK_INSERT && (estado & 1) && !(estado & 4)) {
        Cola();
        return 0;
      }
      break;
    }
    case WM_PASTE:
      Cola();
      return 0;
    case WM_CHAR: {
      // Ctrl+V arrives as character 22, on which the EDIT pastes: it takes the paste rule and
      // is no keystroke of its own.
      if (wp == 0x16) {
        Cola();
        return 0;
      }
      int16_t codigo = CodigoDeTecla(static_cast<char16_t>(wp));
      if (eventos_) eventos_->TXO_KeyPress(codigo);
      std::optional<char16_t> c = CaractereDeCodigo(codigo);
      if (!c) return 0;
      wp = *c;
      break;
    }
    case WM_SETFOCUS: {
      LRESULT r = CallWindowProcW(original_, hwnd_, msg, wp, lp);
      if (aoMudarFoco) aoMudarFoco(true);
      if (eventos_) eventos_->TXO_GotFocus();
      return r;
    }
    case WM_KILLFOCUS: {
      LRESULT r = CallWindowProcW(original_, hwnd_, msg, wp, lp);
      if (aoMudarFoco) aoMudarFoco(false);
      if (eventos_) eventos_->TXO_LostFocus();
      return r;
    }
    case WM_GETDLGCODE: {
      LRESULT r = CallWindowProcW(original_, hwnd_, msg, wp, lp);
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && querEnter && querEnter()) r |= DLGC_WANTMESSAGE;
      return r;
    }
    case WM_SETCURSOR: {
      if (LOWORD(lp) != HTCLIENT || reinterpret_cast<HWND>(wp) != hwnd_) break;
      HCURSOR cursor = Cursor();
      if (!cursor) break;
      ::SetCursor(cursor);
      return TRUE;
    }
    case WM_MOUSEMOVE: {
      int16_t botao = static_cast<int16_t>((wp & MK_LBUTTON ? 1 : 0) | (wp & MK_RBUTTON ? 2 : 0) | (wp & MK_MBUTTON ? 4 : 0));
      int16_t shift = EstadoShift();
      float x = Twips(static_cast<short>(LOWORD(lp)), true), y = Twips(static_cast<short>(HIWORD(lp)), false);
      if (eventos_) eventos_->TXO_MouseMove(botao, shift, x, y);
      break;
    }
    default: break;
  }
  return CallWindowProcW(original_, hwnd_, msg, wp, lp);
}

}  // namespace delvorin::ocx
