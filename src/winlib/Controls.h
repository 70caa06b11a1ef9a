#pragma once
// The standard controls, each a thin object over its Win32 class with the events
// the forms bind to.
#include "winlib/Window.h"

#include <string>
#include <vector>

namespace qrx {

class TButton : public TWindow {
 public:
  void Create(TWindow& parent, const std::string& caption);
  void Click();  // as if the user pressed it
  void SetDefault(bool isDefault);
  bool IsDefault() const { return default_; }
  std::function<void()> OnClick;
  int Tag = 0;
  bool HandleCommand(WORD code) override;

 private:
  bool default_ = false;
};

class TCheckBox : public TButton {
 public:
  void Create(TWindow& parent, const std::string& caption);
  bool Checked() const;
  void SetChecked(bool checked);
};

class TRadioButton : public TCheckBox {
 public:
  // The first button of a group starts a new group.
  void Create(TWindow& parent, const std::string& caption, bool firstOfGroup);
};

class TLabel : public TWindow {
 public:
  void Create(TWindow& parent, const std::string& caption, DWORD align = SS_LEFT);
};

class TEdit : public TWindow {
 public:
  void Create(TWindow& parent, DWORD extraStyle = 0);
  void SelectAll();
  void SetMaxLength(int n);
  std::function<void()> OnChange;
  bool HandleCommand(WORD code) override;
};

// Drop-down combo box; the list is the box's history.
class TComboBox : public TWindow {
 public:
  void Create(TWindow& parent, bool dropDownList = false, int listHeight = 160);
  int Count() const;
  std::string Item(int index) const;
  std::vector<std::string> Items() const;
  void SetItems(const std::vector<std::string>& items);
  void Clear();
  void Add(const std::string& text);
  void Insert(int index, const std::string& text);
  void Delete(int index);
  int IndexOf(const std::string& text) const;  // exact, case-sensitive
  int ItemIndex() const;
  void SetItemIndex(int index);
  void SelectAll();
  void SetMaxLength(int n);
  bool DroppedDown() const;
  std::function<void()> OnChange;
  std::function<void()> OnSelect;  // an entry was picked from the list
  bool HandleCommand(WORD code) override;
};

// A list box's notifications as its two events: a new selection and a double click. False
// for any other code.
bool ListBoxCommand(WORD code, const std::function<void()>& onChange, const std::function<void()>& onDblClick);

class TListBox : public TWindow {
 public:
  void Create(TWindow& parent, DWORD extraStyle = 0);
  int Count() const;
  std::string Item(int index) const;
  void Clear();
  void Add(const std::string& text);
  int ItemIndex() const;
  void SetItemIndex(int index);
  int TopIndex() const;
  std::function<void()> OnChange;
  std::function<void()> OnDblClick;
  bool HandleCommand(WORD code) override;
};

class TTabControl : public TWindow {
 public:
  void Create(TWindow& parent, const std::vector<std::string>& tabs);
  int TabIndex() const;
  void SetTabIndex(int index);  // does not raise OnChange, as with a program's own change
  int TabCount() const;
  RECT DisplayRect() const;  // the page area, in the control's coordinates
  // The tab Ctrl+Tab turns to (Ctrl+Shift+Tab backwards, both round the ends) when key is
  // Tab with Ctrl held; else -1.
  int TabForKey(WORD key) const;
  std::function<void()> OnChange;
  bool HandleNotify(NMHDR* hdr, LRESULT& result) override;
};

// Edit with an up-down buddy, holding a number between Min and Max.
class TSpinEdit : public TWindow {
 public:
  void Create(TWindow& parent, int minValue, int maxValue);
  int Value() const;
  void SetValue(int value);
  void SetBounds(int left, int top, int width, int height) override;  // the arrows follow the edit
  int Min = 0, Max = 100;
  HWND UpDown() const { return updown_; }
  std::function<void()> OnChange;
  bool HandleCommand(WORD code) override;

 private:
  HWND updown_ = nullptr;
};

class TStatusBar : public TWindow {
 public:
  void Create(TWindow& parent);
  void SetPanels(const std::vector<int>& widths);  // -1: to the right edge
  void SetPanelText(int index, const std::string& text);
  std::string PanelText(int index) const;
  void Resize();  // follows the parent's size
};

}  // namespace qrx
