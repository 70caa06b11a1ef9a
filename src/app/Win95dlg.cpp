#include "app/Win95dlg.h"

namespace qrx {

POINT CenterOver(const RECT& main, int width, int height) {
  int mainWidth = main.right - main.left, mainHeight = main.bottom - main.top;
  // Halves truncate toward zero, as integer division does.
  return POINT{main.left + (mainWidth - width) / 2, main.top + (mainHeight - height) / 2};
}

void TdlgWin95Dlg::CreateDialogWindow(const char* className, const std::string& caption, int width, int height) {
  CreateForm(className, caption, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
             mainForm_ ? mainForm_->Handle() : nullptr);
  // The dialog font without the bold style.
  LOGFONTA lf{};
  ::GetObjectA(DefaultFont(), sizeof lf, &lf);
  lf.lfWeight = FW_NORMAL;
  font_.reset(::CreateFontIndirectA(&lf));
  SetFont(font_.get());
  SetBounds(0, 0, width, height);
}

void TdlgWin95Dlg::ShowingModal() {
  if (mainForm_ && mainForm_->Handle()) {
    RECT main{};
    ::GetWindowRect(mainForm_->Handle(), &main);
    POINT at = CenterOver(main, Width(), Height());
    ::SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (font_) ::EnumChildWindows(
      Handle(),
      [](HWND child, LPARAM font) CALLBACK -> BOOL {
        ::SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font_.get()));
}

LRESULT TdlgWin95Dlg::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SHOWWINDOW && wp) Showing();
  if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) {
    const LRESULT r = TForm::WndProc(msg, wp, lp);
    HWND focus = ::GetFocus();
    if (!focus || focus == Handle() || !::IsChild(Handle(), focus))
      if (TWindow* first = FirstFocus()) first->SetFocus();
    return r;
  }
  return TForm::WndProc(msg, wp, lp);
}

}  // namespace qrx
