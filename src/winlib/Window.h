#pragma once
// Base of every window the library makes: a window of a class of our own (the
// object rides in GWLP_USERDATA from WM_NCCREATE on) or a standard control that we
// subclass. Notifications a control sends to its parent are reflected back to the
// control object, so a control works whatever panel it sits on.
#include "winlib/Win.h"

#include <functional>
#include <string>
#include <string_view>

namespace qrx {

// Modifier keys and buttons held during a key or mouse event.
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
// The modifier keys held now.
TShiftState KeyboardShift();

class TWindow {
 public:
  TWindow() = default;
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;
  virtual ~TWindow();

  HWND Handle() const noexcept { return hwnd_; }
  static TWindow* FromHandle(HWND hwnd) noexcept;
  int Id() const noexcept;

  // Controls made of more than one window move their parts along.
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const;  // in the parent's client coordinates
  int Left() const { return BoundsRect().left; }
  int Top() const { return BoundsRect().top; }
  int Width() const;
  int Height() const;
  RECT ClientRect() const;

  void SetVisible(bool visible);
  bool Visible() const;        // the window's own visible style
  bool Showing() const;        // visible with all its parents
  void SetEnabled(bool enabled);
  bool Enabled() const;
  virtual void SetText(const std::string& text);
  virtual std::string Text() const;
  void SetFocus();
  bool Focused() const;
  bool CanFocus() const;      // showing and enabled up to the top
  void SetFont(HFONT font);
  void SetParent(TWindow& parent);
  void BringToFront();         // first in z-order and so in tab order
  virtual void Invalidate();   // the whole window is painted again
  void Repaint();              // paint at once

  // "short|long": the short part pops up, the long part goes to the status line.
  std::string Hint;
  std::string ShortHint() const;
  std::string LongHint() const;

  std::function<void()> OnEnter;
  std::function<void()> OnExit;
  // Before the window acts on a key; a handler that sets the key to 0 keeps it from the
  // window.
  std::function<void(WORD& key, TShiftState shift)> OnKeyDown;

  // Reflected notifications from the parent; answer true when handled.
  virtual bool HandleCommand(WORD code) { return false; }
  virtual bool HandleNotify(NMHDR* hdr, LRESULT& result) { return false; }
  virtual bool HandleDrawItem(DRAWITEMSTRUCT* dis) { return false; }
  virtual bool HandleMeasureItem(MEASUREITEMSTRUCT* mis) { return false; }

 protected:
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  virtual LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
  // Handles what every window has in common: reflection, focus events and keys.
  bool CommonMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void Attach(HWND hwnd);
  void Detach() noexcept;

  // Registers (once) and creates a window of a class of our own.
  void CreateCustom(const char* className, DWORD style, DWORD exStyle, HWND parent, int id,
                    UINT classStyle = CS_DBLCLKS, HBRUSH background = nullptr,
                    HCURSOR cursor = nullptr);
  // Creates and subclasses a standard control.
  void CreateControl(const char* className, DWORD style, DWORD exStyle, HWND parent, int id,
                     const std::string& text = {});

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK CustomProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  WNDPROC oldProc_ = nullptr;
};

// A fresh id for a child control, unique within the process.
int NextControlId();
// The width of a text, in pixels, in the font the window draws with.
int TextWidthIn(HWND window, std::string_view text);

}  // namespace qrx
