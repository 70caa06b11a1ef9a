#include "app/Greprplc.h"

#include <algorithm>
#include <initializer_list>

namespace qrx {

namespace {

constexpr int kPanelHeight = 60;
constexpr int kButtonWidth = 84, kButtonHeight = 25, kButtonGap = 6, kMargin = 8;

}  // namespace

RECT ReplaceDialogBounds(int left, int top, int width, int height, const RECT& workArea) {
  width = std::max(width, TdlgReplaceText::kMinWidth);
  height = std::max(height, TdlgReplaceText::kMinHeight);
  // A position stored on a screen that is no longer there would open the dialog out of reach.
  const int areaWidth = workArea.right - workArea.left, areaHeight = workArea.bottom - workArea.top;
  if (width <= areaWidth) left = std::clamp(left, static_cast<int>(workArea.left), static_cast<int>(workArea.right) - width);
  else left = workArea.left;
  if (height <= areaHeight) top = std::clamp(top, static_cast<int>(workArea.top), static_cast<int>(workArea.bottom) - height);
  else top = workArea.top;
  return RECT{left, top, left + width, top + height};
}

TdlgReplaceText::TdlgReplaceText(HWND owner) {
  CreateForm("TdlgReplaceText", "Quarrix Replace", WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, owner);
  MinWidth = kMinWidth;
  MinHeight = kMinHeight;
  lbxFilePreview.Create(Handle(), NextControlId());
  pnlButtons.Create(this);
  lblPrompt.Create(pnlButtons, "Replace");
  edtReplaceTxt.Create(pnlButtons);
  chkLineNums.Create(pnlButtons, "Line #'s");
  btnReplaceOne.Create(pnlButtons, "&Replace");
  btnReplaceFile.Create(pnlButtons, "Replace &File");
  btnSkipOne.Create(pnlButtons, "&Skip");
  btnSkipFile.Create(pnlButtons, "S&kip File");
  btnReplaceAll.Create(pnlButtons, "Replace &All");
  btnCancel.Create(pnlButtons, "&Cancel");
  ApplyFont();
  CancelButton = &btnCancel;
  SetDefaultButton(&btnReplaceOne);

  btnCancel.OnClick = [this] { Answer(0); };
  btnSkipOne.OnClick = [this] { Answer(1); };
  btnSkipFile.OnClick = [this] { Answer(2); };
  btnReplaceOne.OnClick = [this] { Answer(3); };
  btnReplaceFile.OnClick = [this] { Answer(4); };
  btnReplaceAll.OnClick = [this] { Answer(5); };
  chkLineNums.OnClick = [this] { chkLineNumsClick(); };
  ::SetWindowPos(Handle(), nullptr, 0, 0, kDesignWidth, kDesignHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Resize();
}

void TdlgReplaceText::Answer(uint8_t action) {
  Action = action;
  ModalResult = action == 0 ? IDCANCEL : IDOK;
}

void TdlgReplaceText::chkLineNumsClick() { lbxFilePreview.SetShowNumbers(chkLineNums.Checked()); }

void TdlgReplaceText::SetPromptEnabled(bool enabled) {
  for (TWindow* w : std::initializer_list<TWindow*>{&btnReplaceOne, &btnReplaceFile, &btnSkipOne, &btnSkipFile,
                                                    &btnReplaceAll, &btnCancel, &edtReplaceTxt, &chkLineNums,
                                                    &lblPrompt})
    w->SetEnabled(enabled);
}

void TdlgReplaceText::Retire() {
  lbxFilePreview.Clear();
  SetVisible(false);
}

uint8_t TdlgReplaceText::Ask(const TReplacePrompt& prompt, std::string& replaceText) {
  lbxFilePreview.Clear();
  try {
    lbxFilePreview.ShowFile(prompt.PreviewFile, prompt.LineNumber, prompt.MatchStart, prompt.MatchStop);
  } catch (const std::exception&) {
    // The question can still be answered without the picture of the file.
  }
  SetText("Replace - " + prompt.FileName);
  lblPrompt.SetText("Replace \"" + prompt.SearchText + "\" with");
  edtReplaceTxt.SetText(prompt.ReplaceText);
  LayoutButtons();
  SetPromptEnabled(true);
  Action = 0;
  edtReplaceTxt.SetFocus();
  edtReplaceTxt.SelectAll();
  ShowModal(false);
  const uint8_t action = Action;
  if (action != 0) ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  replaceText = edtReplaceTxt.Text();
  SetPromptEnabled(false);
  return action;
}

bool TdlgReplaceText::CloseQuery() {
  // Closed between two questions the dialog only steps aside; the run asks it again.
  SetVisible(false);
  return false;
}

void TdlgReplaceText::Resize() {
  if (!pnlButtons.Handle()) return;
  RECT c = ClientRect();
  const int w = c.right, h = c.bottom;
  lbxFilePreview.SetBounds(0, 0, w, std::max(0, h - kPanelHeight));
  pnlButtons.SetBounds(0, std::max(0, h - kPanelHeight), w, kPanelHeight);
  LayoutButtons();
}

void TdlgReplaceText::LayoutButtons() {
  const int w = pnlButtons.ClientRect().right;
  const int rowTop = kPanelHeight - kButtonHeight - 6;
  int x = w - kMargin - kButtonWidth;
  for (TButton* b : {&btnCancel, &btnReplaceAll, &btnSkipFile, &btnSkipOne, &btnReplaceFile, &btnReplaceOne}) {
    b->SetBounds(x, rowTop, kButtonWidth, kButtonHeight);
    x -= kButtonWidth + kButtonGap;
  }
  chkLineNums.SetBounds(kMargin, rowTop + 4, std::max(20, x + kButtonWidth - kMargin), 17);
  // A long search text must leave the box room to be edited.
  const int labelWidth = std::min(TextWidthIn(lblPrompt.Handle(), lblPrompt.Text()), w / 2);
  lblPrompt.SetBounds(kMargin, 9, labelWidth, 17);
  // The box runs from just after the prompt to the Cancel button's right edge.
  const int boxLeft = kMargin + labelWidth + 8;
  const int boxRight = btnCancel.Left() + btnCancel.Width();
  edtReplaceTxt.SetBounds(boxLeft, 6, std::max(40, boxRight - boxLeft), 22);
}

}  // namespace qrx
