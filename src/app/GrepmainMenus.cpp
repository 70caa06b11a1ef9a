// The main window's menus: the main menu, the tree's popup and the window's popup with
// every command's caption and shortcut, and the enabling that follows the tree.
#include "app/About.h"
#include "app/Grepmain.h"
#include "app/Help.h"
#include "app/IdeSeams.h"
#include "engine/ResultNodes.h"
#include "engine/ResultTree.h"

namespace qrx {
namespace {

bool KeyDown(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

BYTE HeldModifiers() {
  BYTE m = 0;
  if (KeyDown(VK_CONTROL)) m |= FCONTROL;
  if (KeyDown(VK_SHIFT)) m |= FSHIFT;
  if (KeyDown(VK_MENU)) m |= FALT;
  return m;
}

TMenuItem* FindShortcut(const TMenuItem& parent, WORD key, BYTE modifiers) {
  for (const auto& item : parent.Items()) {
    ShortCut sc = item->Shortcut();
    if (sc && sc.Key == key && sc.Modifiers == modifiers) return item.get();
    if (TMenuItem* inner = FindShortcut(*item, key, modifiers)) return inner;
  }
  return nullptr;
}

TMenuItem& AddHidden(TMenu& menu, const std::string& caption, ShortCut sc, std::function<void()> onClick) {
  TMenuItem& item = menu.Add(caption, sc, std::move(onClick));
  item.Visible = false;
  return item;
}

// The request climbs through the parents, each of which may pass itself on as the
// target: where the mouse is, or where the focus is for the keyboard, decides.
bool ContextMenuFrom(const TWindow& control, HWND target, int x, int y) {
  if (target == control.Handle()) return true;
  if (x == -1 && y == -1) return control.Focused();
  RECT r{};
  ::GetWindowRect(control.Handle(), &r);
  return control.Showing() && ::PtInRect(&r, POINT{x, y}) != FALSE;
}

}  // namespace

void TKRESHForm::CreateMenus() {
  CommandItems& c = commands_;
  auto open = [this] { OpenSearchMatch(false); };
  auto showEditor = [this] { ShowEditor(); };
  auto save = [this] { menSaveSearchClick(); };
  auto exportSearch = [this] { menExportSearchClick(); };
  auto load = [this] { menLoadSearchClick(); };
  auto printerSetup = [this] { mnuPrinterSetupClick(); };
  auto print = [this] { mnuPrintClick(); };
  // Whatever closed the dialog, what it made live is stored at once.
  auto properties = [this] {
    ShowPropertiesDialog(*this);
    SaveSettingsOrSay();
  };
  auto help = [this] { ShowHelpTopic(*this, "Contents"); };
  auto about = [this] { ShowAboutBox(*this); };

  TMenuItem& file = mnuMain.Add("&File");
  c.Open.push_back(&file.Add("&Open Search Match", Ctrl('O'), open));
  c.ShowEditor.push_back(&file.Add("&Show Editor / IDE", Plain(VK_F12), showEditor));
  file.AddSeparator();
  c.WithRows.push_back(&file.Add("&Save Search...", Plain(VK_F2), save));
  c.WithRows.push_back(&file.Add("&Export Search...", Ctrl(VK_F2), exportSearch));
  file.Add("&Load Search...", Plain(VK_F3), load);
  file.AddSeparator();
  file.Add("Printer Se&tup...", {}, printerSetup);
  c.WithRows.push_back(&file.Add("&Print...", Ctrl('P'), print));
  file.AddSeparator();
  c.Properties.push_back(&file.Add("P&roperties...", {}, properties));
  file.AddSeparator();
  file.Add("E&xit", Alt('X'), [this] { Close(); });

  TMenuItem& results = mnuMain.Add("Res&ults");
  c.WithRows.push_back(&results.Add("E&xpand Level", {}, [this] { menExpandLevelClick(); }));
  c.WithRows.push_back(&results.Add("Co&llapse Level", {}, [this] { menCollapseLevelClick(); }));
  c.WithRows.push_back(&results.Add("&Expand All", Ctrl('E'), [this] { ExpandAll(); }));
  c.WithRows.push_back(&results.Add("&Collapse All", Ctrl('L'), [this] { CollapseAll(); }));
  results.AddSeparator();
  c.Mutating.push_back(&results.Add("&Delete Node", {}, [this] { menDeleteNodeClick(); }));
  c.Mutating.push_back(&results.Add("Clear &Window", Ctrl(VK_DELETE), [this] { menDeleteAllClick(); }));

  TMenuItem& helpMenu = mnuMain.Add("Hel&p");
  helpMenu.Add("&Help Contents...", Plain(VK_F1), help);
  helpMenu.Add("&Regular Expressions...", {}, [this] { ShowHelpTopic(*this, "Regular_Expressions"); });
  helpMenu.AddSeparator();
  helpMenu.Add("&About...", {}, about);

  // The tree's popup. Its own shortcuts (Del, the minus key) act only while the tree
  // has the focus: Del in an input box must not delete results.
  TMenu& tp = menOutlinePopup;
  c.Open.push_back(&tp.Add("&Open Search Match", {}, open));
  c.ShowEditor.push_back(&tp.Add("&Show Editor", {}, showEditor));
  tp.Root().AddSeparator();
  c.WithRows.push_back(&tp.Add("Save Search...", {}, save));
  c.WithRows.push_back(&tp.Add("&Export Search...", {}, exportSearch));
  tp.Add("Load Search...", {}, load);
  tp.Root().AddSeparator();
  tp.Add("Printer Setu&p...", {}, printerSetup);
  c.WithRows.push_back(&tp.Add("&Print...", {}, print));
  tp.Root().AddSeparator();
  c.PopupExpandLevel = &AddHidden(tp, "&Expand Level", {}, [this] { menExpandLevelClick(); });
  c.PopupCollapseLevel = &AddHidden(tp, "&Collapse Level", Plain(VK_OEM_MINUS), [this] { menCollapseLevelClick(); });
  c.WithRows.push_back(&tp.Add("Expand All", {}, [this] { ExpandAll(); }));
  c.WithRows.push_back(&tp.Add("Collapse All", {}, [this] { CollapseAll(); }));
  tp.Root().AddSeparator();
  c.Mutating.push_back(&tp.Add("&Delete Node", Plain(VK_DELETE), [this] { menDeleteNodeClick(); }));
  c.Mutating.push_back(&tp.Add("C&lear Result Window", {}, [this] { menDeleteAllClick(); }));
  tp.Root().AddSeparator();
  c.Properties.push_back(&tp.Add("&Properties...", {}, properties));
  tp.Add("&Help", {}, help);

  // The window's popup, everywhere else on the window.
  TMenu& fp = menFormPopup;
  c.Open.push_back(&fp.Add("&Open Search Match", {}, open));
  c.ShowEditor.push_back(&fp.Add("&Show Editor", {}, showEditor));
  AddHidden(fp, "&Show Editor", Alt(VK_F5), showEditor);
  fp.Root().AddSeparator();
  c.Mutating.push_back(&fp.Add("C&lear Result Window", {}, [this] { menDeleteAllClick(); }));
  fp.Root().AddSeparator();
  c.Properties.push_back(&fp.Add("&Properties...", {}, properties));
  fp.Add("&Help", {}, help);
  fp.Add("&About Quarrix...", {}, about);

  // A popup shows the enabling of the moment, also between idle times.
  menOutlinePopup.OnPopup = [this] { UpdateCommandStates(); };
  menFormPopup.OnPopup = [this] { UpdateCommandStates(); };

  SetMainMenu(&mnuMain);
  SetShortcutMenus({&mnuMain, &menFormPopup});
}

void TKRESHForm::UpdateCommandStates() {
  const bool hasRows = treResults.ItemCount() > 0;
  TGOutlineNode* row = hasRows ? treResults.SelectedNode() : nullptr;
  TBaseNode* node = ResultNodeOf(row);
  // TDFMFileNode is a TFileNode.
  const bool openable = dynamic_cast<TMatchNode*>(node) || dynamic_cast<TFileNode*>(node);
  for (TMenuItem* item : commands_.Open) item->SetEnabled(openable);
  if (!running_) btnOpen.SetEnabled(openable);
  for (TMenuItem* item : commands_.ShowEditor) item->SetEnabled(settings_.EditorType != etExternal);
  for (TMenuItem* item : commands_.WithRows) item->SetEnabled(hasRows);
  // The engine holds on to the rows of the search it is adding to.
  for (TMenuItem* item : commands_.Mutating) item->SetEnabled(hasRows && !running_);
  for (TMenuItem* item : commands_.Properties) item->SetEnabled(true);
  const bool parent = row && row->HasItems();
  commands_.PopupExpandLevel->SetEnabled(parent && !row->Expanded());
  commands_.PopupCollapseLevel->SetEnabled(parent && row->Expanded());
}

void TKRESHForm::DoIdle() { UpdateCommandStates(); }

bool TKRESHForm::RunTreePopupShortcut(WORD key) {
  TMenuItem* item = FindShortcut(menOutlinePopup.Root(), key, HeldModifiers());
  if (!item) return false;
  UpdateCommandStates();
  if (item->Enabled() && item->OnClick) item->OnClick();
  return true;
}

void TKRESHForm::ShowContextMenu(HWND target, int x, int y) {
  const bool tree = ContextMenuFrom(treResults, target, x, y);
  const bool advanced = !tree && (ContextMenuFrom(btnAdvancedOn, target, x, y) ||
                                  ContextMenuFrom(btnAdvancedOff, target, x, y));
  if (x == -1 && y == -1) {
    // From the keyboard: at the top left of the control that has the focus.
    RECT r{};
    ::GetWindowRect(tree ? treResults.Handle() : target && target != Handle() ? target : Handle(), &r);
    x = r.left + 8;
    y = r.top + 8;
  }
  (tree ? menOutlinePopup : advanced ? menAdvancedPopup : menFormPopup).Popup(Handle(), x, y);
}

}  // namespace qrx
