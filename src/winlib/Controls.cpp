#include "winlib/Controls.h"

#include <commctrl.h>
#include <algorithm>

namespace qrx {

// ---- buttons ----

void TButton::Create(TWindow& parent, const std::string& caption) {
  CreateControl("BUTTON", WS_TABSTOP | WS_VISIBLE | BS_PUSHBUTTON, 0, parent.Handle(), NextControlId(), caption);
}

bool TButton::HandleCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (OnClick) OnClick();
  return true;
}

void TButton::Click() {
  if (Showing() && Enabled()) ::SendMessageA(hwnd_, BM_CLICK, 0, 0);
}

void TButton::SetDefault(bool isDefault) {
  default_ = isDefault;
  ::SendMessageA(hwnd_, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TCheckBox::Create(TWindow& parent, const std::string& caption) {
  CreateControl("BUTTON", WS_TABSTOP | WS_VISIBLE | BS_AUTOCHECKBOX, 0, parent.Handle(), NextControlId(), caption);
}

bool TCheckBox::Checked() const { return ::SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void TCheckBox::SetChecked(bool checked) {
  ::SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::Create(TWindow& parent, const std::string& caption, bool firstOfGroup) {
  CreateControl("BUTTON", WS_VISIBLE | BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0), 0,
                parent.Handle(), NextControlId(), caption);
}

void TLabel::Create(TWindow& parent, const std::string& caption, DWORD align) {
  CreateControl("STATIC", WS_VISIBLE | align, 0, parent.Handle(), NextControlId(), caption);
}

// ---- edit ----

void TEdit::Create(TWindow& parent, DWORD extraStyle) {
  CreateControl("EDIT", WS_TABSTOP | WS_VISIBLE | ES_AUTOHSCROLL | extraStyle, WS_EX_CLIENTEDGE, parent.Handle(),
                NextControlId());
}

bool TEdit::HandleCommand(WORD code) {
  if (code == EN_CHANGE && OnChange) OnChange();
  return code == EN_CHANGE;
}

void TEdit::SelectAll() { ::SendMessageA(hwnd_, EM_SETSEL, 0, -1); }
void TEdit::SetMaxLength(int n) { ::SendMessageA(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(n), 0); }

// ---- combo box ----

void TComboBox::Create(TWindow& parent, bool dropDownList, int listHeight) {
  CreateControl("COMBOBOX",
                WS_TABSTOP | WS_VISIBLE | WS_VSCROLL | CBS_AUTOHSCROLL | (dropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN),
                0, parent.Handle(), NextControlId());
  ::SetWindowPos(hwnd_, nullptr, 0, 0, 100, listHeight, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

bool TComboBox::HandleCommand(WORD code) {
  switch (code) {
    case CBN_EDITCHANGE:
      if (OnChange) OnChange();
      return true;
    case CBN_SELCHANGE: {
      // The edit still holds the old text while this arrives; show the pick first.
      int i = ItemIndex();
      if (i >= 0) ::SetWindowTextA(hwnd_, Item(i).c_str());
      if (OnChange) OnChange();
      if (OnSelect) OnSelect();
      return true;
    }
    case CBN_SETFOCUS:
      if (OnEnter) OnEnter();
      return true;
    case CBN_KILLFOCUS:
      if (OnExit) OnExit();
      return true;
    default:
      return false;
  }
}

int TComboBox::Count() const { return static_cast<int>(::SendMessageA(hwnd_, CB_GETCOUNT, 0, 0)); }

std::string TComboBox::Item(int index) const {
  LRESULT n = ::SendMessageA(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == CB_ERR) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = ::SendMessageA(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(n == CB_ERR ? 0 : static_cast<size_t>(n));
  return s;
}

std::vector<std::string> TComboBox::Items() const {
  std::vector<std::string> items;
  for (int i = 0, n = Count(); i < n; ++i) items.push_back(Item(i));
  return items;
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  std::string text = Text();
  Clear();
  for (const auto& s : items) Add(s);
  SetText(text);
}

void TComboBox::Clear() { ::SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0); }
void TComboBox::Add(const std::string& text) {
  ::SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
void TComboBox::Insert(int index, const std::string& text) {
  ::SendMessageA(hwnd_, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}
void TComboBox::Delete(int index) { ::SendMessageA(hwnd_, CB_DELETESTRING, static_cast<WPARAM>(index), 0); }

int TComboBox::IndexOf(const std::string& text) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (Item(i) == text) return i;
  return -1;
}

int TComboBox::ItemIndex() const { return static_cast<int>(::SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)); }
void TComboBox::SetItemIndex(int index) { ::SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
void TComboBox::SelectAll() { ::SendMessageA(hwnd_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1)); }
void TComboBox::SetMaxLength(int n) { ::SendMessageA(hwnd_, CB_LIMITTEXT, static_cast<WPARAM>(n), 0); }
bool TComboBox::DroppedDown() const { return ::SendMessageA(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0; }

// ---- list box ----

void TListBox::Create(TWindow& parent, DWORD extraStyle) {
  CreateControl("LISTBOX", WS_TABSTOP | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | extraStyle,
                WS_EX_CLIENTEDGE, parent.Handle(), NextControlId());
}

bool ListBoxCommand(WORD code, const std::function<void()>& onChange, const std::function<void()>& onDblClick) {
  switch (code) {
    case LBN_SELCHANGE:
      if (onChange) onChange();
      return true;
    case LBN_DBLCLK:
      if (onDblClick) onDblClick();
      return true;
    default:
      return false;
  }
}

bool TListBox::HandleCommand(WORD code) { return ListBoxCommand(code, OnChange, OnDblClick); }

int TListBox::Count() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETCOUNT, 0, 0)); }

std::string TListBox::Item(int index) const {
  LRESULT n = ::SendMessageA(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = ::SendMessageA(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
  return s;
}

void TListBox::Clear() { ::SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0); }
void TListBox::Add(const std::string& text) {
  ::SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
int TListBox::ItemIndex() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETCURSEL, 0, 0)); }
void TListBox::SetItemIndex(int index) { ::SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
int TListBox::TopIndex() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETTOPINDEX, 0, 0)); }

