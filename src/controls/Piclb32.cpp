#include "controls/Piclb32.h"

#include "winlib/GdiScopes.h"
#include "winlib/Handles.h"

#include <algorithm>
#include <cstdlib>

namespace qrx {

namespace {

constexpr const char* kIndexError = "List index out of bounds";
constexpr const char* kInsertError = "Unable to insert a line";
// Longer texts are cut here, as the drawing buffer holds no more.
constexpr size_t kMaxDrawnText = 4095;
// While a carried row rests at the top or bottom of the list, it scrolls a row this often.
constexpr UINT_PTR kDragScrollTimer = 0x5150;
constexpr UINT kDragScrollInterval = 80;

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  UniqueGdi<HBRUSH> brush(::CreateSolidBrush(color));
  if (brush) ::FillRect(dc, &rect, brush.get());
}

UniqueGdi<HFONT> StyledFont(HWND list, uint8_t flags) {
  auto font = reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA lf{};
  ::GetObjectA(font, sizeof lf, &lf);
  lf.lfWeight = (flags & pfBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (flags & pfItalic) ? TRUE : FALSE;
  lf.lfUnderline = (flags & pfUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (flags & pfStrikeOut) ? TRUE : FALSE;
  return UniqueGdi<HFONT>(::CreateFontIndirectA(&lf));
}

}  // namespace

void TPicListItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  SetItalic(!enabled);
}

// --- the rows ---------------------------------------------------------------------------

HWND TPicListBoxStrings::Handle() const { return owner_.Handle(); }

int TPicListBoxStrings::Count() const {
  return static_cast<int>(::SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
}

TPicListItem& TPicListBoxStrings::Item(int index) const {
  if (index < 0 || index >= Count() || index >= static_cast<int>(items_.size())) throw EListError(kIndexError);
  const LRESULT data = ::SendMessageA(Handle(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (data == LB_ERR || data == 0) throw EListError(kIndexError);
  return *reinterpret_cast<TPicListItem*>(data);
}

int TPicListBoxStrings::Add(const std::string& text) {
  const int index = Count();
  Insert(index, text);
  return index;
}

void TPicListBoxStrings::Insert(int index, const std::string& text) {
  if (index < 0 || index > Count()) throw EListError(kIndexError);
  auto item = std::make_unique<TPicListItem>(text);
  const LRESULT row = ::SendMessageA(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(item.get()));
  if (row < 0) throw EListError(kInsertError);
  items_.insert(items_.begin() + index, std::move(item));
}

void TPicListBoxStrings::Delete(int index) {
  Item(index);
  ::SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  items_.erase(items_.begin() + index);
}

void TPicListBoxStrings::Clear() {
  ::SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
  items_.clear();
}

void TPicListBoxStrings::Move(int from, int to) {
  if (from == to) return;
  Item(from);
  if (to < 0 || to >= Count()) throw EListError(kIndexError);
  // The item itself travels, so its pictures, flags, state and object go with it.
  auto item = std::move(items_[from]);
  items_.erase(items_.begin() + from);
  ::SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(from), 0);
  LRESULT row = ::SendMessageA(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(to), reinterpret_cast<LPARAM>(item.get()));
  if (row < 0) {
    // Put it back where it was rather than lose it.
    to = from;
    row = ::SendMessageA(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(from), reinterpret_cast<LPARAM>(item.get()));
    if (row >= 0) items_.insert(items_.begin() + from, std::move(item));
    throw EListError(kInsertError);
  }
  items_.insert(items_.begin() + to, std::move(item));
}

void TPicListBoxStrings::BeginUpdate() {
  if (updates_++ == 0) ::SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TPicListBoxStrings::EndUpdate() {
  if (updates_ == 0 || --updates_ > 0) return;
  ::SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

// --- the list box -----------------------------------------------------------------------

void TPicListBox::Create(TWindow& parent, DWORD extraStyle) {
  CreateControl("LISTBOX",
                WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT | extraStyle,
                WS_EX_CLIENTEDGE, parent.Handle(), NextControlId());
  // The parent was asked for the row height before the control was ours to answer.
  SetItemHeight(kDefaultItemHeight);
}

void TPicListBox::SetImages(HIMAGELIST images) {
  images_ = images;
  Invalidate();
}

void TPicListBox::SetPixelTabStops(const std::string& text) {
  tabStops_ = ParsePixelTabStops(text);
  Invalidate();
}

int TPicListBox::ItemIndex() const {
  if (MultiSelect()) return static_cast<int>(::SendMessageA(hwnd_, LB_GETCARETINDEX, 0, 0));
  return static_cast<int>(::SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
}

void TPicListBox::SetItemIndex(int index) {
  if (index == ItemIndex()) return;
  if (MultiSelect()) {
    ::SendMessageA(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
  } else {
    ::SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

int TPicListBox::TopIndex() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETTOPINDEX, 0, 0)); }

void TPicListBox::SetTopIndex(int index) {
  if (index != TopIndex()) ::SendMessageA(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

int TPicListBox::ItemHeight() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETITEMHEIGHT, 0, 0)); }

void TPicListBox::SetItemHeight(int height) {
  ::SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
  Invalidate();
}

bool TPicListBox::MultiSelect() const {
  return (::GetWindowLongA(hwnd_, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

bool TPicListBox::Selected(int index) const {
  return ::SendMessageA(hwnd_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

RECT TPicListBox::ItemRect(int index) const {
  RECT r{};
  ::SendMessageA(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

int TPicListBox::ItemAtPos(POINT pt, bool existing) const {
  const RECT client = ClientRect();
  if (!::PtInRect(&client, pt)) return -1;
  const int count = items_.Count();
  for (int i = std::max(TopIndex(), 0); i < count; ++i) {
    const RECT r = ItemRect(i);
    if (r.top >= client.bottom) break;
    if (::PtInRect(&r, pt)) return i;
  }
  return existing ? -1 : count;
}

int TPicListBox::PictureColumnWidth() const {
  int width = 0, height = 0;
  if (images_ && ::ImageList_GetIconSize(images_, &width, &height)) return 2 + width;
  return 2;
}

bool TPicListBox::HandleCommand(WORD code) { return ListBoxCommand(code, OnClick, OnDblClick); }

bool TPicListBox::HandleDrawItem(DRAWITEMSTRUCT* dis) {
  const int index = static_cast<int>(dis->itemID);
  if (index < 0 || index >= items_.Count()) {
    FillSolid(dis->hDC, dis->rcItem, ::GetSysColor(COLOR_WINDOW));
    if (dis->itemState & ODS_FOCUS) ::DrawFocusRect(dis->hDC, &dis->rcItem);
    return true;
  }
  RECT focus = dis->rcItem;
  if (!(items_.Item(index).Flags & pfFocusPicture)) focus.left += PictureColumnWidth();
  if (dis->itemAction == ODA_FOCUS) {
    // Only the focus changed: the rectangle is drawn by inversion, so drawing it again
    // takes it away.
    ::DrawFocusRect(dis->hDC, &focus);
    return true;
  }
  DrawRow(dis->hDC, index, dis->rcItem, dis->itemState);
  if (dis->itemState & ODS_FOCUS) ::DrawFocusRect(dis->hDC, &focus);
  if (OnDrawItem) OnDrawItem(index, dis->rcItem, dis->itemState);
  return true;
}

void TPicListBox::DrawRow(HDC dc, int index, RECT rect, UINT state) {
  const TPicListItem& item = items_.Item(index);
  const int picWidth = PictureColumnWidth();
  const int rowLeft = rect.left;
  UniqueGdi<HFONT> font = StyledFont(hwnd_, item.Flags);
  SelectGuard fontScope(dc, font ? static_cast<HGDIOBJ>(font.get()) : ::GetStockObject(DEFAULT_GUI_FONT));

  COLORREF back = ::GetSysColor(COLOR_WINDOW);
  COLORREF fore = ::GetSysColor(item.Enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  int picture = item.PictureIndex;
  if (state & ODS_SELECTED) {
    picture = item.SelectedPictureIndex;
    if (!(item.Flags & pfHighlightPicture)) {
      RECT column = rect;
      column.right = std::min<LONG>(rect.right, rect.left + picWidth);
      FillSolid(dc, column, back);
      rect.left += picWidth;
    }
    back = ::GetSysColor(COLOR_HIGHLIGHT);
    fore = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  FillSolid(dc, rect, back);
  if (images_) ::ImageList_Draw(images_, picture, dc, rowLeft + 2, rect.top, ILD_TRANSPARENT);

  const std::string text = item.Text.substr(0, kMaxDrawnText);
  TEXTMETRICA tm{};
  ::GetTextMetricsA(dc, &tm);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, fore);
  std::vector<INT> stops(tabStops_.begin(), tabStops_.end());
  ::TabbedTextOutA(dc, rowLeft + picWidth + 2, rect.top + (rect.bottom - rect.top - tm.tmHeight) / 2, text.c_str(),
                   static_cast<int>(text.size()), static_cast<int>(stops.size()), stops.empty() ? nullptr : stops.data(),
                   0);
}

void TPicListBox::DragOver(POINT pt) {
  dragAt_ = pt;
  const bool scrolling = ScrollForDrag(pt);
  // Repeats while the pointer rests where the list can scroll.
  if (scrolling)
    ::SetTimer(hwnd_, kDragScrollTimer, kDragScrollInterval, nullptr);
  else
    ::KillTimer(hwnd_, kDragScrollTimer);
  const int row = ItemAtPos(pt, true);
  if (row >= 0) SetItemIndex(row);
  ::SetCursor(::LoadCursorA(nullptr, row >= 0 ? IDC_ARROW : IDC_NO));
}

bool TPicListBox::ScrollForDrag(POINT pt) {
  const RECT client = ClientRect();
  const int count = items_.Count();
  const int top = std::max(TopIndex(), 0);
  const int rows = std::max(1, static_cast<int>((client.bottom - client.top) / std::max(ItemHeight(), 1)));
  const int bottom = top + rows - 1;
  const int row = ItemAtPos(pt, true);
  const bool inside = pt.x >= client.left && pt.x < client.right;
  if (top > 0 && (pt.y < client.top || (inside && row == top))) {
    SetTopIndex(top - 1);
    return true;
  }
  if (bottom < count - 1 && (pt.y >= client.bottom || (inside && row == bottom))) {
    SetTopIndex(top + 1);
    return TopIndex() != top;
  }
  return false;
}

void TPicListBox::EndDrag(bool drop, POINT pt) {
  const int from = dragFrom_;
  const bool dragged = dragging_;
  dragFrom_ = -1;
  dragging_ = false;
  ::KillTimer(hwnd_, kDragScrollTimer);
  if (!dragged || from < 0 || from >= items_.Count()) return;
  const int to = drop ? ItemAtPos(pt, true) : -1;
  if (to < 0) {
    // Refused or cancelled: the carried row stays, and so does its selection.
    SetItemIndex(from);
    return;
  }
  if (to != from) items_.Move(from, to);
  SetItemIndex(to);
  if (to != from && OnDragDrop) OnDragDrop(from, to);
}

LRESULT TPicListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  const POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  switch (msg) {
    case WM_RBUTTONDOWN:
      if (MultiSelect()) {
        SetFocus();
        const int index = ItemAtPos(pt, true);
        if (index >= 0) ::SendMessageA(hwnd_, LB_SETSEL, TRUE, index);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      if (DragReorder && !MultiSelect()) {
        const LRESULT result = DefaultProc(msg, wp, lp);
        dragFrom_ = ItemAtPos(pt, true);
        dragging_ = false;
        dragStart_ = pt;
        return result;
      }
      break;
    case WM_MOUSEMOVE:
      if (dragFrom_ >= 0 && (wp & MK_LBUTTON)) {
        // While a row is held, the mouse carries it; the list's own tracking stays out.
        if (!dragging_ && (std::abs(pt.x - dragStart_.x) > ::GetSystemMetrics(SM_CXDRAG) ||
                           std::abs(pt.y - dragStart_.y) > ::GetSystemMetrics(SM_CYDRAG)))
          dragging_ = true;
        if (dragging_) DragOver(pt);
        return 0;
      }
      break;
    case WM_TIMER:
      if (wp == kDragScrollTimer) {
        if (dragging_)
          DragOver(dragAt_);
        else
          ::KillTimer(hwnd_, kDragScrollTimer);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (dragFrom_ >= 0) {
        // The list's own handling releases the mouse, which would end the drag as lost.
        const int from = dragFrom_;
        const bool dragged = dragging_;
        dragFrom_ = -1;
        const LRESULT result = DefaultProc(msg, wp, lp);
        dragFrom_ = from;
        dragging_ = dragged;
        EndDrag(true, pt);
        return result;
      }
      break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (dragFrom_ >= 0) EndDrag(false, pt);
      break;
    default:
      break;
  }
  return TWindow::WndProc(msg, wp, lp);
}

}  // namespace qrx
