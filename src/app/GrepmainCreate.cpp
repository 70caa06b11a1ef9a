// The main window's controls, menus and layout.
#include "app/Grepmain.h"

#include "app/Globals.h"
#include "app/Help.h"
#include "app/History.h"
#include "app/IdeSeams.h"
#include "app/Instance.h"
#include "app/ShellRegistration.h"
#include "ide/IDEMgr.h"
#include "engine/FileSearch.h"
#include "winlib/Application.h"
#include "app/Greprplc.h"
#include "winlib/Handles.h"
#include "winlib/TempFile.h"

#include <algorithm>
#include <vector>

namespace qrx {
namespace {

constexpr int kInputsHeight = 158;
constexpr int kButtonsHeight = 50;
constexpr int kMinUsableWidth = 560;
constexpr int kMinUsableHeight = 440;
const char* const kRegExpCaptions[10] = {"^", "$", ".", "*", "+", "[", "]", "[^", "[-]", "\\"};
const char* const kRegExpHints[10] = {
    "Start of line|Matches the start of a line",  "End of line|Matches the end of a line",
    "Any character|Matches any single character", "Zero or more|Repeats the previous item zero or more times",
    "One or more|Repeats the previous item one or more times", "Set start|Starts a set of characters",
    "Set end|Ends a set of characters",           "Negated set|Starts a set of characters not to match",
    "Range|A range of characters inside a set",   "Escape|Takes the next character literally"};

// The width a check box or radio button needs to show its whole caption in its font:
// fonts differ from system to system, so no fixed width fits them all.
int CaptionedWidth(const TWindow& box) {
  std::string text;
  const std::string caption = box.Text();
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // the mnemonic's marker
    text += caption[i];
  }
  return TextWidthIn(box.Handle(), text) + ::GetSystemMetrics(SM_CXMENUCHECK) + 8;
}

// Rows of boxes in shared columns, each column as wide as its widest caption and the
// room left over shared out; when the room is too small, equal columns.
void LayOutColumns(const std::vector<std::vector<TWindow*>>& rows, int left, int top, int width, int rowHeight) {
  size_t columns = 0;
  for (const auto& row : rows) columns = std::max(columns, row.size());
  if (columns == 0) return;
  std::vector<int> widths(columns, 0);
  for (const auto& row : rows)
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], CaptionedWidth(*row[c]));
  int needed = 0;
  for (int w : widths) needed += w;
  const int n = static_cast<int>(columns);
  for (int& w : widths) w = needed <= width ? w + (width - needed) / n : std::max(1, width / n);
  int y = top;
  for (const auto& row : rows) {
    int x = left;
    for (size_t c = 0; c < row.size(); ++c) {
      row[c]->SetBounds(x, y, widths[c], rowHeight);
      x += widths[c];
    }
    y += rowHeight;
  }
}

}  // namespace

TKRESHForm::TKRESHForm() {
  CreateForm(kMainWindowClass, ApplicationTitle(), WS_OVERLAPPEDWINDOW);
  // Smaller, the boxes of the input pages overlap and the tree shrinks to a row or two.
  MinWidth = kMinUsableWidth;
  MinHeight = std::max(kInputsHeight + kButtonsHeight + 100, kMinUsableHeight);
  CreateControls();
  InitFileDialogs();
  CreateMenus();
  BindEvents();
  SetHints();
  ApplyFont();
  treResults.SetItemHeight(15);
  // No tree line to the root: a search starts at the left edge.
  treResults.SetOptions({ooDrawFocusRect});
  // The IDE manager is made before the settings are read: it loads its own part.
  CreateIdeManager();
  LoadAllSettings();
  // At every start: a program moved since the last one is found where it now is.
  TShellRegistration::OfProgram().RegisterAppPath();
  tabSearchChange();
  UpdateStartEnabled();
  Application().HintDelay = 0;
  Application().OnHint = [this](const std::string& longHint) {
    if (settings_.ShowHints && !running_) pnlStatus.SetText(longHint);
  };
  Application().ApplyHintSettings();
  Resize();
  treResultsClick();
}

TKRESHForm::~TKRESHForm() {
  Application().OnHint = nullptr;
  // Owned by this window: it would go with it, under its object's feet.
  dlgReplace_.reset();
  // The controls go first, while every object their focus and click events reach still
  // exists; the menu bar, shown again, goes with the window.
  if (Handle()) {
    ShowMainMenu(true);
    ::DestroyWindow(Handle());
  }
  // The tree's rows free their result nodes while the tree still exists.
  treResults.Clear();
  ideMgr_.reset();
}