// ---- tab control ----

void TTabControl::Create(TWindow& parent, const std::vector<std::string>& tabs) {
  CreateControl(WC_TABCONTROLA, WS_TABSTOP | WS_VISIBLE | WS_CLIPSIBLINGS, 0, parent.Handle(), NextControlId());
  for (size_t i = 0; i < tabs.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(tabs[i].c_str());
    ::SendMessageA(hwnd_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
}

int TTabControl::TabIndex() const { return static_cast<int>(::SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0)); }
void TTabControl::SetTabIndex(int index) { ::SendMessageA(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0); }
int TTabControl::TabCount() const { return static_cast<int>(::SendMessageA(hwnd_, TCM_GETITEMCOUNT, 0, 0)); }

int TTabControl::TabForKey(WORD key) const {
  if (key != VK_TAB || !(::GetKeyState(VK_CONTROL) & 0x8000)) return -1;
  const int count = TabCount();
  if (count <= 0) return -1;
  const int index = TabIndex();
  return (::GetKeyState(VK_SHIFT) & 0x8000) ? (index + count - 1) % count : (index + 1) % count;
}

RECT TTabControl::DisplayRect() const {
  RECT r = ClientRect();
  ::SendMessageA(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

bool TTabControl::HandleNotify(NMHDR* hdr, LRESULT& result) {
  if (hdr->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
  if (OnChange) OnChange();
  result = 0;
  return true;
}

// ---- spin edit ----

void TSpinEdit::Create(TWindow& parent, int minValue, int maxValue) {
  Min = minValue;
  Max = maxValue;
  CreateControl("EDIT", WS_TABSTOP | WS_VISIBLE | ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent.Handle(),
                NextControlId());
  updown_ = ::CreateWindowExA(0, UPDOWN_CLASSA, "",
                              WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                              0, 0, 0, 0, parent.Handle(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SendMessageA(updown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd_), 0);
  ::SendMessageA(updown_, UDM_SETRANGE32, static_cast<WPARAM>(Min), static_cast<LPARAM>(Max));
  SetValue(Min);
}

void TSpinEdit::SetBounds(int left, int top, int width, int height) {
  TWindow::SetBounds(left, top, width, height);
  ::SendMessageA(updown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd_), 0);
}

int TSpinEdit::Value() const {
  std::string t = Text();
  char* end = nullptr;
  long v = std::strtol(t.c_str(), &end, 10);
  if (t.empty() || *end) v = Min;
  return static_cast<int>(std::clamp<long>(v, Min, Max));
}

void TSpinEdit::SetValue(int value) { SetText(std::to_string(std::clamp(value, Min, Max))); }

bool TSpinEdit::HandleCommand(WORD code) {
  if (code == EN_CHANGE && OnChange) OnChange();
  return code == EN_CHANGE;
}

// ---- status bar ----

void TStatusBar::Create(TWindow& parent) {
  CreateControl(STATUSCLASSNAMEA, WS_VISIBLE | SBARS_SIZEGRIP, 0, parent.Handle(), NextControlId());
}

void TStatusBar::SetPanels(const std::vector<int>& widths) {
  std::vector<int> edges;
  int x = 0;
  for (int w : widths) {
    x = w < 0 ? -1 : x + w;
    edges.push_back(x);
  }
  ::SendMessageA(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
  ::SendMessageA(hwnd_, SB_SETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TStatusBar::PanelText(int index) const {
  LRESULT n = LOWORD(::SendMessageA(hwnd_, SB_GETTEXTLENGTHA, static_cast<WPARAM>(index), 0));
  std::string s(static_cast<size_t>(n) + 1, '\0');
  ::SendMessageA(hwnd_, SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(n));
  return s;
}

void TStatusBar::Resize() { ::SendMessageA(hwnd_, WM_SIZE, 0, 0); }

}  // namespace qrx
