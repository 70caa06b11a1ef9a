#include "controls/GOutlineWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "winlib/Colors.h"
#include "winlib/TabText.h"

namespace qrx {
namespace {

using namespace outline;

constexpr char kClassName[] = "QrxOutline";
constexpr int kDefaultWidth = 121;
constexpr int kDefaultHeight = 97;
const char* const kBuiltInPictures[kPictureCount] = {"GPLUS", "GMINUS", "GOPEN", "GCLOSED", "GLEAF"};

int32_t ScreenPixelsPerInch() {
  WindowDc screen(nullptr);
  const int ppi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return ppi > 0 ? ppi : 96;
}

}  // namespace

TGOutlineWindow::TGOutlineWindow()
    : measureDc_(::CreateCompatibleDC(nullptr)),
      pixelsPerInch_(ScreenPixelsPerInch()),
      color_(SysColor(COLOR_WINDOW)),
      fontColor_(SysColor(COLOR_WINDOWTEXT)) {
  LOGFONTA lf{};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  font_.reset(::CreateFontIndirectA(&lf));
  FontChanged();
  HINSTANCE module = ::GetModuleHandleA(nullptr);
  for (int i = 0; i < kPictureCount; ++i) pictures_[i].LoadResource(module, kBuiltInPictures[i]);
}

TGOutlineWindow::~TGOutlineWindow() {
  // No message may reach this object once its members start to go.
  if (hwnd_) {
    HWND h = hwnd_;
    Detach();
    ::DestroyWindow(h);
  }
}

void TGOutlineWindow::Create(TWindow& parent) { Create(parent.Handle()); }

void TGOutlineWindow::Create(HWND parent) {
  const DWORD exStyle = BorderStyle() == TOutlineBorderStyle::Single ? WS_EX_CLIENTEDGE : 0;
  CreateCustom(kClassName, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, exStyle, parent, NextControlId(),
               CS_DBLCLKS);
  shownBorder_ = BorderStyle();
  repaintPending_ = false;
  SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
  Resized();
}

// ---------------------------------------------------------------------------------------
// Properties

void TGOutlineWindow::SetFont(HFONT font) {
  LOGFONTA lf{};
  if (!font || !::GetObjectA(font, sizeof lf, &lf)) return;
  UniqueGdi<HFONT> copy(::CreateFontIndirectA(&lf));
  if (!copy) return;
  font_ = std::move(copy);
  FontChanged();
}

void TGOutlineWindow::FontChanged() {
  LOGFONTA lf{};
  ::GetObjectA(font_.get(), sizeof lf, &lf);
  TEXTMETRICA tm{};
  if (measureDc_) {
    SelectGuard sel(measureDc_.get(), font_.get());
    ::GetTextMetricsA(measureDc_.get(), &tm);
    advances_.Build(measureDc_.get());
  } else {
    advances_.Forget();
  }
  if (lf.lfHeight == 0) lf.lfHeight = tm.tmHeight;
  points_ = FontPoints(lf.lfHeight, tm.tmInternalLeading, pixelsPerInch_);
  ForgetAllWidths();
  widestChanged_ = false;
  SizesChanged();
}

// Owner drawing takes the written row height; standard style always the font's. Going
// over to owner drawing keeps the row height the font gave.
void TGOutlineWindow::ItemSizeChanged() {
  if (Style() == otOwnerDraw && sizedStyle_ == otOwnerDraw) sizes_ = OwnerDrawItemSizes(WrittenItemHeight());
  SizesChanged();
}

void TGOutlineWindow::SizesChanged() {
  if (Style() == otStandard) sizes_ = StandardItemSizes(points_, pixelsPerInch_);
  sizedStyle_ = Style();
  // A row of no height would leave nothing to click or scroll by.
  sizes_.RowHeight = std::max(1, sizes_.RowHeight);
  sizes_.TextHeight = std::max(0, sizes_.TextHeight);
  RecomputeColumnWidth();
  UpdateScrollBars();
  Invalidate();
}

void TGOutlineWindow::SetColor(int32_t color) {
  color_ = color;
  Invalidate();
}

void TGOutlineWindow::SetFontColor(int32_t color) {
  fontColor_ = color;
  Invalidate();
}

TRowGeometry TGOutlineWindow::Geometry() const { return MakeRowGeometry(sizes_, OutlineStyle(), Options()); }

HBITMAP TGOutlineWindow::Picture(int index) const {
  return index >= 0 && index < kPictureCount ? pictures_[index].Handle() : nullptr;
}

void TGOutlineWindow::SetPicture(int index, HBITMAP bitmap) {
  if (index < 0 || index >= kPictureCount) return;
  pictures_[index].Assign(bitmap);
  Invalidate();
}

void TGOutlineWindow::Invalidate() {
  // The root option moves the tree styles' rows by a row height.
  if (Options() != measuredOptions_) RecomputeColumnWidth();
  if (!hwnd_) return;
  SyncBorder();
  // Asking again while the whole window waits for its paint would only cost a round trip
  // to the window system for every row a search adds.
  if (repaintPending_) return;
  ::InvalidateRect(hwnd_, nullptr, FALSE);
  repaintPending_ = true;
  ++work_.Invalidations;
}

// Setting a scroll bar is a round trip to the window system, and a search adds rows much
// faster than anyone can look at the bars: a change only marks them, and the next paint
// sets them once. The top row and the horizontal offset stay in range meanwhile.
void TGOutlineWindow::ScrollBarsChanged() {
  scrollBarsStale_ = true;
  Invalidate();
}

void TGOutlineWindow::SyncBorder() {
  // Every row a search adds comes here: the window system is asked only when the border
  // the model wants is not the one last shown.
  if (BorderStyle() == shownBorder_) return;
  shownBorder_ = BorderStyle();
  const LONG_PTR ex = ::GetWindowLongPtrA(hwnd_, GWL_EXSTYLE);
  const bool want = BorderStyle() == TOutlineBorderStyle::Single;
  if (((ex & WS_EX_CLIENTEDGE) != 0) == want) return;
  ::SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, want ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE)));
  ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---------------------------------------------------------------------------------------