void TKRESHForm::CreateControls() {
  pnlSizer.Create(this);
  treResults.Create(pnlSizer);
  pnlSplitter.Create(&pnlSizer, "", Bevel::Raised);
  pnlSplitter.Cursor = ::LoadCursor(nullptr, IDC_SIZENS);
  lbxFilePreview.Create(pnlSizer.Handle(), NextControlId(), false);
  lbxFilePreview.SetItemHeight(16);
  lbxFilePreview.SetShowNumbers(false);
  pnlCursor.Create(&pnlSizer, "", Bevel::Raised);
  pnlCursor.SetVisible(false);

  grpInputs.Create(*this, "");
  cbxDirectory.Create(grpInputs);
  cbxDirectory.SetMaxLength(260);
  lbxDirectory.Create(grpInputs);
  cbxDrives.Create(grpInputs);
  btnFileList.Create(grpInputs, ">>");
  lbxFiles.Create(grpInputs);
  lbxFiles.SetVisible(false);
  lbxDirectory.DriveBox = &cbxDrives;
  lbxDirectory.FileList = &lbxFiles;
  cbxDrives.DirList = &lbxDirectory;
  lblMask.Create(grpInputs, "File &Mask:");
  lblDfmMask.Create(grpInputs, "Delphi/C++Bldr (*.dfm)");
  lblDfmMask.SetVisible(false);
  cbxMask.Create(grpInputs);
  CreateAdvancedButtons();
  tabSearch.Create(grpInputs, {"Search", "Replace", "DFM"});
  // The pages live inside the tab control, which passes their notifications on.
  ::SetWindowLongA(tabSearch.Handle(), GWL_EXSTYLE,
                   ::GetWindowLongA(tabSearch.Handle(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  pagSearch.Create(&tabSearch);
  pagReplace.Create(&tabSearch);
  CreateSearchPage();
  CreateReplacePage();
  CreateButtonArea();
}

void TKRESHForm::CreateSearchPage() {
  grpExprType.Create(pagSearch, "Expression");
  rbnExprNone.Create(grpExprType, "Standard", true);
  rbnExprRegExp.Create(grpExprType, "Reg. Exp.", false);
  rbnExprDOS.Create(grpExprType, "DOS", false);
  pnlExpression.Create(&pagSearch);
  cbxSearchFor.Create(pnlExpression);
  lblMatch.Create(pnlExpression, "Match :");
  chkLineStart.Create(pnlExpression, "Line Start");
  chkLineEnd.Create(pnlExpression, "Line End");
  for (int i = 0; i < 10; ++i) {
    btnRegExp[static_cast<size_t>(i)].Create(pnlExpression, kRegExpCaptions[i]);
    btnRegExp[static_cast<size_t>(i)].Hint = kRegExpHints[i];
  }
  btnRegExpHelp.Create(pnlExpression, "?");
  btnDOS[0].Create(pnlExpression, "*");
  btnDOS[1].Create(pnlExpression, "?");
  btnDOSHelp.Create(pnlExpression, "?");
  chkCheckCase.Create(pagSearch, "Case Sensiti&ve");
  chkSubDirs.Create(pagSearch, "Search Su&b Dirs");
  chkWholeWords.Create(pagSearch, "&Whole Words");
  chkShowNumbers.Create(pagSearch, "Show Line #'s");
  chkShowFilenames.Create(pagSearch, "Show Filenames");
  chkShowFilePath.Create(pagSearch, "Show File Paths");
  chkFileMatchCount.Create(pagSearch, "File Match Count");
}

void TKRESHForm::CreateReplacePage() {
  pnlRplExpression.Create(&pagReplace);
  lblRplSearchFor.Create(pnlRplExpression, "&Search For :");
  lblRplReplaceWith.Create(pagReplace, "&Replace With :");
  cbxRplReplaceWith.Create(pagReplace);
  chkRplLineStart.Create(pagReplace, "Line Start");
  chkRplLineEnd.Create(pagReplace, "Line End");
  chkRplCheckCase.Create(pagReplace, "Case Sensiti&ve");
  chkRplSubDirs.Create(pagReplace, "Search Su&b Dirs");
  chkRplWholeWords.Create(pagReplace, "&Whole Words");
  chkRplBackup.Create(pagReplace, "Bac&kup Replaced Files");
  chkRplBackupOvr.Create(pagReplace, "&Overwrite Old Backups");
}

void TKRESHForm::CreateButtonArea() {
  pnlButtons.Create(this);
  pnlNumMatches.Create(&pnlButtons, " Found : 0", Bevel::Lowered);
  pnlNumFiles.Create(&pnlButtons, " # Files : 0", Bevel::Lowered);
  pnlFilesSearched.Create(&pnlButtons, " Searched : 0", Bevel::Lowered);
  pnlSearchTime.Create(&pnlButtons, " Time : 0 ", Bevel::Lowered);
  pnlStatus.Create(&pnlButtons, "<No Search Data>", Bevel::Lowered);
  btnStartSearch.Create(pnlButtons, "S&tart");
  btnStop.Create(pnlButtons, "Stop");
  btnOpen.Create(pnlButtons, "&Open");
  btnStartSearch.SetEnabled(false);
  btnStop.SetVisible(false);
  btnOpen.SetEnabled(false);
  SetDefaultButton(&btnStartSearch);
  CancelButton = &btnStop;
}

void TKRESHForm::HideFileListOnEnter(TWindow& control) {
  auto previous = control.OnEnter;
  control.OnEnter = [this, previous] {
    if (fileListShown_) ShowFileList(false);
    if (previous) previous();
  };
}

void TKRESHForm::BindEvents() {
  btnStartSearch.OnClick = [this] { btnStartSearchClick(); };
  btnStop.OnClick = [this] { btnStopClick(); };
  btnOpen.OnClick = [this] { OpenSearchMatch(false); };
  btnFileList.OnClick = [this] { ShowFileList(!fileListShown_); };
  cbxMask.OnChange = [this] { UpdateStartEnabled(); };
  cbxSearchFor.OnChange = [this] { UpdateStartEnabled(); };
  cbxRplReplaceWith.OnChange = [this] { UpdateStartEnabled(); };
  cbxMask.OnExit = [this] { UpdateComboHistory(cbxMask, settings_.MaxHistory); };
  cbxSearchFor.OnExit = [this] {
    // An insert button takes the focus; it pastes where the selection was.
    ::SendMessageA(cbxSearchFor.Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&searchSelStart_),
                   reinterpret_cast<LPARAM>(&searchSelEnd_));
    UpdateComboHistory(cbxSearchFor, settings_.MaxHistory);
  };
  cbxRplReplaceWith.OnExit = [this] { UpdateComboHistory(cbxRplReplaceWith, settings_.MaxHistory); };
  cbxDirectory.OnExit = [this] { ::PostMessageA(Handle(), kDirectoryExitMessage, 0, 0); };
  cbxDirectory.OnSelect = [this] { ValidateDirectory(false); };
  lbxDirectory.OnDirChange = [this] { cbxDirectory.SetText(LongPathForm(lbxDirectory.Directory())); };
  tabSearch.OnChange = [this] { tabSearchChange(); };
  rbnExprNone.OnClick = [this] { CommonExprRbnClick(ekStandard); };
  rbnExprRegExp.OnClick = [this] { CommonExprRbnClick(ekRegExp); };
  rbnExprDOS.OnClick = [this] { CommonExprRbnClick(ekDos); };
  // Each insert button puts in the text it shows.
  for (auto* b : {&btnRegExp[0], &btnRegExp[1], &btnRegExp[2], &btnRegExp[3], &btnRegExp[4], &btnRegExp[5],
                  &btnRegExp[6], &btnRegExp[7], &btnRegExp[8], &btnRegExp[9], &btnDOS[0], &btnDOS[1]})
    b->OnClick = [this, text = b->Text()] { AddExpressionText(text); };
  btnRegExpHelp.OnClick = [this] { ShowHelpTopic(*this, "Regular_Expressions"); };
  btnDOSHelp.OnClick = [this] { ShowHelpTopic(*this, "DOS_Expressions"); };

  // Enter must reach the directory list and the tree, so Start is not the default there.
  lbxDirectory.OnEnter = [this] { SetDefaultButton(nullptr); };
  lbxDirectory.OnExit = [this] { SetDefaultButton(&btnStartSearch); };
  treResults.OnEnter = [this] { SetDefaultButton(nullptr); };
  treResults.OnExit = [this] { SetDefaultButton(&btnStartSearch); };
  for (TWindow* w : std::initializer_list<TWindow*>{
           &cbxDirectory, &cbxDrives, &cbxMask, &cbxSearchFor, &cbxRplReplaceWith, &tabSearch, &rbnExprNone,
           &rbnExprRegExp, &rbnExprDOS, &chkLineStart, &chkLineEnd, &chkCheckCase, &chkSubDirs, &chkWholeWords,
           &chkShowNumbers, &chkShowFilenames, &chkShowFilePath, &chkFileMatchCount, &chkRplLineStart,
           &chkRplLineEnd, &chkRplCheckCase, &chkRplSubDirs, &chkRplWholeWords, &chkRplBackup, &chkRplBackupOvr})
    HideFileListOnEnter(*w);
  BindResultsEvents();
}

void TKRESHForm::SetHints() {
  cbxDirectory.Hint = "Directory|The directory to search";
  cbxMask.Hint = "File mask|Files to search, for example *.cpp;*.h;*.c";
  cbxSearchFor.Hint = "Search for|The text to search for";
  cbxRplReplaceWith.Hint = "Replace with|The text that replaces each match";
  btnStartSearch.Hint = "Start|Start the search";
  btnStop.Hint = "Stop|Stop the search";
  btnOpen.Hint = "Open|Open the selected match in the editor";
  btnFileList.Hint = "Files|Show the files of the directory";
  lbxDirectory.Hint = "Directories|Double click a folder to open it";
  for (TWindow* w : std::initializer_list<TWindow*>{&cbxDirectory, &cbxMask, &cbxSearchFor, &cbxRplReplaceWith,
                                                    &btnStartSearch, &btnStop, &btnOpen, &btnFileList,
                                                    &lbxDirectory})
    AddHint(*w);
  for (auto& b : btnRegExp) AddHint(b);
}

// ---- layout ----

void TKRESHForm::Resize() {
  if (!btnOpen.Handle()) return;  // still being created
  RECT r = ClientRect();
  int w = r.right, h = r.bottom;
  pnlButtons.SetBounds(0, h - kButtonsHeight, w, kButtonsHeight);
  grpInputs.SetBounds(0, h - kButtonsHeight - kInputsHeight, w, kInputsHeight);
  pnlSizer.SetBounds(0, 0, w, std::max(0, h - kButtonsHeight - kInputsHeight));
  LayoutSizer();
  LayoutInputs();
  LayoutButtons();
}

void TKRESHForm::LayoutInputs() {
  int w = grpInputs.ClientRect().right;
  cbxDirectory.SetBounds(8, 12, 170, 200);
  lbxDirectory.SetBounds(8, 38, 170, 86);
  cbxDrives.SetBounds(8, 128, 140, 200);
  btnFileList.SetBounds(152, 128, 26, 22);
  lblMask.SetBounds(186, 16, 60, 16);
  lblDfmMask.SetBounds(186, 16, 140, 16);
  int right = w - 8;
  cbxMask.SetBounds(248, 12, std::max(40, right - 248 - 90), 200);
  btnAdvancedOff.SetBounds(right - 84, 11, 84, 23);
  btnAdvancedOn.SetBounds(right - 84, 11, 84, 23);
  tabSearch.SetBounds(186, 38, std::max(60, right - 186), 114);
  lbxFiles.SetBounds(186, 38, std::max(60, right - 186), 114);
  RECT page = tabSearch.DisplayRect();
  int px = page.left, py = page.top;
  int pw = page.right - page.left, ph = page.bottom - page.top;
  pagSearch.SetBounds(px, py, pw, ph);
  pagReplace.SetBounds(px, py, pw, ph);
  LayoutPages();
}

void TKRESHForm::LayoutPages() {
  int pw = pagSearch.ClientRect().right;
  // Search page. The expression group ends above the last row of boxes, which then
  // has the page's whole width.
  int groupWidth = 12 + std::max({62, CaptionedWidth(rbnExprNone), CaptionedWidth(rbnExprRegExp),
                                  CaptionedWidth(rbnExprDOS)});
  grpExprType.SetBounds(0, 0, groupWidth, 69);
  rbnExprNone.SetBounds(6, 15, groupWidth - 10, 16);
  rbnExprRegExp.SetBounds(6, 32, groupWidth - 10, 16);
  rbnExprDOS.SetBounds(6, 49, groupWidth - 10, 16);
  int ex = groupWidth + 4, ew = std::max(40, pw - ex);
  pnlExpression.SetBounds(ex, 0, ew, 44);
  lblMatch.SetBounds(1, 27, 38, 16);
  chkLineStart.SetBounds(42, 25, std::max(74, CaptionedWidth(chkLineStart)), 18);
  chkLineEnd.SetBounds(chkLineStart.Left() + chkLineStart.Width() + 2, 25, std::max(70, CaptionedWidth(chkLineEnd)),
                       18);
  for (size_t i = 0; i < btnRegExp.size(); ++i) btnRegExp[i].SetBounds(1 + static_cast<int>(i) * 22, 24, 21, 19);
  btnRegExpHelp.SetBounds(1 + 10 * 22 + 4, 24, 21, 19);
  btnDOS[0].SetBounds(1, 24, 21, 19);
  btnDOS[1].SetBounds(23, 24, 21, 19);
  btnDOSHelp.SetBounds(49, 24, 21, 19);
  LayOutColumns({{&chkCheckCase, &chkWholeWords}, {&chkSubDirs, &chkShowNumbers}}, ex, 44, ew, 14);
  LayOutColumns({{&chkShowFilenames, &chkShowFilePath, &chkFileMatchCount}}, 0, 72, pw, 14);
  // Replace page
  pnlRplExpression.SetBounds(0, 0, pw, 23);
  // Both labels as wide as the wider caption, so neither is cut or wrapped.
  const int boxMargin = ::GetSystemMetrics(SM_CXMENUCHECK) + 8;
  const int labelWidth =
      std::max({76, CaptionedWidth(lblRplSearchFor) - boxMargin + 4, CaptionedWidth(lblRplReplaceWith) - boxMargin + 4});
  lblRplSearchFor.SetBounds(2, 4, labelWidth, 16);
  lblRplReplaceWith.SetBounds(2, 28, labelWidth, 16);
  cbxRplReplaceWith.SetBounds(labelWidth + 4, 25, std::max(40, pw - labelWidth - 12), 200);
  LayOutColumns({{&chkRplLineStart, &chkRplLineEnd, &chkRplCheckCase}, {&chkRplSubDirs, &chkRplWholeWords}}, 2, 46,
                pw - 4, 14);
  LayOutColumns({{&chkRplBackup, &chkRplBackupOvr}}, 2, 74, pw - 4, 14);
  // The one search-for box follows the page it is on.
  if (::GetParent(cbxSearchFor.Handle()) == pnlRplExpression.Handle())
    cbxSearchFor.SetBounds(cbxRplReplaceWith.Left(), 0, cbxRplReplaceWith.Width(), 200);
  else
    cbxSearchFor.SetBounds(1, 0, std::max<int>(20, pnlExpression.ClientRect().right - 9), 200);
}

void TKRESHForm::LayoutButtons() {
  int w = pnlButtons.ClientRect().right;
  int status = std::max(40, w - 176);
  int quarter = status / 4;
  pnlNumMatches.SetBounds(4, 3, quarter, 21);
  pnlNumFiles.SetBounds(4 + quarter, 3, quarter, 21);
  pnlFilesSearched.SetBounds(4 + 2 * quarter, 3, quarter, 21);
  pnlSearchTime.SetBounds(4 + 3 * quarter, 3, status - 3 * quarter, 21);
  pnlStatus.SetBounds(4, 25, status, 21);
  btnStartSearch.SetBounds(w - 166, 12, 78, 25);
  btnStop.SetBounds(w - 166, 12, 78, 25);
  btnOpen.SetBounds(w - 84, 12, 78, 25);
}

void TKRESHForm::ShowFileList(bool show) {
  fileListShown_ = show;
  btnFileList.SetText(show ? "<<" : ">>");
  lbxFiles.SetVisible(show);
  tabSearch.SetVisible(!show);
  if (show) {
    pagSearch.SetVisible(false);
    pagReplace.SetVisible(false);
    lbxFiles.BringToFront();
  } else {
    bool replace = tabSearch.TabIndex() == skReplace;
    pagSearch.SetVisible(!replace);
    pagReplace.SetVisible(replace);
  }
}

}  // namespace qrx
