#pragma once
// The control object Delvorin: one struct with one member per interface it offers, the engine
// behind it, and the Win32 realisations of the services the engine calls.
#include "ocx/Com.h"

#include <utility>
#include <vector>

#include "control/Delvorin.h"
#include "ocx/EditBoxWin32.h"
#include "ocx/ComObject.h"
#include "ocx/RuntimeWin32.h"

namespace delvorin::ocx {

struct Control;

// One connection point: the event interface __Delvorin or IPropertyNotifySink. Which one, and
// so its control, is told by its vtable (ocx/ConnectionPoints.cpp): nothing per control.
struct ConnectionPoint {
  IConnectionPoint IConnectionPoint_iface;
  std::vector<std::pair<DWORD, IUnknown*>> sinks;
  DWORD nextCookie = 1;
};

// The container side the engine talks to: notices and events go out through the connection
// points; the ambient font comes from a default until the control is sited.
class ContainerWin32 final : public Container, public EditBoxOwner {
 public:
  explicit ContainerWin32(Control& c) : c_(c) {}
  Status PropertyChanged(std::u16string_view name) override;
  void RaiseMouseMove(int16_t& button, int16_t& shift, float& x, float& y) override;
  void RaiseChange() override;
  void RaiseKeyDown(int16_t& keyCode, int16_t& shift) override;
  void RaiseKeyPress(int16_t& keyAscii) override;
  void RaiseTeclaEnter() override;
  ObjectRef AmbientFont() override;
  float Width() const override { return width; }
  float Height() const override { return height; }
  void AccessibleChanged(AccessibleChange what) override;
  bool WantsEnter() override;
  void FocusChanged(bool gained) override;
  void TextChanged() override;
  ObjectRef InitialFont() override;
  void FocusLeft() override;
  bool AccessibleObject(WPARAM wp, LPARAM lp, LRESULT* result) override;

  float width = 2385, height = 1215;  // twips

 private:
  void Fire(DISPID id, VARIANTARG* args, UINT n);
  Control& c_;
};

struct Control {
  // The dual interface, version 1.2: its vtable begins with the slots of _Delvorin11 (1.1),
  // which begin with those of _Delvorin (1.0), in their order, so the same pointer answers all
  // three interfaces.
  _Delvorin12 _Delvorin12_iface;
  ISupportErrorInfo ISupportErrorInfo_iface{};
  IProvideClassInfo2 IProvideClassInfo2_iface;
  IConnectionPointContainer IConnectionPointContainer_iface;
  // Persistence (ocx/PersistOle.cpp); a null vtable means the interface is not offered.
  IPersistPropertyBag IPersistPropertyBag_iface{};
  IPersistStreamInit IPersistStreamInit_iface{};
  IPersistStorage IPersistStorage_iface{};
  // Embedding and in-place activation (ocx/OleObject.cpp).
  IOleObject IOleObject_iface{};
  IOleInPlaceActiveObject IOleInPlaceActiveObject_iface{};
  IOleControl IOleControl_iface{};
  // In place with or without a window of its own, and inactive (ocx/Windowless.cpp).
  IOleInPlaceObjectWindowless IOleInPlaceObjectWindowless_iface{};
  IPointerInactive IPointerInactive_iface{};
  // Drawn by the container (ocx/Drawing.cpp).
  IViewObjectEx IViewObjectEx_iface{};
  IQuickActivate IQuickActivate_iface{};
  // Presentation data for hosts that draw from metafiles (ocx/Drawing.cpp).
  IDataObject IDataObject_iface{};
  // Design time (ocx/DesignTime.cpp).
  ISpecifyPropertyPages ISpecifyPropertyPages_iface{};
  IPerPropertyBrowsing IPerPropertyBrowsing_iface{};
  LONG ref = 1;
  DWORD ownerThread = 0;  // the thread that made the control, in whose apartment it lives
  bool dirty = false;      // properties changed since the last save
  bool initialised = false; // initialised or loaded: a second InitNew/Load is refused
  IOleClientSite* site = nullptr;
  IOleInPlaceSite* inPlaceSite = nullptr;     // while in place
  IOleInPlaceFrame* frame = nullptr;
  RECT posRect{};                     // the field in the container's window, pixels
  HWND window = nullptr;                // the in-place window, while there is one
  bool uiActive = false;          // UI active
  // In place without a window: the container (inPlaceSite, an IOleInPlaceSiteWindowless) draws the
  // field and hands it the mouse until it takes the focus, when the windows are made (or put
  // back) at posRect.
  bool windowless = false;
  int8_t messageReflect = -1;                  // MessageReflect handed over by IQuickActivate; -1: ask the site
  int freezeCount = 0;                    // FreezeEvents depth: events are held back
  SIZEL extent{};                     // HIMETRIC
  IOleAdviseHolder* oleAdviseHolder = nullptr;
  IAdviseSink* viewSink = nullptr;
  DWORD viewAspects = 0, viewFlags = 0;
  IDataAdviseHolder* dataAdviseHolder = nullptr;
  IFont* ambientFont = nullptr;       // the container's font handed over by IQuickActivate

