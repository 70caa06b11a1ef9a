#pragma once
// TColorComboBox: a drop-down list of the named colours, each a swatch followed by its
// name; the item's associated value is its colour.
#include "controls/ColorNames.h"
#include "winlib/Window.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qrx {

class TCustomColorComboBox;
using TOnGetColorEvent =
    std::function<void(TCustomColorComboBox* sender, int index, int32_t& color, std::string& colorName)>;
using TOnGetColorNumEvent = std::function<void(TCustomColorComboBox* sender, int& num)>;

class TCustomColorComboBox : public TWindow {
 public:
  static constexpr int kDefaultPictureWidth = 20;
  static constexpr int kDefaultItemHeight = 16;

  // Creates the list, filled with every named colour.
  void Create(TWindow& parent);

  int32_t SelectedColor() const { return selectedColor_; }
  // Selects the item of that colour, or of the same RGB value; none when nothing matches.
  void SetSelectedColor(int32_t color);
  int PictureWidth() const { return pictureWidth_ < 0 ? kDefaultPictureWidth : pictureWidth_; }
  void SetPictureWidth(int width);
  int ItemHeight() const;
  void SetItemHeight(int height);
  // The closed box's place; its list drops DropDownCount rows below it.
  void SetBounds(int left, int top, int width, int height);
  int DropDownCount = 8;

  int Count() const;
  int ItemIndex() const;
  // Item i's colour and name, as OnGetColor leaves them.
  void GetItem(int index, int32_t& color, std::string& name);
  // Empties the list and adds every named colour again, selecting the last item of the
  // same RGB value as SelectedColor; SelectedColor keeps its value.
  void FillList();

  bool ShowStdColors = true;
  bool ShowSysColors = true;
  TOnGetColorEvent OnGetColor;
  TOnGetColorNumEvent OnGetColorNum;  // kept for forms that set it; never called
  std::function<void()> OnClick;
  std::function<void()> OnChange;
  std::function<void(int index, const RECT& rect, UINT state)> OnDrawItem;

  bool HandleCommand(WORD code) override;
  bool HandleDrawItem(DRAWITEMSTRUCT* dis) override;

 private:
  std::vector<int32_t> ItemColors();
  int32_t selectedColor_ = 0;
  int pictureWidth_ = kDefaultPictureWidth;
};

class TColorComboBox : public TCustomColorComboBox {};

}  // namespace qrx