// Text widths and the column width

int32_t TGOutlineWindow::MeasureText(HDC dc, std::string_view text) const {
  SIZE size{};
  if (!text.empty()) ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

std::string TGOutlineWindow::ShownText(TGOutlineNode* node) { return ExpandTabs(node->Text()); }

int32_t TGOutlineWindow::TextWidth(TGOutlineNode* node) {
  int32_t width = 1;
  if (KnownWidth(node, widthStamp_, width)) return width;
  if (advances_.Usable()) {
    // A search measures each row it adds: the text goes into a string kept for that.
    node->TextInto(measured_);
    width = advances_.Width(measured_) + 1;
  } else if (measureDc_) {
    const std::string text = ShownText(node);
    SelectGuard sel(measureDc_.get(), font_.get());
    width = MeasureText(measureDc_.get(), text) + 1;
  }
  // The handler may have deleted the node while answering.
  if (node->InTree()) KeepWidth(node, widthStamp_, width);
  return width;
}

bool TGOutlineWindow::ColumnFollowsTexts() const {
  const TOutlineScrollBars bars = ScrollBars();
  const bool horizontal = bars == TOutlineScrollBars::Horizontal || bars == TOutlineScrollBars::Both;
  return horizontal && !(Style() == otOwnerDraw && OnDrawItem);
}

bool TGOutlineWindow::CanMeasure() const { return !Updating() && !DestroyingRoot(); }

void TGOutlineWindow::RecomputeColumnWidth() {
  measuredOptions_ = Options();
  if (!CanMeasure()) return;
  if (!ColumnFollowsTexts()) {
    if (hwnd_) SetColumnWidth(ClientRect().right);
    return;
  }
  widestChanged_ = false;
  nodesDestroyed_ = false;
  const TRowGeometry g = Geometry();
  const TOutlineStyle style = OutlineStyle();
  int32_t widest = 0;
  if (measureDc_) {
    SelectGuard sel(measureDc_.get(), font_.get());
    widest = DisplayWidth(style, g, 0, MeasureText(measureDc_.get(), Root()->StoredText()) + 1);
  }
  // Every visible node in pre-order: the children of each expanded node.
  std::vector<std::pair<TGOutlineNode*, int32_t>> stack{{Root(), 0}};
  while (!stack.empty()) {
    auto& [parent, next] = stack.back();
    TGOutlineNode* child = parent->Child(next++);
    if (!child) {
      stack.pop_back();
      continue;
    }
    widest = std::max(widest, DisplayWidth(style, g, child->Level(), TextWidth(child)));
    if (child->Expanded() && child->HasItems()) stack.push_back({child, 0});
  }
  SetColumnWidth(widest);
}

void TGOutlineWindow::ColumnWidthChanged() { RecomputeColumnWidth(); }

// A node was attached under an expanded parent or had its text stored: only it needs
// measuring, unless it was the widest and may have become narrower.
void TGOutlineWindow::NodeWidthChanged(TGOutlineNode* node) {
  if (!CanMeasure()) return;
  if (!ColumnFollowsTexts() || widestChanged_) {
    RecomputeColumnWidth();
    return;
  }
  const int32_t width = DisplayWidth(OutlineStyle(), Geometry(), node->Level(), TextWidth(node));
  if (width > columnWidth_) SetColumnWidth(width);
}

void TGOutlineWindow::NodeTextStored(TGOutlineNode* node) {
  // A node being attached stores its text before it joins the tree, and only nodes in
  // the tree are measured.
  int32_t width = 0;
  if (!node->InTree() || !KnownWidth(node, widthStamp_, width)) return;
  if (DisplayWidth(OutlineStyle(), Geometry(), node->Level(), width) >= columnWidth_) widestChanged_ = true;
  ForgetWidth(node);
}

void TGOutlineWindow::NodeDestroying(TGOutlineNode* node) {
  int32_t width = 0;
  if (KnownWidth(node, widthStamp_, width)) nodesDestroyed_ = true;
}

void TGOutlineWindow::InvalidateTextWidths() {
  ForgetAllWidths();
  RecomputeColumnWidth();
  Invalidate();
}

void TGOutlineWindow::SetColumnWidth(int32_t width) {
  width = std::max(0, width);
  if (width == columnWidth_) return;
  columnWidth_ = width;
  if (hwnd_) {
    leftOffset_ = std::clamp(leftOffset_, 0, std::max(0, columnWidth_ - static_cast<int32_t>(ClientRect().right)));
  }
  ScrollBarsChanged();
}

// ---------------------------------------------------------------------------------------
// Rows on screen and scrolling

int32_t TGOutlineWindow::VisibleRowCount() const {
  if (!hwnd_) return 1;
  return std::max<int32_t>(1, ClientRect().bottom / sizes_.RowHeight);
}

int32_t TGOutlineWindow::MaxTopRow() const { return std::max(0, RowCount() - VisibleRowCount()); }

RECT TGOutlineWindow::CellRect(int32_t row) const {
  const int32_t top = (row - TopRow()) * sizes_.RowHeight;
  return RECT{-leftOffset_, top, -leftOffset_ + columnWidth_, top + sizes_.RowHeight};
}

int32_t TGOutlineWindow::RowAt(int y) const {
  if (y < 0) return -1;
  const int32_t row = TopRow() + y / sizes_.RowHeight;
  return row < RowCount() ? row : -1;
}

void TGOutlineWindow::RowCountChanged() {
  // Rows were taken away: the widest of them may have gone with them.
  if (nodesDestroyed_) RecomputeColumnWidth();
  // More rows never put the top row past the last one that can be on top, and the check
  // asks the window system for the client size: a search adds rows by the hundred thousand.
  const int32_t rows = RowCount();
  if (rows < shownRows_) SetTopRow(std::min(TopRow(), MaxTopRow()));
  shownRows_ = rows;
  ScrollBarsChanged();
}

void TGOutlineWindow::CurrentRowChanged() {
  if (RowCount() > 0) EnsureRowVisible(Row());
  Invalidate();
}

void TGOutlineWindow::ScrollToRow(int32_t top) {
  top = std::clamp(top, 0, MaxTopRow());
  if (top == TopRow()) return;
  SetTopRow(top);
  UpdateScrollBars();
  Invalidate();
}

void TGOutlineWindow::ScrollTo(int32_t topRow) { ScrollToRow(topRow); }

void TGOutlineWindow::EnsureRowVisible(int32_t row) {
  const int32_t top = TopRow();
  const int32_t rows = VisibleRowCount();
  if (row < top) {
    ScrollToRow(row);
  } else if (row >= top + rows) {
    ScrollToRow(row - rows + 1);
  }
}

void TGOutlineWindow::SetLeftOffset(int32_t pixels) {
  const int32_t most = std::max(0, columnWidth_ - static_cast<int32_t>(hwnd_ ? ClientRect().right : 0));
  pixels = std::clamp(pixels, 0, most);
  if (pixels == leftOffset_) return;
  leftOffset_ = pixels;
  UpdateScrollBars();
  Invalidate();
}

void TGOutlineWindow::InvalidateRow(int32_t row) {
  if (!hwnd_ || row < TopRow()) return;
  RECT r = CellRect(row);
  r.left = 0;
  r.right = ClientRect().right;
  ::InvalidateRect(hwnd_, &r, FALSE);
}

namespace {

// Setting a bar redraws it, a round trip to the window system even when nothing changed:
// a search with its rows collapsed leaves the bars as they are paint after paint.
void SetBar(HWND hwnd, int bar, int max, UINT page, int pos) {
  SCROLLINFO now{};
  now.cbSize = sizeof now;
  now.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  // A bar hidden on purpose (no scroll bars wanted) comes back only through setting it.
  const bool wanted = page > 0 ? static_cast<UINT>(max) + 1 > page : max > 0;
  const bool shown = (::GetWindowLongPtrA(hwnd, GWL_STYLE) & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
  if (shown == wanted && ::GetScrollInfo(hwnd, bar, &now) && now.nMin == 0 && now.nMax == max &&
      now.nPage == page && now.nPos == pos)
    return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = max;
  si.nPage = page;
  si.nPos = pos;
  ::SetScrollInfo(hwnd, bar, &si, TRUE);
}

}  // namespace

// Showing or hiding a bar changes the client area, which changes what the bars must
// show; a few rounds settle it.
void TGOutlineWindow::UpdateScrollBars() {
  if (!hwnd_) return;
  if (scrollDepth_ > 0) {
    resizeWaiting_ = true;
    return;
  }
  ++scrollDepth_;
  scrollBarsStale_ = false;
  ++work_.ScrollBarUpdates;
  const TOutlineScrollBars bars = ScrollBars();
  const bool vertical = bars == TOutlineScrollBars::Vertical || bars == TOutlineScrollBars::Both;
  const bool horizontal = bars == TOutlineScrollBars::Horizontal || bars == TOutlineScrollBars::Both;
  for (int round = 0; round < 3; ++round) {
    resizeWaiting_ = false;
    const RECT client = ClientRect();
    if (!ColumnFollowsTexts() && CanMeasure()) columnWidth_ = client.right;
    SetTopRow(std::min(TopRow(), MaxTopRow()));
    leftOffset_ = std::clamp(leftOffset_, 0, std::max(0, columnWidth_ - static_cast<int32_t>(client.right)));

    if (vertical) {
      SetBar(hwnd_, SB_VERT, std::max(0, RowCount() - 1), static_cast<UINT>(VisibleRowCount()), TopRow());
    } else {
      ::ShowScrollBar(hwnd_, SB_VERT, FALSE);
    }
    if (horizontal) {
      SetBar(hwnd_, SB_HORZ, std::max(0, columnWidth_ - 1), static_cast<UINT>(std::max<LONG>(0, client.right)),
             leftOffset_);
    } else {
      ::ShowScrollBar(hwnd_, SB_HORZ, FALSE);
    }
    const RECT after = ClientRect();
    if (!resizeWaiting_ && after.right == client.right && after.bottom == client.bottom) break;
  }
  --scrollDepth_;
  Invalidate();
}

void TGOutlineWindow::Resized() {
  if (ColumnFollowsTexts()) {
    RecomputeColumnWidth();
  } else if (CanMeasure()) {
    columnWidth_ = ClientRect().right;
  }
  SetTopRow(std::min(TopRow(), MaxTopRow()));
  UpdateScrollBars();
  if (RowCount() > 0) EnsureRowVisible(Row());
  Invalidate();
}

void TGOutlineWindow::VScroll(int code) {
  int32_t top = TopRow();
  switch (code) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= VisibleRowCount(); break;
    case SB_PAGEDOWN: top += VisibleRowCount(); break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = MaxTopRow(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top = TrackPos(SB_VERT); break;
    default: return;
  }
  ScrollToRow(top);
}

// Where the user is dragging a scroll bar's thumb.
int TGOutlineWindow::TrackPos(int bar) const {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_TRACKPOS;
  ::GetScrollInfo(hwnd_, bar, &si);
  return si.nTrackPos;
}

void TGOutlineWindow::HScroll(int code) {
  int32_t left = leftOffset_;
  const int32_t page = ClientRect().right;
  switch (code) {
    case SB_LINELEFT: left -= sizes_.RowHeight; break;
    case SB_LINERIGHT: left += sizes_.RowHeight; break;
    case SB_PAGELEFT: left -= page; break;
    case SB_PAGERIGHT: left += page; break;
    case SB_LEFT: left = 0; break;
    case SB_RIGHT: left = columnWidth_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: left = TrackPos(SB_HORZ); break;
    default: return;
  }
  SetLeftOffset(left);
}

void TGOutlineWindow::Wheel(int delta) {
  UINT lines = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  if (lines == WHEEL_PAGESCROLL) lines = static_cast<UINT>(VisibleRowCount());
  wheelRest_ += delta;
  const int notches = wheelRest_ / WHEEL_DELTA;
  wheelRest_ -= notches * WHEEL_DELTA;
  if (notches != 0) ScrollToRow(TopRow() - notches * static_cast<int32_t>(lines));
}

// ---------------------------------------------------------------------------------------
// Messages

namespace {

TShiftState MouseShift(WPARAM wp) {
  TShiftState s = 0;
  if (wp & MK_SHIFT) s |= ssShift;
  if (wp & MK_CONTROL) s |= ssCtrl;
  if (::GetKeyState(VK_MENU) & 0x8000) s |= ssAlt;
  if (wp & MK_LBUTTON) s |= ssLeft;
  if (wp & MK_RBUTTON) s |= ssRight;
  if (wp & MK_MBUTTON) s |= ssMiddle;
  return s;
}

}  // namespace

LRESULT TGOutlineWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  // Keys go through KeyDown, which runs the window base's OnKeyDown before the grid.
  switch (msg) {
    case WM_KEYDOWN:
      KeyDown(static_cast<WORD>(wp), KeyboardShift());
      return 0;
    case WM_CHAR:
      KeyPress(static_cast<char>(wp));
      return 0;
    default: break;
  }
  LRESULT result = 0;
  if (CommonMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_PRINTCLIENT: {
      const RECT client = ClientRect();
      WidenTo(PaintArea(reinterpret_cast<HDC>(wp), client));
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      if (scrollDepth_ > 0) {
        resizeWaiting_ = true;
      } else {
        Resized();
      }
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (RowCount() > 0) InvalidateRow(Row());
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseDown(TMouseButton::mbLeft, MouseShift(wp) | (msg == WM_LBUTTONDBLCLK ? ssDouble : 0u),
                GET_X_LPARAM(lp), GET_Y_LPARAM(lp), msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      if (wp & MK_LBUTTON) MouseMove(GET_Y_LPARAM(lp));
      break;
    case WM_LBUTTONUP:
      MouseUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd_) pressed_ = false;
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      MouseDown(msg == WM_RBUTTONDOWN ? TMouseButton::mbRight : TMouseButton::mbMiddle, MouseShift(wp),
                GET_X_LPARAM(lp), GET_Y_LPARAM(lp), false);
      break;  // the system still makes the context menu message from the press and release
    case WM_MOUSEWHEEL:
      Wheel(GET_WHEEL_DELTA_WPARAM(wp));
      return 0;
    case WM_VSCROLL:
      VScroll(LOWORD(wp));
      return 0;
    case WM_HSCROLL:
      HScroll(LOWORD(wp));
      return 0;
    case WM_SETFONT:
      SetFont(reinterpret_cast<HFONT>(wp));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.get());
    default: break;
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace qrx
