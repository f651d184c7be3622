#include "platform/window/transparent_label_win.h"

#include <commctrl.h>

#include <string>

#include "platform/base/entry_guard.h"
#include "platform/window/owned_window_objects_win.h"

namespace tarnwell {
namespace {

constexpr UINT_PTR kLabelSubclass = 1;
constexpr UINT_PTR kBelowSubclass = 2;

POINT ClientOrigin(HWND window) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return origin;
}

// Draws the label's text, clipped to `region` (label client coordinates).
void DrawLabelText(HWND label, HRGN region) {
  if (!IsWindowVisible(label)) return;
  int length = GetWindowTextLengthW(label);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), length + 1)));
  WindowDC dc(label);
  if (!dc) return;
  SelectClipRgn(dc.get(), region);
  SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SendMessageW(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
               reinterpret_cast<LPARAM>(label));
  SetBkMode(dc.get(), TRANSPARENT);
  RECT area;
  GetClientRect(label, &area);
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &area,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX);
}

// Moves a region from `from`'s client coordinates (screen origin given) into the label's.
void IntoLabel(HRGN region, POINT fromOrigin, HWND label) {
  POINT labelOrigin = ClientOrigin(label);
  OffsetRgn(region, fromOrigin.x - labelOrigin.x, fromOrigin.y - labelOrigin.y);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);
LRESULT CALLBACK BelowProc(HWND below, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);

LRESULT LabelMessage(HWND label, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data) {
  auto below = reinterpret_cast<HWND>(data);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(label, &paint);
      EndPaint(label, &paint);
      // The control below repaints the area now; its paint draws our text.
      RECT area;
      GetWindowRect(label, &area);
      POINT belowOrigin = ClientOrigin(below);
      OffsetRect(&area, -belowOrigin.x, -belowOrigin.y);
      RedrawWindow(below, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
      return 0;
    }
    case WM_SETTEXT: {
      // The static control draws the new text at once, over the old one.
      LRESULT result = DefSubclassProc(label, message, wParam, lParam);
      InvalidateRect(label, nullptr, FALSE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(label, LabelProc, kLabelSubclass);
      break;
  }
  return DefSubclassProc(label, message, wParam, lParam);
}

// What shows of an edit box: its text, its selection and how far it is scrolled.
struct EditState {
  LRESULT length, selection, horizontal, vertical;
  bool operator==(const EditState&) const = default;
};

// Set while StateOf asks the box: those questions change nothing.
thread_local bool asking = false;

EditState StateOf(HWND edit) {
  asking = true;
  EditState state{SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), SendMessageW(edit, EM_GETSEL, 0, 0),
                  GetScrollPos(edit, SB_HORZ), GetScrollPos(edit, SB_VERT)};
  asking = false;
  return state;
}

LRESULT BelowMessage(HWND below, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data) {
  auto label = reinterpret_cast<HWND>(data);
  if (asking) return DefSubclassProc(below, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(below, BelowProc, kBelowSubclass);
    return DefSubclassProc(below, message, wParam, lParam);
  }
  if (message == WM_PAINT) {
    HRGN repainted = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(below, repainted, FALSE);
    LRESULT result = DefSubclassProc(below, message, wParam, lParam);
    IntoLabel(repainted, ClientOrigin(below), label);
    DrawLabelText(label, repainted);
    DeleteObject(repainted);
    return result;
  }
  if (message == WM_NCPAINT) {
    LRESULT result = DefSubclassProc(below, message, wParam, lParam);
    RECT window, client;
    GetWindowRect(below, &window);
    GetClientRect(below, &client);
    POINT origin = ClientOrigin(below);
    OffsetRect(&client, origin.x, origin.y);
    HRGN frame = CreateRectRgnIndirect(&window);
    HRGN inner = CreateRectRgnIndirect(&client);
    CombineRgn(frame, frame, inner, RGN_DIFF);
    IntoLabel(frame, POINT{0, 0}, label);
    DrawLabelText(label, frame);
    DeleteObject(inner);
    DeleteObject(frame);
    return result;
  }
  // Typing and scrolling draw over the text or move the pixels it was drawn
  // on, not always through WM_PAINT: repaint the label's area whole then.
  EditState before = StateOf(below);
  LRESULT result = DefSubclassProc(below, message, wParam, lParam);
  if (StateOf(below) != before) InvalidateRect(label, nullptr, FALSE);
  return result;
}

// The system calls these: nothing may unwind into it.
LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  return CatchAtEntry("the transparent label's procedure", LRESULT{0},
                      [&] { return LabelMessage(label, message, wParam, lParam, data); });
}

LRESULT CALLBACK BelowProc(HWND below, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  return CatchAtEntry("the procedure of the box below the transparent label", LRESULT{0},
                      [&] { return BelowMessage(below, message, wParam, lParam, data); });
}

}  // namespace

void MakeTransparentLabel(HWND label, HWND below) {
  SetWindowLongPtrW(below, GWL_STYLE, GetWindowLongPtrW(below, GWL_STYLE) & ~WS_CLIPSIBLINGS);
  SetWindowSubclass(label, LabelProc, kLabelSubclass, reinterpret_cast<DWORD_PTR>(below));
  SetWindowSubclass(below, BelowProc, kBelowSubclass, reinterpret_cast<DWORD_PTR>(label));
}

}  // namespace tarnwell
