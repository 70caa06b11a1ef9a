#pragma once
// Container windows of our own class: a panel with an optional caption and bevel,
// and a group box that draws its frame itself so its children report to us.
#include "winlib/Window.h"

namespace qrx {

enum class Bevel { None, Lowered, Raised };

class TPanel : public TWindow {
 public:
  void Create(TWindow* parent, const std::string& caption = {}, Bevel bevel = Bevel::None);
  void SetText(const std::string& text) override;
  Bevel BevelKind = Bevel::None;
  bool CaptionLeft = true;  // status panels read from the left
  HCURSOR Cursor = nullptr;
  std::function<void(int x, int y)> OnMouseDown, OnMouseMove, OnMouseUp;
  // The mouse capture a press took went elsewhere before the button came up (a message
  // box, Alt+Tab).
  std::function<void()> OnCaptureLost;
  std::function<void()> OnResize;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void Paint(HDC dc);
};

class TGroupBox : public TPanel {
 public:
  void Create(TWindow& parent, const std::string& caption);

 protected:
  void Paint(HDC dc) override;
};

}  // namespace qrx
