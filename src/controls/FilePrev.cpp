#include "controls/FilePrev.h"

#include "controls/FilePrevText.h"
#include "winlib/GdiScopes.h"

#include <string_view>

using qrx::preview::LinePieces;
using qrx::PaintScope;
using qrx::ResolveColor;
using qrx::preview::TPieceRole;

namespace {

// The list box draws nothing while its contents are replaced, and repaints once at the
// end, also when loading failed half-way.
class BulkUpdate {
 public:
  explicit BulkUpdate(HWND hwnd) : hwnd_(hwnd) { ::SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0); }
  BulkUpdate(const BulkUpdate&) = delete;
  BulkUpdate& operator=(const BulkUpdate&) = delete;
  ~BulkUpdate() {
    ::SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
  }

 private:
  HWND hwnd_;
};

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  qrx::UniqueGdi<HBRUSH> brush(::CreateSolidBrush(color));
  ::FillRect(dc, &rect, brush ? brush.get() : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

int TextWidth(HDC dc, std::string_view text) {
  SIZE size{};
  if (text.empty() || !::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

// Draws pieces of text left to right along one band of a row.
class PieceWriter {
 public:
  PieceWriter(HDC dc, const RECT& band) : dc_(dc), band_(band), x_(band.left) {}

  void Draw(std::string_view text, COLORREF color, int width) {
    if (x_ >= band_.right) return;
    RECT r{x_, band_.top, x_ + width, band_.bottom};
    if (r.right > band_.right) r.right = band_.right;
    ::SetTextColor(dc_, color);
    ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    x_ += width;
  }
  void Draw(std::string_view text, COLORREF color) { Draw(text, color, TextWidth(dc_, text)); }
  void DrawOn(std::string_view text, COLORREF color, COLORREF background) {
    ::SetBkMode(dc_, OPAQUE);
    ::SetBkColor(dc_, background);
    Draw(text, color);
    ::SetBkMode(dc_, TRANSPARENT);
  }

 private:
  HDC dc_;
  RECT band_;
  int x_;
};

}  // namespace

void TFilePreview::Create(HWND parent, int id, bool integralHeight) {
  DWORD style = WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  if (!integralHeight) style |= LBS_NOINTEGRALHEIGHT;
  CreateControl("LISTBOX", style, WS_EX_CLIENTEDGE, parent, id);
  font_.reset(::CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, kFontName));
  if (font_) SetFont(font_.get());
  // The parent was asked for the row height before the control was ours to answer.
  ::SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, MAKELPARAM(itemHeight_, 0));
}

void TFilePreview::ShowFile(const std::string& fileName, int32_t line, int32_t matchStart, int32_t matchStop) {
  const int visible = VisibleRows();
  // The same line again: the rows stay, and only what re-centring moves is drawn anew.
  if (content_.Shows(fileName, line)) {
    Recentre(visible);
    return;
  }
  BulkUpdate bulk(hwnd_);
  try {
    content_.Show(fileName, line, matchStart, matchStop, visible);
  } catch (...) {
    FillItems();  // the lines read before the failure stay
    throw;
  }
  FillItems();
  Recentre(visible);
}

void TFilePreview::Clear() {
  content_.Clear();
  if (hwnd_) ::SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
}

void TFilePreview::FillItems() {
  ::SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
  for (const auto& line : content_.Lines()) {
    LRESULT index = ::SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Text.c_str()));
    if (index < 0) break;  // the list box is out of memory: show what fitted
    ::SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(line.Number));
  }
}

void TFilePreview::Recentre(int visibleRows) {
  const int32_t target = content_.TargetIndex();
  if (target < 0 || target >= Count()) return;
  ::SendMessageA(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(qrx::preview::CentredTopIndex(target, visibleRows)), 0);
  ::SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(target), 0);
}

int TFilePreview::VisibleRows() const {
  if (!hwnd_ || itemHeight_ <= 0) return 0;
  RECT r = ClientRect();
  return (r.bottom - r.top) / itemHeight_;
}

int32_t TFilePreview::ItemNumber(int index) const {
  LRESULT data = ::SendMessageA(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  return data == LB_ERR ? -1 : static_cast<int32_t>(data);
}

std::string TFilePreview::ItemText(int index) const {
  const auto& lines = content_.Lines();
  if (index < 0 || static_cast<size_t>(index) >= lines.size()) return {};
  return lines[static_cast<size_t>(index)].Text;
}

void TFilePreview::SetShowNumbers(bool show) {
  showNumbers_ = show;
  Changed();
}

void TFilePreview::SetItemHeight(int height) {
  if (height < 1) height = 1;
  if (height > 255) height = 255;  // the list box keeps row heights in a byte
  itemHeight_ = height;
  if (hwnd_) ::SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, MAKELPARAM(itemHeight_, 0));
  Changed();
}

