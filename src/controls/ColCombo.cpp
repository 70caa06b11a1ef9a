#include "controls/ColCombo.h"

#include "winlib/Colors.h"
#include "winlib/GdiScopes.h"
#include "winlib/Handles.h"

namespace qrx {

void TCustomColorComboBox::Create(TWindow& parent) {
  CreateControl("COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 0,
                parent.Handle(), NextControlId());
  ShowStdColors = true;
  ShowSysColors = true;
  pictureWidth_ = kDefaultPictureWidth;
  // The parent was asked for the heights before the control was ours to answer.
  SetItemHeight(kDefaultItemHeight);
  FillList();
}

int TCustomColorComboBox::Count() const { return static_cast<int>(::SendMessageA(hwnd_, CB_GETCOUNT, 0, 0)); }

int TCustomColorComboBox::ItemIndex() const { return static_cast<int>(::SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)); }

int TCustomColorComboBox::ItemHeight() const {
  return static_cast<int>(::SendMessageA(hwnd_, CB_GETITEMHEIGHT, 0, 0));
}

void TCustomColorComboBox::SetItemHeight(int height) {
  ::SendMessageA(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
  ::SendMessageA(hwnd_, CB_SETITEMHEIGHT, 0, height);
}

void TCustomColorComboBox::SetBounds(int left, int top, int width, int height) {
  // A combo box's window height is that of the box and its dropped list together.
  TWindow::SetBounds(left, top, width, height + DropDownCount * ItemHeight() + 2);
}

void TCustomColorComboBox::SetPictureWidth(int width) {
  if (width == pictureWidth_) return;
  pictureWidth_ = width;
  Invalidate();
}

void TCustomColorComboBox::GetItem(int index, int32_t& color, std::string& name) {
  const LRESULT data = ::SendMessageA(hwnd_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  color = static_cast<int32_t>(data);
  name = ColorDisplayName(color);
  if (OnGetColor) OnGetColor(this, index, color, name);
}

std::vector<int32_t> TCustomColorComboBox::ItemColors() {
  std::vector<int32_t> colors;
  std::string name;
  for (int i = 0, n = Count(); i < n; ++i) {
    int32_t color = 0;
    GetItem(i, color, name);
    colors.push_back(color);
  }
  return colors;
}

void TCustomColorComboBox::FillList() {
  const int32_t remembered = selectedColor_;
  ::SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const TColorName& n : ColorNames())
    ::SendMessageA(hwnd_, CB_ADDSTRING, 0, static_cast<LPARAM>(n.Value));
  const int index = FindLastSameRgb(ItemColors(), remembered, CurrentSysColor);
  ::SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomColorComboBox::SetSelectedColor(int32_t color) {
  selectedColor_ = color;
  if (!hwnd_) return;
  const int index = FindColor(ItemColors(), color, CurrentSysColor);
  ::SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TCustomColorComboBox::HandleCommand(WORD code) {
  if (code != CBN_SELCHANGE) return false;
  const int index = ItemIndex();
  if (index >= 0) {
    std::string name;
    GetItem(index, selectedColor_, name);
  }
  if (OnChange) OnChange();
  if (OnClick) OnClick();
  return true;
}

bool TCustomColorComboBox::HandleDrawItem(DRAWITEMSTRUCT* dis) {
  const HDC dc = dis->hDC;
  const RECT r = dis->rcItem;
  const bool selected = (dis->itemState & ODS_SELECTED) != 0;
  const COLORREF back = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  {
    UniqueGdi<HBRUSH> brush(::CreateSolidBrush(back));
    if (brush) ::FillRect(dc, &r, brush.get());
  }
  const int index = static_cast<int>(dis->itemID);
  if (index >= 0 && index < Count()) {
    RECT t{r.left + 3, r.top, r.right - 3, r.bottom};
    int32_t color = 0;
    std::string name;
    GetItem(index, color, name);
    if (PictureWidth() > 0) {
      const RECT swatch{t.left, t.top + 2, t.left + PictureWidth(), t.bottom - 2};
      UniqueGdi<HBRUSH> fill(::CreateSolidBrush(ResolveColor(color, RGB(255, 255, 255))));
      SelectGuard brush(dc, fill ? static_cast<HGDIOBJ>(fill.get()) : ::GetStockObject(BLACK_BRUSH));
      SelectGuard pen(dc, ::GetStockObject(BLACK_PEN));
      ::Rectangle(dc, swatch.left, swatch.top, swatch.right, swatch.bottom);
      t.left = swatch.right + 3;
    }
    auto font = reinterpret_cast<HFONT>(::SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    SelectGuard fontSel(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc, &tm);
    ::SetBkColor(dc, back);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::ExtTextOutA(dc, t.left, t.top + (t.bottom - t.top - tm.tmHeight) / 2, ETO_CLIPPED | ETO_OPAQUE, &t, name.c_str(),
                  static_cast<UINT>(name.size()), nullptr);
  }
  if (OnDrawItem) OnDrawItem(index, r, dis->itemState);
  return true;
}

}  // namespace qrx
