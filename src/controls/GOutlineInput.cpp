// Keys, characters and the mouse. The grid acts first (moving the current row), then
// the outline acts on the node of the current row.
#include <algorithm>

#include "controls/GOutlineWindow.h"
#include "winlib/MsgBox.h"

namespace qrx {

using namespace outline;

void TGOutlineWindow::KeyDown(WORD key, TShiftState shift) {
  TGOutlineNode* before = RowCount() > 0 ? NodeAtRow(Row()) : nullptr;
  if (OnKeyDown) OnKeyDown(key, shift);
  if (key != 0) GridKey(key, shift);
  if (RowCount() > 0) OutlineKey(key, shift);
  TGOutlineNode* after = RowCount() > 0 ? NodeAtRow(Row()) : nullptr;
  if (after && after != before && OnClick) OnClick();
}

// Row movement as a grid does it. Answers whether the row moved.
bool TGOutlineWindow::GridKey(WORD key, TShiftState shift) {
  const int32_t rows = RowCount();
  if (rows == 0) return false;
  const int32_t row = Row();
  const int32_t page = VisibleRowCount();
  int32_t target = row;
  if (shift & ssCtrl) {
    switch (key) {
      case VK_PRIOR: target = TopRow(); break;
      case VK_NEXT: target = std::min(rows - 1, TopRow() + page - 1); break;
      case VK_HOME: target = 0; break;
      case VK_END: target = rows - 1; break;
      default: return false;
    }
  } else {
    switch (key) {
      case VK_UP: target = row - 1; break;
      case VK_DOWN: target = row + 1; break;
      case VK_PRIOR: target = row - page; break;
      case VK_NEXT: target = row + page; break;
      case VK_HOME: target = 0; break;
      case VK_END: target = rows - 1; break;
      default: return false;
    }
  }
  target = std::clamp(target, 0, rows - 1);
  if (target == row) return false;
  if (key == VK_NEXT && !(shift & ssCtrl)) ScrollToRow(TopRow() + page);
  if (key == VK_PRIOR && !(shift & ssCtrl)) ScrollToRow(TopRow() - page);
  SetRow(target);
  EnsureRowVisible(target);
  return true;
}

void TGOutlineWindow::OutlineKey(WORD key, TShiftState shift) {
  TGOutlineNode* node = NodeAtRow(Row());
  if (!node) return;
  const bool ctrl = (shift & ssCtrl) != 0;
  switch (key) {
    case VK_RETURN:
      SelectAndShow(node);
      Toggle(node);
      return;
    case VK_HOME:
      SelectAndShow(Root()->Child(0));
      return;
    case VK_END: {
      TGOutlineNode* last = Root()->Child(Root()->ChildCount() - 1);
      while (last && last->Expanded() && last->HasItems()) last = last->Child(last->ChildCount() - 1);
      SelectAndShow(last);
      return;
    }
    case VK_LEFT:
      if (node->Level() <= 1) {
        SelectAndShow(node);
        DefaultBeep();
      } else {
        SelectAndShow(node->Parent());
      }
      return;
    case VK_RIGHT:
      SelectAndShow(node);
      if (node->HasItems() && node->Expanded()) {
        SetSelectedItem(SelectedItem() + 1);
        EnsureRowVisible(Row());
      } else {
        DefaultBeep();
      }
      return;
    case VK_UP:
      if (!ctrl) break;
      if (node->Position() == 0) {
        SelectAndShow(node);
        DefaultBeep();
      } else {
        SelectAndShow(node->Parent()->Child(node->Position() - 1));
      }
      return;
    case VK_DOWN:
      if (!ctrl) break;
      if (node->IsLastChild()) {
        SelectAndShow(node);
        DefaultBeep();
      } else {
        SelectAndShow(node->Parent()->Child(node->Position() + 1));
      }
      return;
    case VK_MULTIPLY:
      if (!ctrl) break;
      SelectAndShow(node);
      FullExpand();
      return;
    default: break;
  }
  SelectAndShow(node);
}

void TGOutlineWindow::SelectAndShow(TGOutlineNode* node) {
  if (!node) return;
  SelectNode(node);
  if (RowCount() > 0) EnsureRowVisible(Row());
}

void TGOutlineWindow::Toggle(TGOutlineNode* node) {
  if (!node || !node->InTree()) return;
  node->SetExpanded(!node->Expanded());
}

void TGOutlineWindow::KeyPress(char key) {
  if (OnKeyPress) OnKeyPress(key);
  if (key == 0 || RowCount() == 0) return;
  TGOutlineNode* node = SelectedNode();
  if (!node) return;
  switch (key) {
    case '+': node->Expand(); break;
    case '-': node->Collapse(); break;
    case '*': node->FullExpand(); break;
    default: break;
  }
}

void TGOutlineWindow::MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool dbl) {
  if (button == TMouseButton::mbLeft && ::GetFocus() != hwnd_ && CanFocus()) ::SetFocus(hwnd_);
  const int32_t row = RowAt(y);
  // The whole width of a row takes the press, also beyond a column narrower than the window.
  const bool onRow = button == TMouseButton::mbLeft && row >= 0;
  // A press on a row becomes a click when the button goes up over the current row. The
  // mouse is held first, so that a handler below that takes it away (a message box)
  // cancels the click.
  if (onRow && !dbl) {
    ::SetCapture(hwnd_);
    pressed_ = true;
  }
  if (onRow && row != Row()) {
    SetRow(row);
    EnsureRowVisible(row);
  }
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
  if (!onRow || RowCount() == 0) return;
  TGOutlineNode* node = NodeAtRow(Row());
  if (!node) return;
  SelectNode(node);
  if (OutlineStyle() == osTreePictureText && HitsToggle(Geometry(), -leftOffset_, node->Level(), x)) Toggle(node);
  if (dbl) {
    if (OnDblClick) OnDblClick();
    Toggle(SelectedNode());
  }
}

// While the button is held the current row follows the mouse, one row past the edge of
// the view at a time when the mouse is above or below it.
void TGOutlineWindow::MouseMove(int y) {
  if (!pressed_ || RowCount() == 0) return;
  int32_t row;
  if (y < 0) {
    row = TopRow() - 1;
  } else if (y >= ClientRect().bottom) {
    row = TopRow() + VisibleRowCount();
  } else {
    row = RowAt(y);
    if (row < 0) return;  // below the last row
  }
  row = std::clamp(row, 0, RowCount() - 1);
  if (row == Row()) return;
  SetRow(row);
  EnsureRowVisible(row);
}

void TGOutlineWindow::MouseUp(int x, int y) {
  if (!pressed_) return;
  pressed_ = false;
  ::ReleaseCapture();
  const RECT client = ClientRect();
  const bool inside = x >= 0 && x < client.right && y >= 0 && y < client.bottom;
  if (!inside || RowCount() == 0 || RowAt(y) != Row()) return;
  SelectNode(NodeAtRow(Row()));
  if (OnClick) OnClick();
}

}  // namespace qrx