void TFilePreview::SetColour(int32_t& field, int32_t value) {
  field = value;
  Changed();
}

void TFilePreview::Changed() {
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

bool TFilePreview::HandleMeasureItem(MEASUREITEMSTRUCT* mis) {
  mis->itemHeight = static_cast<UINT>(itemHeight_);
  return true;
}

bool TFilePreview::HandleDrawItem(DRAWITEMSTRUCT* dis) {
  const int index = static_cast<int>(dis->itemID);
  if (index < 0) {
    FillSolid(dis->hDC, dis->rcItem, ResolveColor(color_, ::GetSysColor(COLOR_BTNFACE)));
    return true;
  }
  DrawRow(dis->hDC, index, dis->rcItem, (dis->itemState & ODS_FOCUS) != 0);
  return true;
}

LRESULT TFilePreview::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // every pixel is painted with the rows
    case WM_PAINT:
      if (wp) {
        PaintClient(reinterpret_cast<HDC>(wp));
      } else {
        PaintScope paint(hwnd_);
        PaintClient(paint.dc());
      }
      return 0;
    case WM_PRINTCLIENT:
      PaintClient(reinterpret_cast<HDC>(wp));
      return 0;
    default:
      return TListBox::WndProc(msg, wp, lp);
  }
}

// Painting here rather than through the owner keeps the rows and the space below them
// in the preview's own colour whatever window the list box sits on.
void TFilePreview::PaintClient(HDC dc) {
  const RECT client = ClientRect();
  const int count = Count();
  const int top = TopIndex();
  const int caret = static_cast<int>(::SendMessageA(hwnd_, LB_GETCARETINDEX, 0, 0));
  const bool hasFocus = ::GetFocus() == hwnd_;
  int y = client.top;
  for (int index = top < 0 ? 0 : top; index < count && y < client.bottom; ++index) {
    RECT row{client.left, y, client.right, y + itemHeight_};
    DrawRow(dc, index, row, hasFocus && index == caret);
    y += itemHeight_;
  }
  if (y < client.bottom) {
    RECT rest{client.left, y, client.right, client.bottom};
    FillSolid(dc, rest, ResolveColor(color_, ::GetSysColor(COLOR_BTNFACE)));
  }
}

void TFilePreview::DrawRow(HDC dc, int index, const RECT& rect, bool focused) {
  const bool isTarget = index == content_.TargetIndex();
  const COLORREF back = ResolveColor(color_, ::GetSysColor(COLOR_BTNFACE));
  const COLORREF targetBack = ResolveColor(targetLineColor_, back);
  FillSolid(dc, rect, isTarget ? targetBack : back);

  const auto& lines = content_.Lines();
  if (index >= 0 && static_cast<size_t>(index) < lines.size()) {
    const auto& line = lines[static_cast<size_t>(index)];
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    qrx::SelectGuard fontScope(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(ANSI_FIXED_FONT));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldText = ::GetTextColor(dc);
    const COLORREF oldBack = ::GetBkColor(dc);

    RECT band = rect;
    band.top = rect.top + ((rect.bottom - rect.top) - itemHeight_) / 2;
    band.bottom = band.top + itemHeight_;
    PieceWriter writer(dc, band);

    const COLORREF windowText = ::GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF targetText = ResolveColor(targetTextColor_, windowText);
    if (showNumbers_) {
      writer.Draw(qrx::preview::LineNumberText(line.Number),
                  isTarget ? targetText : ResolveColor(lineNumColor_, windowText),
                  TextWidth(dc, qrx::preview::kNumberColumnSample));
    } else {
      writer.Draw(qrx::preview::kMarginText, back, TextWidth(dc, "  "));
    }
    for (const auto& piece :
         LinePieces(line.Text, isTarget, content_.MatchStart(), content_.MatchStop())) {
      switch (piece.Role) {
        case TPieceRole::Text:
          writer.Draw(piece.Text, ResolveColor(textColor_, windowText));
          break;
        case TPieceRole::TargetText:
          writer.Draw(piece.Text, targetText);
          break;
        case TPieceRole::Match:
          writer.DrawOn(piece.Text, ResolveColor(matchTextColor_, targetText),
                        ResolveColor(matchColor_, targetBack));
          break;
      }
    }
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
    ::SetBkMode(dc, oldMode);
  }
  if (focused) ::DrawFocusRect(dc, &rect);
}
