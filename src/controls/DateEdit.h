#pragma once
// TDateEdit32: a one-line edit that holds a date, shown in the user's short date format,
// with a drop-down button at its right edge that opens the calendar pop-up. Typing takes
// digits and the date separator; the separator moves on to the next part of the date.
#include "controls/DateFormat.h"
#include "winlib/Handles.h"
#include "winlib/Window.h"

#include <functional>

namespace qrx {

class TDateEdit32;
using TDateChangingEvent = std::function<void(TDateEdit32* sender, bool& allowChange)>;

// The edit's drop-down button: the system's combo-box arrow; it never takes the focus,
// so pressing it does not count as leaving the edit.
class TDropButton : public TWindow {
 public:
  void Create(TWindow& parent);
  std::function<void()> OnClick;
  bool Pushed() const { return pushed_; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void SetPushed(bool pushed);
  UniqueGdi<HBITMAP> arrow_;
  bool pushed_ = false;
  bool tracking_ = false;
};

class TDateEdit32 : public TWindow {
 public:
  // The format and separator are the locale's unless given, taken once here.
  void Create(TWindow& parent, const TDateFormatSettings& format = LocaleDateFormat());

  double Date() const { return date_; }
  double PreviousDate() const { return previous_; }
  // Sets the date through the change events; false when OnDateChanging refused it.
  bool SetDate(double date);
  // Empties the text and sets the date to 0.
  void Clear();
  // What leaving the edit does: a text that reads as a date becomes the date. False when
  // the text is neither empty nor a date.
  bool ApplyText();
  bool TextIsDate() const;
  void DropDown();
  bool ReadOnly() const;
  void SetReadOnly(bool readOnly);

  char Separator() const { return separator_; }
  const std::string& DisplayFormat() const { return displayFormat_; }
  const TDateFormatSettings& Format() const { return format_; }
  int Part() const { return part_; }
  TDropButton& Button() { return button_; }

  TDateChangingEvent OnDateChanging;
  std::function<void()> OnDateChanged;
  COLORREF Todaycolor = RGB(255, 0, 0);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PlaceButton();
  void SelectPart(int part);
  int SelectionStart() const;
  void Entered();
  bool TakeTypedChar(unsigned char ch);

  TDateFormatSettings format_;
  std::string displayFormat_;
  char separator_ = '/';
  double date_ = 0;
  double previous_ = 0;
  int part_ = 1;
  TDropButton button_;
};

}  // namespace qrx
