#include "app/ResultsView.h"

#include "winlib/Handles.h"

#include <algorithm>
#include <windowsx.h>

namespace qrx {

void TResultsView::Create(TWindow& parent) {
  CreateCustom("QrxResultsView", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS,
               WS_EX_CLIENTEDGE, parent.Handle(), NextControlId(), CS_DBLCLKS, nullptr);
}

void TResultsView::SetColors(COLORREF back, COLORREF text) {
  back_ = back;
  text_ = text;
  Refresh();
}

void TResultsView::SetViewFont(HFONT font) {
  font_ = font;
  Refresh();
}

void TResultsView::Refresh() {
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

int TResultsView::VisibleRows() const {
  RECT r = ClientRect();
  return std::max(1, static_cast<int>(r.bottom) / RowHeight());
}

void TResultsView::RowCountChanged() {
  UpdateScrollBar();
  Refresh();
}

void TResultsView::Invalidate() { Refresh(); }

void TResultsView::CurrentRowChanged() {
  EnsureRowVisible();
  Refresh();
}

void TResultsView::UpdateScrollBar() {
  if (!hwnd_) return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(0, RowCount() - 1);
  si.nPage = static_cast<UINT>(VisibleRows());
  si.nPos = TopRow();
  ::SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void TResultsView::EnsureRowVisible() {
  if (!hwnd_) return;
  int row = Row(), top = TopRow(), rows = VisibleRows();
  if (row < top)
    SetTopRow(row);
  else if (row >= top + rows)
    SetTopRow(row - rows + 1);
  UpdateScrollBar();
}

void TResultsView::MoveRow(int row) {
  int count = RowCount();
  if (count == 0) return;
  row = std::clamp(row, 0, count - 1);
  if (row != Row()) {
    SelectNode(NodeAtRow(row));  // the selection follows the current row
    EnsureRowVisible();
    Refresh();
    if (OnClick) OnClick();
  }
}

void TResultsView::Paint(HDC dc) {
  RECT client = ClientRect();
  UniqueGdi<HBRUSH> backBrush(::CreateSolidBrush(back_));
  ::FillRect(dc, &client, backBrush.get());
  SelectGuard sel(dc, font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  int h = RowHeight();
  int count = RowCount();
  bool focused = ::GetFocus() == hwnd_;
  for (int row = TopRow(), y = 0; row < count && y < client.bottom; ++row, y += h) {
    TGOutlineNode* node = NodeAtRow(row);
    if (!node) break;
    int x = 4 + (node->Level() - 1) * 16;
    RECT line{0, y, client.right, y + h};
    bool current = row == Row();
    if (current) ::FillRect(dc, &line, ::GetSysColorBrush(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    ::SetTextColor(dc, current && focused ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : text_);
    if (node->HasItems()) {
      const char* mark = node->Expanded() ? "-" : "+";
      RECT mr{x, y, x + 12, y + h};
      ::DrawTextA(dc, mark, 1, &mr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    std::string text = node->Text();
    RECT tr{x + 14, y, client.right, y + h};
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &tr,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
    if (current && focused) ::DrawFocusRect(dc, &line);
  }
}

LRESULT TResultsView::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (msg != WM_KEYDOWN && CommonMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd_, &ps);
      Paint(dc);
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UpdateScrollBar();
      Refresh();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Refresh();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: {
      if (OnKeyDown) {
        bool handled = false;
        OnKeyDown(static_cast<WORD>(wp), handled);
        if (handled) return 0;
      }
      int rows = VisibleRows();
      switch (wp) {
        case VK_UP: MoveRow(Row() - 1); break;
        case VK_DOWN: MoveRow(Row() + 1); break;
        case VK_PRIOR: MoveRow(Row() - rows); break;
        case VK_NEXT: MoveRow(Row() + rows); break;
        case VK_HOME: MoveRow(0); break;
        case VK_END: MoveRow(RowCount() - 1); break;
        default: break;
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      ::SetFocus(hwnd_);
      int row = TopRow() + GET_Y_LPARAM(lp) / RowHeight();
      if (row < RowCount()) {
        if (row != Row()) {
          SelectNode(NodeAtRow(row));
          Refresh();
        }
        if (OnClick) OnClick();
        if (msg == WM_LBUTTONDBLCLK && OnDblClick) OnDblClick();
      }
      return 0;
    }
    case WM_MOUSEWHEEL: {
      int delta = GET_WHEEL_DELTA_WPARAM(wp) > 0 ? -3 : 3;
      SetTopRow(std::clamp(TopRow() + delta, 0, std::max(0, RowCount() - 1)));
      UpdateScrollBar();
      Refresh();
      return 0;
    }
    case WM_VSCROLL: {
      int top = TopRow();
      switch (LOWORD(wp)) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= VisibleRows(); break;
        case SB_PAGEDOWN: top += VisibleRows(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO si{sizeof si, SIF_TRACKPOS};
          ::GetScrollInfo(hwnd_, SB_VERT, &si);
          top = si.nTrackPos;
          break;
        }
        default: break;
      }
      SetTopRow(std::clamp(top, 0, std::max(0, RowCount() - 1)));
      UpdateScrollBar();
      Refresh();
      return 0;
    }
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace qrx