  ITypeInfo* interfaceType = nullptr;  // _Delvorin12, for IDispatch through any of the three interfaces
  ITypeInfo* classType = nullptr;     // the coclass, for IProvideClassInfo
  ConnectionPoint events{};
  ConnectionPoint notices{};
  // The control's window around the edit box, when the container does not reflect messages:
  // made when first in place, then kept out of sight while the control is not in place.
  HWND outerWindow = nullptr;

  // The accessible object handed to screen readers (ocx/Accessible.cpp), once asked for.
  struct AccessibleField* accessible = nullptr;
  EditBoxWin32 txo;
  ContainerWin32 container{*this};
  RuntimeWin32 runtime;
  Delvorin engine{txo, container, runtime};
};

// What a container must know before it sites and activates the control.
// A container that knows IPointerInactive may leave a visible field inactive, drawn by it,
// until the user clicks or tabs into it.
constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                              OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_IGNOREACTIVATEWHENVISIBLE;

HRESULT CreateControl(IUnknown* outer, REFIID riid, void** ppv);
// Makes the control's window at pos in the container's window parent, and the edit box in it with
// the state it held; nothing when they exist.
bool CreateWindows(Control* c, HWND parent, const RECT& pos);
// Whether the container reflects the messages its window receives from the control's window
// back to it (ambient MessageReflect, or the flag handed over by IQuickActivate).
bool ContainerReflects(Control* c);
// The site's ambient property id, read through its IDispatch.
HRESULT ReadAmbient(Control* c, DISPID id, VARIANT* v);
// A new font object of the classic dialog font, MS Sans Serif 8.25.
HRESULT CreateDefaultFont(REFIID riid, void** ppv);

// Every interface of the control answers IUnknown for the one owning object, _Delvorin12.
inline HRESULT ControlQI(Control* c, REFIID riid, void** ppv) {
  return c->_Delvorin12_iface.lpVtbl->QueryInterface(&c->_Delvorin12_iface, riid, ppv);
}
inline ULONG ControlAddRef(Control* c) { return c->_Delvorin12_iface.lpVtbl->AddRef(&c->_Delvorin12_iface); }
inline ULONG ControlRelease(Control* c) { return c->_Delvorin12_iface.lpVtbl->Release(&c->_Delvorin12_iface); }
void InitAutomation(Control* c);
void InitPersistence(Control* c);
void InitOleObject(Control* c);
void TearDownOleObject(Control* c);
// The interface pointer for riid among those above whose vtable is set, or nullptr.
void* PersistenceInterface(Control* c, REFIID riid);
void* OleObjectInterface(Control* c, REFIID riid);
// In-place activation (ocx/OleObject.cpp). ActivateInPlace activates in place, windowless where
// the site allows it, and with withUI UI activates, making the windows a windowless field
// needs then and giving it the focus when takeFocus.
HRESULT ActivateInPlace(Control* c, bool withUI, bool takeFocus = true);
HRESULT DeactivateUI(Control* c);
HRESULT DeactivateInPlace(Control* c);
// The in-place window, or the error of IOleWindow::GetWindow without one.
HRESULT InPlaceWindow(Control* c, HWND* h);
// Asks a windowless site to paint the field again.
void RequestRepaint(Control* c);
// Moves the field to pos in the container's window.
HRESULT MoveInPlace(Control* c, const RECT& pos);
// A mouse button pressed in the container's window goes on to the edit box, which puts the
// caret there: m.lParam in m.hwnd's client coordinates, or without m.hwnd m.pt on the screen.
// Other messages are ignored (ocx/Windowless.cpp).
void ForwardClick(Control* c, const MSG& m);
void InitWindowless(Control* c);
// Answers WM_GETOBJECT for the field's client object (ocx/Accessible.cpp): the edit box's
// standard object with the field's name, description and value, or without a window an
// object of the field's own over its rectangle. False for any other object id.
bool AnswerGetObject(Control* c, WPARAM wp, LPARAM lp, LRESULT* result);
// The control is going: its accessible object, which a screen reader may still hold, answers
// nothing more.
void DisconnectAccessible(Control* c);
void* WindowlessInterface(Control* c, REFIID riid);
// The edit box gained or lost the focus: the container is told, and a control in place
// becomes UI active so that the container routes its keys through it.
void OnFocusChange(Control* c, bool gained);
void InitQuickActivate(Control* c);
void* QuickActivateInterface(Control* c, REFIID riid);
void InitPresentation(Control* c);
void TearDownPresentation(Control* c);
void* PresentationInterface(Control* c, REFIID riid);
// The field as it looks, drawn on dc within r (pixels of dc).
void DrawField(Control* c, HDC dc, const RECT& r);
// Tells view and data advise sinks that the field's look changed.
void NotifyViewChange(Control* c);
void InitPropertyPages(Control* c);
void* PropertyPagesInterface(Control* c, REFIID riid);
// The property frame with the control's pages, modal over parent.
HRESULT ShowPropertyPages(Control* c, HWND parent);
void InitConnections(Control* c);
void TearDownConnections(Control* c);
extern LONG g_objects;

// The HRESULT of a failed engine call, with its description for the caller.
HRESULT ErrorResult(Status s);

// The control lives in the apartment of the thread that made it: its windows, the engine and
// the container's sinks are that thread's. A call through a raw pointer from another thread is
// refused with RPC_E_WRONG_THREAD before it touches anything; a host reaches the control from
// elsewhere through a marshalled pointer, whose stub calls on the control's thread. IUnknown's
// methods answer on any thread, as COM requires, so they are not wrapped.
inline bool OnOwnThread(const Control* c) { return GetCurrentThreadId() == c->ownerThread; }

inline Control* ControlOf(_Delvorin12* i) { return CONTAINING_RECORD(i, Control, _Delvorin12_iface); }
inline Control* ControlOf(ISupportErrorInfo* i) { return CONTAINING_RECORD(i, Control, ISupportErrorInfo_iface); }
inline Control* ControlOf(IProvideClassInfo2* i) { return CONTAINING_RECORD(i, Control, IProvideClassInfo2_iface); }
inline Control* ControlOf(IConnectionPointContainer* i) {
  return CONTAINING_RECORD(i, Control, IConnectionPointContainer_iface);
}
inline Control* ControlOf(IPersistPropertyBag* i) { return CONTAINING_RECORD(i, Control, IPersistPropertyBag_iface); }
inline Control* ControlOf(IPersistStreamInit* i) { return CONTAINING_RECORD(i, Control, IPersistStreamInit_iface); }
inline Control* ControlOf(IPersistStorage* i) { return CONTAINING_RECORD(i, Control, IPersistStorage_iface); }
inline Control* ControlOf(IOleObject* i) { return CONTAINING_RECORD(i, Control, IOleObject_iface); }
inline Control* ControlOf(IOleInPlaceActiveObject* i) { return CONTAINING_RECORD(i, Control, IOleInPlaceActiveObject_iface); }
inline Control* ControlOf(IOleControl* i) { return CONTAINING_RECORD(i, Control, IOleControl_iface); }
inline Control* ControlOf(IOleInPlaceObjectWindowless* i) {
  return CONTAINING_RECORD(i, Control, IOleInPlaceObjectWindowless_iface);
}
inline Control* ControlOf(IPointerInactive* i) { return CONTAINING_RECORD(i, Control, IPointerInactive_iface); }
inline Control* ControlOf(IViewObjectEx* i) { return CONTAINING_RECORD(i, Control, IViewObjectEx_iface); }
inline Control* ControlOf(IQuickActivate* i) { return CONTAINING_RECORD(i, Control, IQuickActivate_iface); }
inline Control* ControlOf(IDataObject* i) { return CONTAINING_RECORD(i, Control, IDataObject_iface); }
inline Control* ControlOf(ISpecifyPropertyPages* i) { return CONTAINING_RECORD(i, Control, ISpecifyPropertyPages_iface); }
inline Control* ControlOf(IPerPropertyBrowsing* i) { return CONTAINING_RECORD(i, Control, IPerPropertyBrowsing_iface); }
// Which of the two points it is, and so its control, is told by its vtable (ocx/ConnectionPoints.cpp).
Control* ControlOf(IConnectionPoint* i);

// One vtable entry F of the control: F itself on the control's thread, RPC_E_WRONG_THREAD on
// any other. Every method of the control's interfaces returns an HRESULT, IUnknown's aside.
template <typename Sig>
struct OwnThreadImpl;
template <typename I, typename... A>
struct OwnThreadImpl<HRESULT(WINAPI*)(I*, A...)> {
  template <HRESULT(WINAPI* F)(I*, A...)>
  static HRESULT WINAPI Call(I* i, A... a) {
    if (!OnOwnThread(ControlOf(i))) return RPC_E_WRONG_THREAD;
    return F(i, a...);
  }
};
template <auto F>
inline constexpr auto OwnThread = &OwnThreadImpl<decltype(F)>::template Call<F>;

}  // namespace delvorin::ocx
