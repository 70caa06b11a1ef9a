#include "winlib/Menus.h"

#include <algorithm>
#include <map>

namespace qrx {
namespace {

std::map<UINT, TMenuItem*>& Registry() {
  static std::map<UINT, TMenuItem*> items;
  return items;
}

UINT NextCommandId() {
  static UINT next = 200;
  return ++next;
}

std::string KeyName(WORD key) {
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  switch (key) {
    case VK_DELETE: return "Del";
    case VK_INSERT: return "Ins";
    case VK_SUBTRACT: return "Num -";
    case VK_OEM_MINUS: return "-";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_TAB: return "Tab";
    case VK_SPACE: return "Space";
    default: return "#" + std::to_string(key);
  }
}

}  // namespace

ShortCut Ctrl(WORD key) { return {key, FCONTROL}; }
ShortCut Alt(WORD key) { return {key, FALT}; }
ShortCut Plain(WORD key) { return {key, 0}; }

std::string ShortCutText(ShortCut sc) {
  if (!sc) return {};
  std::string s;
  if (sc.Modifiers & FSHIFT) s += "Shift+";
  if (sc.Modifiers & FCONTROL) s += "Ctrl+";
  if (sc.Modifiers & FALT) s += "Alt+";
  return s + KeyName(sc.Key);
}

TMenuItem::TMenuItem(std::string caption, ShortCut sc, std::function<void()> onClick)
    : OnClick(std::move(onClick)), id_(NextCommandId()), caption_(std::move(caption)), shortcut_(sc) {
  separator_ = caption_ == "-";
  Registry()[id_] = this;
}

TMenuItem::~TMenuItem() { Registry().erase(id_); }

TMenuItem& TMenuItem::Add(const std::string& caption, ShortCut sc, std::function<void()> onClick) {
  items_.push_back(std::make_unique<TMenuItem>(caption, sc, std::move(onClick)));
  return *items_.back();
}

TMenuItem& TMenuItem::AddSeparator() { return Add("-"); }

void TMenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  for (HMENU m : builtIn_) {
    if (::IsMenu(m)) ::EnableMenuItem(m, id_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

void TMenuItem::AppendTo(HMENU menu) {
  if (!Visible) return;
  if (separator_) {
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  std::string text = caption_;
  if (shortcut_) text += "\t" + ShortCutText(shortcut_);
  UINT flags = MF_STRING | (enabled_ ? MF_ENABLED : MF_GRAYED);
  if (items_.empty()) {
    ::AppendMenuA(menu, flags, id_, text.c_str());
  } else {
    HMENU sub = ::CreatePopupMenu();
    for (auto& child : items_) child->AppendTo(sub);
    ::AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
  }
  builtIn_.erase(std::remove_if(builtIn_.begin(), builtIn_.end(), [](HMENU m) { return !::IsMenu(m); }),
                 builtIn_.end());
  builtIn_.push_back(menu);
}

void TMenuItem::CollectShortcuts(std::vector<ACCEL>& out) const {
  if (shortcut_) out.push_back(ACCEL{static_cast<BYTE>(FVIRTKEY | shortcut_.Modifiers), shortcut_.Key,
                                     static_cast<WORD>(id_)});
  for (auto& child : items_) child->CollectShortcuts(out);
}

TMenuItem* TMenuItem::FromId(UINT id) {
  auto it = Registry().find(id);
  return it == Registry().end() ? nullptr : it->second;
}

TMenu::TMenu() : root_("", {}, {}) {}

TMenuItem& TMenu::Add(const std::string& caption, ShortCut sc, std::function<void()> onClick) {
  return root_.Add(caption, sc, std::move(onClick));
}

HMENU TMenu::BuildBar() {
  HMENU bar = ::CreateMenu();
  for (auto& item : root_.Items()) item->AppendTo(bar);
  return bar;
}

UniqueMenu TMenu::BuildPopup() {
  UniqueMenu menu(::CreatePopupMenu());
  for (auto& item : root_.Items()) item->AppendTo(menu.get());
  return menu;
}

void TMenu::Popup(HWND owner, int x, int y) {
  if (OnPopup) OnPopup();
  UniqueMenu menu = BuildPopup();
  ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
}

bool DispatchMenuCommand(UINT id) {
  TMenuItem* item = TMenuItem::FromId(id);
  if (!item || !item->Enabled()) return false;
  if (item->OnClick) item->OnClick();
  return true;
}

}  // namespace qrx
