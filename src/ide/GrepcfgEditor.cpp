// The properties dialog's Editor/IDE page: the editor type, the IDE list with its order,
// enabling and add-ins, and the other editor's command line.
#include "ide/Grepcfg.h"
#include "ide/IDEMgr.h"
#include "winlib/Clipboard.h"
#include "winlib/MsgBox.h"

#include <commdlg.h>

#include <cstdio>

namespace qrx {

namespace {

// The list's transparent colour: olive.
constexpr COLORREF kPictureMask = RGB(128, 128, 0);

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

TdlgConfigure::~TdlgConfigure() {
  lbxEditors.SetImages(nullptr);
  if (images_) ::ImageList_Destroy(images_);
}

void TdlgConfigure::CreateEditorPage() {
  TPanel& p = pages[pgEditor];
  rbEditorType.Create(p, "Editor Type");
  rbEditorType.SetBounds(8, 4, 355, 40);
  rbIde.Create(rbEditorType, "IDE", true);
  rbIde.SetBounds(16, 16, 80, 18);
  rbOther.Create(rbEditorType, "Other", false);
  rbOther.SetBounds(120, 16, 80, 18);
  rbIde.OnClick = [this] { SetEditorType(0); };
  rbOther.OnClick = [this] { SetEditorType(1); };

  lbxEditors.Create(p);
  lbxEditors.SetBounds(8, 52, 250, 200);
  lbxEditors.SetItemHeight(17);
  lbxEditors.DragReorder = true;
  lbxEditors.OnClick = [this] { UpdateButtons(); };
  lbxEditors.OnDblClick = [this] { btnEnableClick(); };
  lbxEditors.OnDragDrop = [this](int, int) { UpdateButtons(); };
  const struct {
    TButton& button;
    const char* caption;
  } buttons[] = {{btnInstall, "&Install"}, {btnEnable, "&Disable"}, {btnMoveUp, "Move &Up"}, {btnMoveDown, "Move Do&wn"}};
  int y = 52;
  for (const auto& b : buttons) {
    b.button.Create(p, b.caption);
    b.button.SetBounds(266, y, 97, 25);
    y += 31;
  }
  btnInstall.OnClick = [this] { btnInstallClick(); };
  btnEnable.OnClick = [this] { btnEnableClick(); };
  btnMoveUp.OnClick = [this] { MoveRow(lbxEditors.ItemIndex(), lbxEditors.ItemIndex() - 1); };
  btnMoveDown.OnClick = [this] { MoveRow(lbxEditors.ItemIndex(), lbxEditors.ItemIndex() + 1); };
  chkEditorAutoSearch.Create(p, "Auto Search");
  chkEditorAutoSearch.SetBounds(8, 258, 200, 20);

  grpOtherEditor.Create(p, "Other Editor");
  grpOtherEditor.SetBounds(8, 52, 355, 200);
  lblOtherEditor.Create(grpOtherEditor, "Path :");
  lblOtherEditor.SetBounds(10, 22, 80, 16);
  edtOtherEditor.Create(grpOtherEditor, ES_AUTOHSCROLL);
  edtOtherEditor.SetBounds(10, 40, 300, 21);
  btnPickPath.Create(grpOtherEditor, "...");
  btnPickPath.SetBounds(314, 39, 30, 23);
  btnPickPath.OnClick = [this] { btnPickPathClick(); };
  lblOtherEditorParams.Create(grpOtherEditor, "Paramaters :");
  lblOtherEditorParams.SetBounds(10, 70, 100, 16);
  edtOtherEditorParams.Create(grpOtherEditor, ES_AUTOHSCROLL);
  edtOtherEditorParams.SetBounds(10, 88, 334, 21);
  lblParams.Create(grpOtherEditor, "Params:");
  lblParams.SetBounds(10, 122, 60, 16);
  btnAddFilename.Create(grpOtherEditor, "&Filename");
  btnAddFilename.SetBounds(74, 117, 80, 25);
  btnAddFilename.OnClick = [this] { AddPlaceholder("#FILENAME#"); };
  btnAddLineNum.Create(grpOtherEditor, "&Line #");
  btnAddLineNum.SetBounds(160, 117, 80, 25);
  btnAddLineNum.OnClick = [this] { AddPlaceholder("#LINENUM#"); };
  chkOtherEditorUseLFN.Create(grpOtherEditor, "Use Long Filenames");
  chkOtherEditorUseLFN.SetBounds(10, 152, 200, 20);
}

void TdlgConfigure::SetEditorType(int type) {
  const bool ide = type != 1;
  rbIde.SetChecked(ide);
  rbOther.SetChecked(!ide);
  for (TWindow* w : std::initializer_list<TWindow*>{&lbxEditors, &btnInstall, &btnEnable, &btnMoveUp, &btnMoveDown,
                                                    &chkEditorAutoSearch})
    w->SetVisible(ide);
  grpOtherEditor.SetVisible(!ide);
}

void TdlgConfigure::LoadEditorPage() {
  const TQrxSettings& s = settings_;
  SetEditorType(s.EditorType == 1 ? 1 : 0);
  edtOtherEditor.SetText(s.EditorPath);
  edtOtherEditorParams.SetText(s.EditorParams);
  chkOtherEditorUseLFN.SetChecked(s.EditorUseLFN);
  chkEditorAutoSearch.SetChecked(host_.Ide ? host_.Ide->AutoSearch : s.EditorAutoSearch);

  TPicListBoxStrings& rows = lbxEditors.Items();
  rows.BeginUpdate();
  rows.Clear();
  if (host_.Ide) {
    for (const auto& [description, ide] : host_.Ide->FillList()) {
      const int row = rows.Add(description);
      rows.SetObject(row, ide);
      TPicListItem& item = rows.Item(row);
      item.SetEnabled(ide->IsEnabled());
      item.SetBold(!ide->IsInstalled());
    }
  }
  rows.EndUpdate();
  BuildPictures();
  lbxEditors.SetItemIndex(rows.Count() > 0 ? 0 : -1);
  UpdateButtons();
}

void TdlgConfigure::BuildPictures() {
  lbxEditors.SetImages(nullptr);
  if (images_) ::ImageList_Destroy(images_);
  images_ = ::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 8, 8);
  if (!images_) return;
  int defaultIndex = 0;
  if (UniqueGdi<HBITMAP> picture(::LoadBitmapA(::GetModuleHandleA(nullptr), "DEFAULT_IDE")); picture)
    defaultIndex = ::ImageList_AddMasked(images_, picture.get(), kPictureMask);
  TPicListBoxStrings& rows = lbxEditors.Items();
  for (int i = 0; i < rows.Count(); ++i) {
    int index = defaultIndex;
    // Each call makes a new bitmap, ours to free; the image list keeps a copy.
    if (UniqueGdi<HBITMAP> picture(RowIDE(i)->Bitmap()); picture) {
      const int added = ::ImageList_AddMasked(images_, picture.get(), kPictureMask);
      if (added >= 0) index = added;
    }
    TPicListItem& item = rows.Item(i);
    item.PictureIndex = static_cast<uint8_t>(index);
    item.SelectedPictureIndex = static_cast<uint8_t>(index);
  }
  lbxEditors.SetImages(images_);
}

TGrepIDE* TdlgConfigure::RowIDE(int row) const {
  return static_cast<TGrepIDE*>(lbxEditors.Items().Object(row));
}

void TdlgConfigure::UpdateButtons() {
  const int row = lbxEditors.ItemIndex();
  const int count = lbxEditors.Items().Count();
  if (row < 0 || row >= count) {
    for (TButton* b : {&btnEnable, &btnInstall, &btnMoveUp, &btnMoveDown}) b->SetEnabled(false);
    return;
  }
  const TGrepIDE* ide = RowIDE(row);
  btnEnable.SetEnabled(true);
  btnEnable.SetText(lbxEditors.Items().Item(row).Enabled() ? "&Disable" : "&Enable");
  btnInstall.SetText(ide->IsInstalled() ? "&Uninstall" : "&Install");
  btnInstall.SetEnabled(ide->CanInstall());
  btnMoveUp.SetEnabled(row > 0);
  btnMoveDown.SetEnabled(row < count - 1);
}

void TdlgConfigure::btnEnableClick() {
  const int row = lbxEditors.ItemIndex();
  if (row < 0) return;
  TPicListItem& item = lbxEditors.Items().Item(row);
  item.SetEnabled(!item.Enabled());
  lbxEditors.Invalidate();
  UpdateButtons();
}

void TdlgConfigure::MoveRow(int from, int to) {
  const int count = lbxEditors.Items().Count();
  if (from < 0 || to < 0 || from >= count || to >= count) return;
  lbxEditors.Items().Move(from, to);
  lbxEditors.SetItemIndex(to);
  UpdateButtons();
}

void TdlgConfigure::btnInstallClick() {
  const int row = lbxEditors.ItemIndex();
  if (row < 0) return;
  TGrepIDE* ide = RowIDE(row);
  if (!ide->CanInstall()) return;
  const std::string description = ide->Description();
  if (!ide->IsInstalled()) {
    if (ide->Install())
      ShowMessageBox(Handle(),
                     "IDE installed successfully. Be sure to restart " + description + " to enable Quarrix support.",
                     MsgKind::Information);
    else
      ShowMessageBox(Handle(), "Error installing " + description, MsgKind::Error);
  } else {
    if (ide->Uninstall())
      ShowMessageBox(Handle(), description + " uninstalled successfully.", MsgKind::Information);
    else
      ShowMessageBox(Handle(), "Error uninstalling " + description, MsgKind::Error);
  }
  lbxEditors.Items().Item(row).SetBold(!ide->IsInstalled());
  UpdateButtons();
  lbxEditors.Invalidate();
}

void TdlgConfigure::AddPlaceholder(const std::string& text) {
  SetClipboardText(Handle(), text);
  edtOtherEditorParams.SetFocus();
  ::SendMessageA(edtOtherEditorParams.Handle(), WM_PASTE, 0, 0);
}

void TdlgConfigure::btnPickPathClick() {
  const std::string current = edtOtherEditor.Text();
  char file[MAX_PATH] = {};
  const size_t slash = current.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? current : current.substr(slash + 1);
  std::snprintf(file, sizeof file, "%s", name.c_str());
  const std::string directory = DirectoryOf(current);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = "Programs  (*.exe)\0*.exe\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  ofn.lpstrTitle = "Choose an Editor";
  ofn.lpstrDefExt = "exe";
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (::GetOpenFileNameA(&ofn)) edtOtherEditor.SetText(file);
}

void TdlgConfigure::ApplyEditorPage(TQrxSettings& s) {
  s.EditorType = EditorType();
  s.EditorPath = edtOtherEditor.Text();
  s.EditorParams = edtOtherEditorParams.Text();
  s.EditorUseLFN = chkOtherEditorUseLFN.Checked();
  s.EditorAutoSearch = chkEditorAutoSearch.Checked();
  if (!host_.Ide) return;
  host_.Ide->AutoSearch = s.EditorAutoSearch;
  TPicListBoxStrings& rows = lbxEditors.Items();
  for (int i = 0; i < rows.Count(); ++i) {
    TGrepIDE* ide = RowIDE(i);
    char key[16];
    std::snprintf(key, sizeof key, "%03d", i);
    ide->OrderKey = rows.Item(i).Enabled() ? std::string(key) : "Z" + ide->Description();
  }
  host_.Ide->ApplyOrder();
}

}  // namespace qrx
