#include "ocx/EditBoxWin32.h"

#include <algorithm>
#include <initializer_list>

#include "control/EditBoxRules.h"
#include "input/Cp1252.h"
#include "ocx/ComObject.h"
#include "ocx/Screen.h"

namespace delvorin::ocx {
namespace {

// Posted to the window by itself after it lost the focus (NoticeFocusLeft).
constexpr UINT kFocoSaiu = WM_APP + 0x44;

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

// The handle of the font a property value holds, or nullptr; asking realises the font.
HFONT HandleOf(const Variant& v) {
  auto* fonte = static_cast<IFont*>(ComObject::Interface(v, IID_IFont));
  HFONT h = nullptr;
  if (fonte && FAILED(IFont_get_hFont(fonte, &h))) h = nullptr;
  if (fonte) IFont_Release(fonte);
  return h;
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

void EditBoxWin32::Inicia(EditBoxEvents* eventos, EditBoxOwner* dono, float larguraTwips, float alturaTwips) {
  eventos_ = eventos;
  dono_ = dono;
  held_ = std::make_unique<Held>();
  largura_ = larguraTwips;
  altura_ = alturaTwips;
  pixels_ = SIZE{Pixels(largura_, true), Pixels(altura_, false)};
  propriedades_[Property::Alignment] = Variant::I2(0);
  propriedades_[Property::BackColor] = Variant::I4(static_cast<int32_t>(0x80000005));
  propriedades_[Property::BorderStyle] = Variant::I2(1);
  propriedades_[Property::ForeColor] = Variant::I4(static_cast<int32_t>(0x80000008));
  propriedades_[Property::Appearance] = Variant::I2(1);
  propriedades_[Property::MousePointer] = Variant::I2(0);
  propriedades_[Property::Font] = Variant::Object(nullptr);
  propriedades_[Property::MouseIcon] = Variant::Object(nullptr);
  // The window's own state while there is none.
  propriedades_[Property::Enabled] = Variant::Boolean(kTrue);
  propriedades_[Property::Locked] = Variant::Boolean(kFalse);
  propriedades_[Property::MaxLength] = Variant::I4(0);
  propriedades_[Property::PasswordChar] = Variant::Str(u"");
}

void EditBoxWin32::Estilos(LONG& estilo, LONG& ex) {
  static constexpr LONG kAlinhamento[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  estilo = (estilo & ~(ES_LEFT | ES_RIGHT | ES_CENTER | WS_BORDER)) | kAlinhamento[propriedades_[Property::Alignment].i2()];
  const bool borda = propriedades_[Property::BorderStyle].i2() == 1;
  const bool relevo = propriedades_[Property::Appearance].i2() == 1;
  if (borda && !relevo) estilo |= WS_BORDER;
  ex &= ~WS_EX_CLIENTEDGE;
  if (borda && relevo) ex |= WS_EX_CLIENTEDGE;
}

bool EditBoxWin32::CriaJanela(HWND parent, const RECT& pos, bool sozinha) {
  if (hwnd_) return true;
  LONG estilo = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, ex = 0;
  Estilos(estilo, ex);
  if (propriedades_[Property::Enabled].boolean() == 0) estilo |= WS_DISABLED;
  if (propriedades_[Property::Locked].boolean() != 0) estilo |= ES_READONLY;
  const std::u16string senha = propriedades_[Property::PasswordChar].str();
  if (!senha.empty()) estilo |= ES_PASSWORD;
  // Made where it belongs with its text, styles and size, so that nothing is moved or redrawn
  // afterwards: every window operation is a round trip to the window system.
  const POINT canto = sozinha ? POINT{pos.left, pos.top} : POINT{0, 0};
  if (sozinha) pixels_ = SIZE{pos.right - pos.left, pos.bottom - pos.top};
  hwnd_ = CreateWindowExW(ex, L"EDIT", reinterpret_cast<const wchar_t*>(held_->texto.c_str()), estilo, canto.x, canto.y, pixels_.cx,
                          pixels_.cy, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  sozinha_ = sozinha;
  // The owner in the window's user data: every message looks it up, and a window property
  // would cost a round trip to the window system each time.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedimento)));
  HFONT fonte = Fonte();
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fonte ? fonte : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  const int32_t limite = propriedades_[Property::MaxLength].i4();
  SendMessageW(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(limite == 0 ? 0x7FFFFFFE : limite), 0);
  if (!senha.empty()) SendMessageW(hwnd_, EM_SETPASSWORDCHAR, static_cast<WPARAM>(senha[0]), 0);
  if (held_->inicio != 0 || held_->fim != 0) SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(held_->inicio), static_cast<LPARAM>(held_->fim));
  // From here on the window holds these.
  held_.reset();
  for (Property p : {Property::Enabled, Property::Locked, Property::MaxLength, Property::PasswordChar}) propriedades_.erase(p);
  return true;
}

void EditBoxWin32::TiraDoLugar() {
  // Hiding the window with the focus moves the focus to the container. Out of place the field
  // leaves as it does inside a window of its own: without a focus change the handlers would
  // see (no LostFocus processing while the container takes the control away).
  calado_ = true;
  ShowWindow(hwnd_, SW_HIDE);
  SetParent(hwnd_, HWND_MESSAGE);
  calado_ = false;
}

void EditBoxWin32::Recoloca(HWND parent, const RECT& pos) {
  SetParent(hwnd_, parent);
  pixels_ = SIZE{pos.right - pos.left, pos.bottom - pos.top};
  SetWindowPos(hwnd_, nullptr, pos.left, pos.top, pixels_.cx, pixels_.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void EditBoxWin32::Move(const RECT& pos) {
  pixels_ = SIZE{pos.right - pos.left, pos.bottom - pos.top};
  MoveWindow(hwnd_, pos.left, pos.top, pixels_.cx, pixels_.cy, TRUE);
}

void EditBoxWin32::GaranteFonte() const {
  // The first font is made when something needs it: a control that is loaded next gets its
  // stored font instead, and the first one would have cost a font object and its handle.
  Variant& f = propriedades_[Property::Font];
  if (f.type() != VarType::Object || f.object() || !dono_) return;
  f = Variant::Object(dono_->InitialFont());
  // Realised at once, as a font given to the edit box is: a realised font saves as it shows.
  (void)HandleOf(f);
}

HFONT EditBoxWin32::Fonte() const {
  GaranteFonte();
  return HandleOf(propriedades_[Property::Font]);
}

bool EditBoxWin32::AoMudar() {
  // Some edit controls notify a keystroke refused by the length limit as a change: only a
  // text that differs from the last one seen counts.
  std::u16string agora = Text();
  if (agora == ultimo_) return false;
  ultimo_ = std::move(agora);
  if (eventos_) eventos_->TXO_Change();
  return true;
}

std::u16string EditBoxWin32::Text() const {
  if (!hwnd_) return held_->texto;
  int n = GetWindowTextLengthW(hwnd_);
  std::u16string t(static_cast<size_t>(n) + 1, u'\0');
  n = GetWindowTextW(hwnd_, reinterpret_cast<wchar_t*>(t.data()), n + 1);
  t.resize(static_cast<size_t>(n < 0 ? 0 : n));
  return t;
}

void EditBoxWin32::Notificado() {
  AoMudar();
  if (dono_) dono_->TextChanged();
}

Status EditBoxWin32::SetText(std::u16string_view text) {
  if (text == Text()) return Status::Ok();
  if (!hwnd_) {
    // As WM_SETTEXT: no length limit, the caret at the start, then the change notice.
    held_->texto.assign(text);
    held_->inicio = held_->fim = 0;
    Notificado();
    return Status::Ok();
  }
  std::u16string t(text);
  if (!SetWindowTextW(hwnd_, reinterpret_cast<const wchar_t*>(t.c_str()))) return Status(Status::kOutOfMemory);
  return Status::Ok();
}

Status EditBoxWin32::ReplaceSelection(std::u16string_view text) {
  if (!hwnd_) {
    // As EM_REPLACESEL: what exceeds the length limit is dropped, the caret follows the insertion.
    const size_t inicio = static_cast<size_t>(std::min(held_->inicio, held_->fim)), fim = static_cast<size_t>(std::max(held_->inicio, held_->fim));
    const int32_t maximo = propriedades_[Property::MaxLength].i4();
    const int64_t limite = maximo == 0 ? 0x7FFFFFFE : maximo;
    const int64_t resta = limite - static_cast<int64_t>(held_->texto.size() - (fim - inicio));
    const size_t cabe = static_cast<size_t>(std::clamp<int64_t>(resta, 0, static_cast<int64_t>(text.size())));
    std::u16string novo = held_->texto.substr(0, inicio);
    novo.append(text.substr(0, cabe));
    novo.append(held_->texto, fim);
    held_->inicio = held_->fim = static_cast<int32_t>(inicio + cabe);
    if (novo == held_->texto) return Status::Ok();
    held_->texto = std::move(novo);
    Notificado();
    return Status::Ok();
  }
  // EM_REPLACESEL honours the length limit as typing does and raises EN_CHANGE.
  std::u16string t(text);
  SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(t.c_str()));
  return Status::Ok();
}

int32_t EditBoxWin32::SelStart() const {
  if (!hwnd_) return std::min(held_->inicio, held_->fim);
  DWORD inicio = 0, fim = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&inicio), reinterpret_cast<LPARAM>(&fim));
  return static_cast<int32_t>(inicio);
}

int32_t EditBoxWin32::SelLength() const {
  if (!hwnd_) return std::max(held_->inicio, held_->fim) - std::min(held_->inicio, held_->fim);
  DWORD inicio = 0, fim = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&inicio), reinterpret_cast<LPARAM>(&fim));
  return static_cast<int32_t>(fim - inicio);
}

void EditBoxWin32::Seleciona(int64_t inicio, int64_t fim) {
  // As EM_SETSEL: both ends within the text.
  const int64_t n = static_cast<int64_t>(held_->texto.size());
  held_->inicio = static_cast<int32_t>(std::clamp<int64_t>(inicio, 0, n));
  held_->fim = static_cast<int32_t>(std::clamp<int64_t>(fim, 0, n));
}

Status EditBoxWin32::SetSelStart(int32_t start) {
  if (start < 0) return Status::InvalidPropertyValue();
  if (!hwnd_) {
    Seleciona(start, start);
    return Status::Ok();
  }
  SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
  return Status::Ok();
}

Status EditBoxWin32::SetSelLength(int32_t length) {
  if (length < 0) return Status::InvalidPropertyValue();
  int32_t inicio = SelStart();
  if (!hwnd_) {
    Seleciona(inicio, static_cast<int64_t>(inicio) + length);
    return Status::Ok();
  }
  SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(inicio), static_cast<LPARAM>(inicio + length));
  return Status::Ok();
}

