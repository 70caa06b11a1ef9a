#include "winlib/Panels.h"

#include "winlib/GdiScopes.h"
#include "winlib/Handles.h"

#include <windowsx.h>

namespace qrx {

void TPanel::Create(TWindow* parent, const std::string& caption, Bevel bevel) {
  BevelKind = bevel;
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE | (parent ? WS_CHILD : WS_OVERLAPPEDWINDOW);
  CreateCustom("QrxPanel", style, WS_EX_CONTROLPARENT, parent ? parent->Handle() : nullptr, NextControlId(),
               CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  SetText(caption);
}

void TPanel::SetText(const std::string& text) {
  TWindow::SetText(text);
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TPanel::Paint(HDC dc) {
  RECT r = ClientRect();
  if (BevelKind != Bevel::None) {
    ::DrawEdge(dc, &r, BevelKind == Bevel::Lowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
  }
  std::string text = Text();
  if (text.empty()) return;
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd_, WM_GETFONT, 0, 0));
  SelectGuard sel(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  ::InflateRect(&r, -2, 0);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
              (CaptionLeft ? DT_LEFT : DT_CENTER) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT TPanel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (CommonMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_PAINT: {
      PaintScope paint(hwnd_);
      Paint(paint.dc());
      return 0;
    }
    case WM_SETTEXT: {
      LRESULT r = DefaultProc(msg, wp, lp);
      ::InvalidateRect(hwnd_, nullptr, TRUE);
      return r;
    }
    case WM_SETFONT:
      ::SetPropA(hwnd_, "QrxFont", reinterpret_cast<HANDLE>(wp));
      if (lp) ::InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(::GetPropA(hwnd_, "QrxFont"));
    case WM_SIZE:
      if (OnResize) OnResize();
      ::InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_SETCURSOR:
      if (Cursor && LOWORD(lp) == HTCLIENT) {
        ::SetCursor(Cursor);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      if (OnMouseDown) {
        ::SetCapture(hwnd_);
        OnMouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    case WM_LBUTTONUP:
      // The release first reaches the handler, then gives the capture up: giving it up is
      // not a lost capture.
      if (OnMouseUp) OnMouseUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      if (::GetCapture() == hwnd_) ::ReleaseCapture();
      if (OnMouseUp) return 0;
      break;
    case WM_CAPTURECHANGED:
      if (OnCaptureLost && reinterpret_cast<HWND>(lp) != hwnd_) OnCaptureLost();
      break;
    case WM_NCDESTROY:
      ::RemovePropA(hwnd_, "QrxFont");
      break;
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

void TGroupBox::Create(TWindow& parent, const std::string& caption) { TPanel::Create(&parent, caption); }

void TGroupBox::Paint(HDC dc) {
  RECT r = ClientRect();
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd_, WM_GETFONT, 0, 0));
  SelectGuard sel(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm{};
  ::GetTextMetricsA(dc, &tm);
  std::string text = Text();
  r.top += text.empty() ? 0 : tm.tmHeight / 2;
  ::DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
  if (text.empty()) return;
  SIZE size{};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  RECT tr{8, 0, 8 + size.cx + 4, tm.tmHeight};
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  ::SetBkMode(dc, OPAQUE);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_CENTER | DT_SINGLELINE);
}

}  // namespace qrx
