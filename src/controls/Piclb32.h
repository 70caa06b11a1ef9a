#pragma once
// TPicListBox: an owner-drawn list box whose rows carry, besides their text, a picture
// from an image list (another one while selected), font-style flags and an enabled flag;
// text is drawn with pixel tab stops. Rows can be dragged to a new place.
#include "controls/PicTabStops.h"
#include "winlib/Controls.h"
#include "winlib/Window.h"

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qrx {

// Item flags.
enum : uint8_t {
  pfBold = 0x01,
  pfItalic = 0x02,
  pfUnderline = 0x04,
  pfStrikeOut = 0x08,
  pfHighlightPicture = 0x10,  // the selection highlight also covers the picture column
  pfFocusPicture = 0x20,      // so does the focus rectangle
};

class EListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPicListItem {
 public:
  explicit TPicListItem(std::string text) : Text(std::move(text)) {}

  std::string Text;
  void* Object = nullptr;  // the application's; never freed here
  uint8_t PictureIndex = 0;
  uint8_t SelectedPictureIndex = 1;
  uint8_t Flags = 0;

  bool Enabled() const { return enabled_; }
  // A disabled item is grey and italic, an enabled one upright.
  void SetEnabled(bool enabled);
  bool Bold() const { return (Flags & pfBold) != 0; }
  void SetBold(bool on) { SetFlag(pfBold, on); }
  bool Italic() const { return (Flags & pfItalic) != 0; }
  void SetItalic(bool on) { SetFlag(pfItalic, on); }

 private:
  void SetFlag(uint8_t flag, bool on) { Flags = on ? (Flags | flag) : (Flags & ~flag); }
  bool enabled_ = true;
};

class TPicListBox;

// The rows as a string list; every row holds one TPicListItem, owned here.
class TPicListBoxStrings {
 public:
  explicit TPicListBoxStrings(TPicListBox& owner) : owner_(owner) {}
  int Count() const;
  std::string Get(int index) const { return Item(index).Text; }
  void* Object(int index) const { return Item(index).Object; }
  void SetObject(int index, void* object) { Item(index).Object = object; }
  int Add(const std::string& text);
  void Insert(int index, const std::string& text);
  void Delete(int index);
  void Clear();
  void Move(int from, int to);
  void BeginUpdate();
  void EndUpdate();
  TPicListItem& Item(int index) const;

 private:
  HWND Handle() const;
  TPicListBox& owner_;
  std::vector<std::unique_ptr<TPicListItem>> items_;
  int updates_ = 0;
};

class TPicListBox : public TWindow {
 public:
  static constexpr int kDefaultItemHeight = 16;

  TPicListBox() : items_(*this) {}
  // Fixed-height owner-drawn rows; extraStyle may add LBS_MULTIPLESEL and the like.
  void Create(TWindow& parent, DWORD extraStyle = 0);

  TPicListBoxStrings& Items() { return items_; }
  const TPicListBoxStrings& Items() const { return items_; }

  // Not owned; none draws no pictures.
  HIMAGELIST Images() const { return images_; }
  void SetImages(HIMAGELIST images);

  std::string PixelTabStops() const { return FormatPixelTabStops(tabStops_); }
  // Keeps the old stops when the text is refused (EOrder, EConvertError).
  void SetPixelTabStops(const std::string& text);
  const std::vector<int32_t>& TabStops() const { return tabStops_; }

  int ItemIndex() const;
  void SetItemIndex(int index);
  int TopIndex() const;
  void SetTopIndex(int index);
  int ItemHeight() const;
  void SetItemHeight(int height);
  bool MultiSelect() const;
  bool Selected(int index) const;
  // The row at a client point: -1 outside the client area; below the last row the row
  // count, or -1 when only existing rows are wanted.
  int ItemAtPos(POINT pt, bool existing) const;
  RECT ItemRect(int index) const;
  // Width of the picture column.
  int PictureColumnWidth() const;

  // Rows move when dragged with the left button: while one is carried the row under the
  // pointer is selected and the list scrolls at its top and bottom rows; it is dropped on an
  // existing row only. OnDragDrop tells where one went.
  bool DragReorder = false;
  std::function<void(int from, int to)> OnDragDrop;
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  // Called after a row has been drawn, with the row's rectangle and state.
  std::function<void(int index, const RECT& rect, UINT state)> OnDrawItem;

  bool HandleDrawItem(DRAWITEMSTRUCT* dis) override;
  bool HandleCommand(WORD code) override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void DrawRow(HDC dc, int index, RECT rect, UINT state);
  void DragOver(POINT pt);
  // Scrolls by one row when the pointer is at the top or bottom of the rows; false when
  // there is nothing to scroll.
  bool ScrollForDrag(POINT pt);
  void EndDrag(bool drop, POINT pt);

  TPicListBoxStrings items_;
  HIMAGELIST images_ = nullptr;
  std::vector<int32_t> tabStops_;
  int dragFrom_ = -1;
  bool dragging_ = false;
  POINT dragStart_{}, dragAt_{};
};

}  // namespace qrx
