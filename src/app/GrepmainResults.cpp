// The results tree's side of the main window: row texts and the result nodes the rows
// own, the tree commands, the display boxes, keys and double clicks, and the preview of
// the current match.
#include "app/Globals.h"
#include "app/Grepmain.h"
#include "app/IdeSeams.h"
#include "engine/FileSearch.h"
#include "engine/FormFile.h"
#include "engine/ResultNodes.h"
#include "engine/ResultTree.h"
#include "engine/SavedResults.h"

#include <stdexcept>

namespace qrx {

TKRESHForm::Saving::Saving(TKRESHForm& form) : form_(form) { form_.saving_ = true; }
TKRESHForm::Saving::~Saving() { form_.saving_ = false; }

TKRESHForm::Loading::Loading(TKRESHForm& form) : form_(form) {
  form_.nodeCreator_ = std::make_unique<TNodeCreator>();
  form_.loading_ = true;
}
TKRESHForm::Loading::~Loading() {
  form_.loading_ = false;
  form_.nodeCreator_.reset();
}

void TKRESHForm::BindResultsEvents() {
  treResults.OnGetNodeText = [this](TGOutlineNode* row, std::string& text) { treResultsGetNodeText(row, text); };
  treResults.OnSetNodeText = [this](TGOutlineNode* row, std::string& text) { treResultsSetNodeText(row, text); };
  treResults.OnNodeDestroy = [this](TGOutlineNode* row) { treResultsNodeDestroy(row); };
  treResults.OnShowError = [](const std::string& message) { ShowErrorBox(message); };
  treResults.OnClick = [this] { treResultsClick(); };
  treResults.OnDblClick = [this] { treResultsDblClick(); };
  // A right click makes the row under the mouse the one its popup acts on.
  treResults.OnMouseDown = [this](TMouseButton button, TShiftState, int, int y) {
    if (button != TMouseButton::mbRight) return;
    const int32_t row = treResults.RowAt(y);
    if (row < 0 || row >= treResults.RowCount() || row == treResults.Row()) return;
    treResults.SelectNode(treResults.NodeAtRow(row));
    treResultsClick();
  };
  treResults.OnKeyDown = [this](WORD& key, TShiftState) {
    bool handled = false;
    treResultsKeyDown(key, handled);
    if (handled) key = 0;  // the tree then only takes the selection from the current row
  };
  lbxFilePreview.OnDblClick = [this] { lbxFilePreviewDblClick(); };
  chkShowNumbers.OnClick = [this] {
    DisplayBoxClick(optLineNumbers, chkShowNumbers.Checked());
    lbxFilePreview.SetShowNumbers(chkShowNumbers.Checked());
  };
  chkShowFilenames.OnClick = [this] { DisplayBoxClick(optFileLines, chkShowFilenames.Checked()); };
  chkShowFilePath.OnClick = [this] { DisplayBoxClick(optFullPaths, chkShowFilePath.Checked()); };
  chkFileMatchCount.OnClick = [this] { DisplayBoxClick(optMatchCounts, chkFileMatchCount.Checked()); };
  pnlSplitter.OnMouseDown = [this](int x, int y) { pnlSplitterMouseDown(x, y); };
  pnlSplitter.OnMouseMove = [this](int x, int y) { pnlSplitterMouseMove(x, y); };
  pnlSplitter.OnMouseUp = [this](int x, int y) { pnlSplitterMouseUp(x, y); };
  pnlSplitter.OnCaptureLost = [this] { pnlSplitterCaptureLost(); };
  // The bar is under the mouse while it is dragged; the splitter holds the capture, but
  // a release the bar sees ends the drag too.
  pnlCursor.OnMouseUp = [this](int x, int y) { pnlSplitterMouseUp(x, y); };
}

// ---- row texts and result nodes ----

void TKRESHForm::treResultsGetNodeText(TGOutlineNode* row, std::string& text) {
  if (TBaseNode* node = ResultNodeOf(row)) text = saving_ ? node->GetSaveText() : node->GetDisplayText();
}

void TKRESHForm::treResultsSetNodeText(TGOutlineNode* row, std::string& text) {
  // A row that already carries a node keeps it: the nodes below it refer to it.
  if (!loading_ || !nodeCreator_ || !row || row->Data()) return;
  row->SetData(nodeCreator_->CreateNode(text));
  text = " ";  // the node answers for the row's text from now on
}

void TKRESHForm::treResultsNodeDestroy(TGOutlineNode* row) {
  // A search node leaves SearchNodes in its destructor.
  FreeResultNode(row);
}

// ---- commands ----

void TKRESHForm::menExpandLevelClick() {
  if (treResults.ItemCount() == 0) return;
  TGOutlineNode* row = treResults.SelectedNode();
  if (row && row->HasItems()) row->Expand();
}

void TKRESHForm::menCollapseLevelClick() {
  if (treResults.ItemCount() == 0) return;
  TGOutlineNode* row = treResults.SelectedNode();
  if (row && row->HasItems()) row->Collapse();
}

void TKRESHForm::ExpandAll() { treResults.FullExpand(); }
void TKRESHForm::CollapseAll() { treResults.FullCollapse(); }

void TKRESHForm::menDeleteNodeClick() {
  if (running_) return;  // the running search adds below its own row
  lbxFilePreview.Clear();
  if (treResults.ItemCount() == 0) return;
  // The tree destroys the row's children first, in order, then the row, and repaints
  // once: rows gone one by one without the repaints in between.
  treResults.Delete(treResults.SelectedItem());
  if (treResults.ItemCount() == 0) treResults.Invalidate();
}

void TKRESHForm::menDeleteAllClick() {
  if (running_) return;
  lbxFilePreview.Clear();
  treResults.Clear();
  ResetCounters();
  pnlStatus.SetText("<No Search Data>");
}

void TKRESHForm::DisplayBoxClick(uint16_t bit, bool on) {
  for (TSearchNode* search : SearchNodes)
    search->Options = on ? static_cast<uint16_t>(search->Options | bit) : static_cast<uint16_t>(search->Options & ~bit);
  // The rows' texts changed without being stored: their widths are measured again.
  treResults.InvalidateTextWidths();
}

// ---- keys and mouse ----

void TKRESHForm::treResultsKeyDown(WORD key, bool& handled) {
  if (RunTreePopupShortcut(key)) {
    handled = true;
    return;
  }
  if (key != VK_RETURN && key != VK_SPACE) return;
  handled = true;
  if (treResults.ItemCount() == 0) return;
  TGOutlineNode* row = treResults.SelectedNode();
  if (!row) return;
  if (row->Level() >= 3)
    OpenSearchMatch(false);
  else if (row->HasItems())
    row->Expanded() ? row->Collapse() : row->Expand();
}

void TKRESHForm::treResultsDblClick() {
  if (treResults.ItemCount() == 0) return;
  if (dynamic_cast<TMatchNode*>(ResultNodeOf(treResults.SelectedNode()))) OpenSearchMatch(true);
}

void TKRESHForm::lbxFilePreviewDblClick() { OpenPreviewLine(); }

// ---- preview ----

void TKRESHForm::treResultsClick() {
  if (treResults.ItemCount() == 0) return;
  auto* match = dynamic_cast<TMatchNode*>(ResultNodeOf(treResults.SelectedNode()));
  // A match without a file line (file lines were off) names no file to show.
  if (match && match->FileNode() && lbxFilePreview.Visible())
    ShowMatchInPreview(*match);
  else
    lbxFilePreview.Clear();
}

void TKRESHForm::ShowMatchInPreview(const TMatchNode& match) {
  const TFileNode& file = *match.FileNode();
  std::string shown = file.FileName;
  lbxFilePreview.SetTotalLines(settings_.NumPreviewLines);
  if (dynamic_cast<const TDFMFileNode*>(&file)) {
    // Every form is converted into the same file, so what the preview holds of that file
    // may be another form's text: it is always read again.
    lbxFilePreview.Clear();
    const std::string& converted = FormPreviewFile();
    if (converted.empty() || !ConvertFormFile(file.FileName, converted)) {
      ShowMessageDialog("Error previewing DFM file.\rFile : " + file.FileName, MsgKind::Error);
      return;
    }
    shown = converted;
  }
  try {
    lbxFilePreview.ShowFile(shown, match.LineNumber, match.MatchStart, match.MatchStop);
  } catch (const std::exception& e) {
    // A file gone or unreadable since the search: the tree stays usable.
    ShowErrorBox(e.what());
  }
}

}  // namespace qrx
