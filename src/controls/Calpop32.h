#pragma once
// TfrmCalPop32: the date edit's calendar, a borderless window drawn entirely here. It
// shows the month of the current date, follows keys and the mouse, and passes every move
// of the date to its edit at once. Shown modally by the edit and destroyed by it.
#include "controls/CalendarModel.h"
#include "winlib/Form.h"
#include "winlib/Handles.h"

namespace qrx {

class TDateEdit32;

class TfrmCalPop32 : public TForm {
 public:
  explicit TfrmCalPop32(TDateEdit32& edit);

  bool ClosedByTab() const { return closedByTab_; }
  bool ClosedBackwards() const { return backwards_; }  // by Shift+Tab
  double OpeningDate() const { return opening_; }
  const TCalendarModel& Model() const { return model_; }
  const TCalendarGeometry& Geometry() const { return geometry_; }
  bool MousePressed() const { return pressed_; }

  // Every key comes here first, Tab included.
  bool PreTranslateMessage(MSG& msg) override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool HandleKey(WORD key, bool shift);
  void Move(int days);
  void Confirm();
  void MouseDown(int x, int y);
  void MouseMove(int x, int y);
  void MouseUp();
  void Paint(HDC dc);
  void PaintCell(HDC dc, int cell, bool current);
  void PaintArrow(HDC dc, const RECT& r, bool left);
  void Redraw(const RECT& r);

  TDateEdit32& edit_;
  TCalendarModel model_;
  TCalendarGeometry geometry_;
  double opening_ = 0;
  double today_ = 0;
  bool pressed_ = false;
  bool closedByTab_ = false;
  bool backwards_ = false;
  UniqueGdi<HFONT> font_, bold_;
};

}  // namespace qrx
