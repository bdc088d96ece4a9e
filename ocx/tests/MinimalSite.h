#pragma once
// A minimal ActiveX container site of our own: one object offering IOleClientSite,
// IOleInPlaceSite, IOleInPlaceFrame, IOleControlSite and the ambient properties (IDispatch),
// and on demand IOleInPlaceSiteWindowless. It places one control in a window (or, for a
// control that allows it, leaves it inactive and draws it), counts the calls the control makes
// on it, and checks on teardown that the control gave back every reference it took.
#include "ocx/Com.h"

#include <cstddef>
#include <string>
#include <vector>

namespace delvorin::ocx::test {

// How often the control called the site.
struct SiteCalls {
  int canInPlaceActivate = 0, onInPlaceActivate = 0, onInPlaceDeactivate = 0;
  int onUIActivate = 0, onUIDeactivate = 0, getWindowContext = 0, onPosRectChange = 0;
  int focusGained = 0, focusLost = 0;  // IOleControlSite::OnFocus(TRUE / FALSE)
  int setActiveObject = 0, translateAccelerator = 0, onControlInfoChanged = 0, showObject = 0;
  int ambientReads = 0;  // ambient property reads
  int onInPlaceActivateEx = 0, onInPlaceDeactivateEx = 0, invalidateRect = 0;  // windowless
};

struct MinimalSite {
  IOleClientSite IOleClientSite_iface;
  IOleInPlaceSite IOleInPlaceSite_iface;
  IOleInPlaceFrame IOleInPlaceFrame_iface;
  IOleControlSite IOleControlSite_iface;
  IDispatch IDispatch_iface;
  IOleInPlaceSiteWindowless IOleInPlaceSiteWindowless_iface;
  LONG ref = 1;  // the owner's reference: the site lives as long as its owner, not its count

  HWND parent = nullptr;   // the container window the control is placed in
  RECT position{};       // the control's rectangle in parent's client coordinates
  bool userMode = true;  // DISPID_AMBIENT_USERMODE
  // DISPID_AMBIENT_MESSAGEREFLECT: the site then reflects what its window receives from the
  // control's window (WM_COMMAND, WM_CTLCOLOR*) back to that window as OCM_ messages, as VB's
  // forms do.
  bool reflects = false;
  // Offers IOleInPlaceSiteWindowless: the control is then in place without a window, drawn by
  // the site, which hands it the mouse messages over it and the focus.
  bool windowless = false;
  // Honours OLEMISC_IGNOREACTIVATEWHENVISIBLE: a control that asks for it and offers
  // IPointerInactive is shown inactive, drawn by the site, until it is clicked or focused.
  bool inactive = false;
  // The control's class factory, when the container keeps one for all its controls of the
  // class: Instantiate then asks it rather than CoCreateInstance (COM's registry lookups). Not
  // held by the site.
  IClassFactory* factory = nullptr;
  IOleObject* object = nullptr;                   // the control, from Create to Destroy
  HWND window = nullptr;                          // the control's window while in place
  IOleInPlaceActiveObject* activeObject = nullptr;       // set by IOleInPlaceFrame::SetActiveObject
  SiteCalls callCounts;
  // While recordCalls is set, the calls the control makes on the site's activation interfaces,
  // in order, one name each ("CanInPlaceActivate", "Frame_SetActiveObject(NULL)", ...). Off by
  // default, so that a site that lives through many controls does not grow.
  bool recordCalls = false;
  std::vector<std::string> calls;
  void Record(const char* call) {
    if (recordCalls) calls.emplace_back(call);
  }

  MinimalSite();
  MinimalSite(const MinimalSite&) = delete;
  MinimalSite& operator=(const MinimalSite&) = delete;
  ~MinimalSite();

  // Creates the control, gives it this site, initialises it (InitNew, or Load from data at
  // its current position) and activates it in place in parent at position: the three steps below.
  // On failure the control, if created, is still held: Destroy releases it.
  HRESULT Create(HWND parent, const RECT& position, IStream* data = nullptr);
  HRESULT Instantiate();               // CoCreateInstance (or factory), then SetClientSite
  HRESULT Init(IStream* data);    // IPersistStreamInit: InitNew, or Load from data
  HRESULT Activate(HWND parent, const RECT& position);  // DoVerb(OLEIVERB_INPLACEACTIVATE)
  // Shows the control at position in parent: activates it in place, or leaves it inactive (inactive).
  HRESULT Show(HWND parent, const RECT& position);
  // What a container does for a control it draws, windowless or inactive; p in parent's client
  // coordinates. HoverAt: the mouse moves over it (cursor, then mouse move). ClickAt: the left
  // button goes down at p: handed to the windowless control, or the inactive one activated
  // with the click. Focus: the focus comes to it (WM_SETFOCUS, or the UI-activate verb).
  // Paint: drawn on dc, in parent's coordinates. Each one updates window.
  HRESULT HoverAt(POINT p, DWORD keys = 0);
  HRESULT ClickAt(POINT p);
  HRESULT Focus();
  HRESULT Paint(HDC dc);
  bool inPlaceWindowless = false;  // in place without a window (OnInPlaceActivateEx(ACTIVATE_WINDOWLESS))
  bool inPlace = false;           // between the in-place activation and deactivation
  // Closes the control without saving, takes the site back and releases it. True when the
  // last reference went away and the site's own count is back where it started.
  bool Destroy();
  // The control's interface riid (AddRef'd), or nullptr.
  template <typename T>
  T* Interface(REFIID riid) {
    void* p = nullptr;
    if (!object || FAILED(IOleObject_QueryInterface(object, riid, &p))) return nullptr;
    return static_cast<T*>(p);
  }
  // The EDIT window of the control while it is in place: the in-place window itself, or the
  // one inside it.
  HWND Edit() const;
  // window asked again of the control.
  void RefreshWindow();
  // A message of the site's window handed to the windowless control.
  HRESULT Forward(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr);
};

// What the process holds, to compare before and after many controls came and went.
// Wine's GetGuiResources is a stub returning 0, and it reports PrivateUsage as 0, so:
// - windows: those of this thread, one by one: top-level (EnumThreadWindows), message-only
//   (children of HWND_MESSAGE, which EnumThreadWindows skips), and all their descendants.
//   Windows are the USER objects the control makes;
// - GDI objects: under Wine, the entries in use in the process's GDI handle table, which the
//   PEB points to (GdiSharedHandleTable: Wine's GDI_HANDLE_ENTRY, Type 0 when free); on
//   Windows, GetGuiResources;
// - memory: the busy blocks of every heap of the process (HeapWalk), to the byte, and the
//   committed private pages of the address space (VirtualQuery), which also see VirtualAlloc
//   and heaps that grew.
struct ResourceUse {
  int windows = 0;
  int gdi = 0;
  size_t bytes = 0, blocks = 0;  // busy heap blocks
  size_t pages = 0;            // committed private memory, bytes
};
ResourceUse Measure();

}  // namespace delvorin::ocx::test
