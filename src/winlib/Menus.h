#pragma once
// Menus built in code: items with captions, shortcuts and click events. Shortcuts
// of every item (hidden ones too) become the owning form's accelerator table.
#include "winlib/Handles.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qrx {

struct ShortCut {
  WORD Key = 0;      // virtual key; 0 for none
  BYTE Modifiers = 0;  // FCONTROL | FSHIFT | FALT
  explicit operator bool() const { return Key != 0; }
};
ShortCut Ctrl(WORD key);
ShortCut Alt(WORD key);
ShortCut Plain(WORD key);
// "Ctrl+O", "F12", "Ctrl+Del" as menus show them.
std::string ShortCutText(ShortCut sc);

class TMenuItem {
 public:
  TMenuItem(std::string caption, ShortCut sc, std::function<void()> onClick);
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;
  ~TMenuItem();

  TMenuItem& Add(const std::string& caption, ShortCut sc = {}, std::function<void()> onClick = {});
  TMenuItem& AddSeparator();

  UINT Id() const { return id_; }
  const std::string& Caption() const { return caption_; }
  ShortCut Shortcut() const { return shortcut_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible = true;  // hidden items keep their shortcut only
  std::function<void()> OnClick;
  const std::vector<std::unique_ptr<TMenuItem>>& Items() const { return items_; }

  // Builds the item into a menu; hidden items are left out.
  void AppendTo(HMENU menu);
  void CollectShortcuts(std::vector<ACCEL>& out) const;
  static TMenuItem* FromId(UINT id);

 private:
  UINT id_;
  std::string caption_;
  ShortCut shortcut_;
  bool enabled_ = true;
  bool separator_ = false;
  std::vector<HMENU> builtIn_;
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

// A menu bar or a popup menu: the root of a tree of items.
class TMenu {
 public:
  TMenu();
  TMenuItem& Add(const std::string& caption, ShortCut sc = {}, std::function<void()> onClick = {});
  TMenuItem& Root() { return root_; }
  HMENU BuildBar();    // the caller's window owns the result
  UniqueMenu BuildPopup();
  void CollectShortcuts(std::vector<ACCEL>& out) const { root_.CollectShortcuts(out); }
  // Shows a popup menu at screen coordinates; the pick arrives as WM_COMMAND at owner.
  void Popup(HWND owner, int x, int y);
  std::function<void()> OnPopup;

 private:
  TMenuItem root_;
};

// Runs the click of the menu item with this command id; false when there is none.
bool DispatchMenuCommand(UINT id);

}  // namespace qrx