Status EditBoxWin32::SetTag(std::u16string_view tag) {
  tag_.assign(tag);
  return Status::Ok();
}

Status EditBoxWin32::SetFocus() {
  // A field not yet placed cannot take the focus, as a window out of sight cannot.
  if (!hwnd_ || !IsWindowEnabled(hwnd_)) return Status(Status::kInvalidProcedureCall);
  if (GetFocus() == hwnd_) return Status::Ok();
  ::SetFocus(hwnd_);
  return GetFocus() == hwnd_ ? Status::Ok() : Status(Status::kInvalidProcedureCall);
}

Status EditBoxWin32::GetProperty(Property p, Variant& value) const {
  if (p == Property::Text) {
    value = Variant::Str(Text());
    return Status::Ok();
  }
  if (p == Property::Font) GaranteFonte();
  if (!hwnd_) {
    auto it = propriedades_.find(p);
    if (it == propriedades_.end()) return Status(Status::kInvalidArgument);
    value = it->second;
    return Status::Ok();
  }
  switch (p) {
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
      HFONT h = HandleOf(v);
      if (!h) return Status::InvalidPropertyValue();
      propriedades_[p] = v;
      if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(h), TRUE);
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
      if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
      return Status::Ok();
    case Property::MousePointer: propriedades_[p] = v; return Status::Ok();
    default: break;
  }
  if (!hwnd_) {
    // Held until the window is made, as the window would give it back; the window's own
    // state then takes over.
    if (p == Property::Enabled || p == Property::Locked) propriedades_[p] = Variant::Boolean(v.boolean() != 0 ? kTrue : kFalse);
    else if (p == Property::PasswordChar)
      propriedades_[p] = Variant::Str(v.str().empty() || v.str()[0] == u'\0' ? u"" : v.str().substr(0, 1));
    else propriedades_[p] = v;
    return Status::Ok();
  }
  switch (p) {
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
  LONG estilo = antes, ex = exAntes;
  Estilos(estilo, ex);
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
  if (hwnd_) SetWindowPos(hwnd_, nullptr, 0, 0, largura, altura, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
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

bool EditBoxWin32::Habilitada() const {
  if (hwnd_) return IsWindowEnabled(hwnd_) != FALSE;
  auto it = propriedades_.find(Property::Enabled);
  return it == propriedades_.end() || it->second.boolean() != 0;
}

HCURSOR EditBoxWin32::CursorDoCampo() {
  // A disabled EDIT leaves the cursor to its parent: the arrow.
  if (!Habilitada()) return LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  HCURSOR c = Cursor();
  return c ? c : LoadCursorW(nullptr, MAKEINTRESOURCEW(32513));
}

void EditBoxWin32::MouseSemJanela(WPARAM botoes, int x, int y) {
  // A disabled EDIT gets no mouse messages; an enabled one measures from inside its border.
  if (!Habilitada() || !eventos_) return;
  LONG estilo = 0, ex = 0;
  Estilos(estilo, ex);
  const int borda = (ex & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : (estilo & WS_BORDER) ? GetSystemMetrics(SM_CXBORDER) : 0;
  MouseMove(botoes, x - borda, y - borda);
}

void EditBoxWin32::MouseMove(WPARAM botoes, int x, int y) {
  if (!eventos_) return;
  int16_t botao = static_cast<int16_t>((botoes & MK_LBUTTON ? 1 : 0) | (botoes & MK_RBUTTON ? 2 : 0) | (botoes & MK_MBUTTON ? 4 : 0));
  int16_t shift = EstadoShift();
  float tx = Twips(x, true), ty = Twips(y, false);
  eventos_->TXO_MouseMove(botao, shift, tx, ty);
}

void EditBoxWin32::Cola() {
  // A read-only or disabled box takes nothing, as the EDIT does. A paste asked for while one is
  // under way (from the host's KeyPress handler) is dropped, so that a host cannot recurse.
  if (!eventos_ || !hwnd_ || colando_ || !IsWindowEnabled(hwnd_) || (GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY)) return;
  // The clipboard is closed again before the rule runs: the host's handlers may open it or
  // show a message box.
  const std::u16string texto = TextoDaAreaDeTransferencia(hwnd_);
  if (texto.empty()) return;
  colando_ = true;
  eventos_->TXO_Paste(texto);
  colando_ = false;
}

namespace {

// The messages on which an EDIT may change its text.
bool MudaTexto(UINT msg) {
  switch (msg) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_SETTEXT:
    case WM_CUT:
    case WM_CLEAR:
    case WM_PASTE:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION: return true;
    default: return false;
  }
}

}  // namespace

LRESULT CALLBACK EditBoxWin32::Procedimento(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* caixa = reinterpret_cast<EditBoxWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!caixa) return DefWindowProcW(hwnd, msg, wp, lp);
  const bool sozinha = caixa->sozinha_;
  LRESULT r = caixa->Mensagem(msg, wp, lp);
  // Alone in the container, the edit box does not rely on the container reflecting EN_CHANGE:
  // it compares the text after every message that may change it. The handlers may have
  // released the control meanwhile, taking the edit box with it.
  if (sozinha && MudaTexto(msg) && reinterpret_cast<EditBoxWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) == caixa &&
      caixa->AoMudar() && caixa->dono_)
    caixa->dono_->TextChanged();
  return r;
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
      if (dono_) dono_->FocusChanged(true);
      if (eventos_) eventos_->TXO_GotFocus();
      return r;
    }
    case WM_KILLFOCUS: {
      LRESULT r = CallWindowProcW(original_, hwnd_, msg, wp, lp);
      if (calado_) return r;
      if (dono_) dono_->FocusChanged(false);
      if (eventos_) eventos_->TXO_LostFocus();
      // Posted, so that it arrives after any message box the handlers showed has closed and
      // they had their chance to take the focus back.
      if (avisaSaida_ && hwnd_) PostMessageW(hwnd_, kFocoSaiu, 0, 0);
      return r;
    }
    case kFocoSaiu: {
      HWND foco = GetFocus();
      // No focus in this thread: the application was left, and the focus comes back here.
      if (foco && foco != hwnd_ && avisaSaida_ && dono_) dono_->FocusLeft();
      return 0;
    }
    case WM_GETDLGCODE: {
      LRESULT r = CallWindowProcW(original_, hwnd_, msg, wp, lp);
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && dono_ && dono_->WantsEnter()) r |= DLGC_WANTMESSAGE;
      return r;
    }
    case WM_SETCURSOR: {
      if (LOWORD(lp) != HTCLIENT || reinterpret_cast<HWND>(wp) != hwnd_) break;
      HCURSOR cursor = Cursor();
      if (!cursor) break;
      ::SetCursor(cursor);
      return TRUE;
    }
    // A container that reflects messages hands back the colour requests its window received
    // from the edit box.
    case OCM_CTLCOLOREDIT:
    case OCM_CTLCOLORSTATIC: return reinterpret_cast<LRESULT>(Cores(reinterpret_cast<HDC>(wp)));
    case OCM_COMMAND:
      if (HIWORD(wp) == EN_CHANGE) Notificado();
      return 0;
    case WM_MOUSEMOVE: MouseMove(wp, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))); break;
    default: break;
  }
  return CallWindowProcW(original_, hwnd_, msg, wp, lp);
}

}  // namespace delvorin::ocx
