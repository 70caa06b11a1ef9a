#include "winlib/BitBtn.h"

#include "winlib/GdiScopes.h"

namespace qrx {
void TBitBtn::Create(TWindow& parent, const std::string& caption) {
  CreateControl("BUTTON", WS_TABSTOP | WS_VISIBLE | BS_OWNERDRAW, 0, parent.Handle(), NextControlId(), caption);
}

void TBitBtn::LoadGlyph(const char* resourceName) {
  glyph_.reset(static_cast<HBITMAP>(
      ::LoadImageA(::GetModuleHandleA(nullptr), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  Invalidate();
}

bool TBitBtn::HandleDrawItem(DRAWITEMSTRUCT* dis) {
  HDC dc = dis->hDC;
  RECT r = dis->rcItem;
  const bool pushed = (dis->itemState & ODS_SELECTED) != 0;
  const bool disabled = (dis->itemState & ODS_DISABLED) != 0;
  ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  const int shift = pushed ? 1 : 0;

  const std::string caption = Text();
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd_, WM_GETFONT, 0, 0));
  SelectGuard selFont(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  RECT textSize{0, 0, 0, 0};
  ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize, DT_SINGLELINE | DT_CALCRECT);
  BITMAP bm{};
  const bool hasGlyph = glyph_ && ::GetObjectA(glyph_.get(), sizeof bm, &bm);
  const int gap = hasGlyph ? 4 : 0;
  const int glyphWidth = hasGlyph ? bm.bmWidth : 0;
  const int total = glyphWidth + gap + (textSize.right - textSize.left);
  int x = r.left + (r.right - r.left - total) / 2 + shift;
  const int midY = (r.top + r.bottom) / 2 + shift;

  if (hasGlyph) {
    UniqueDC mem(::CreateCompatibleDC(dc));
    SelectGuard selBmp(mem.get(), glyph_.get());
    const COLORREF transparent = ::GetPixel(mem.get(), 0, bm.bmHeight - 1);
    ::TransparentBlt(dc, x, midY - bm.bmHeight / 2, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight,
                     transparent);
    x += glyphWidth + gap;
  }
  RECT textRect{x, midY - (textSize.bottom - textSize.top) / 2, x + (textSize.right - textSize.left),
                midY + (textSize.bottom - textSize.top) / 2 + 1};
  ::SetBkMode(dc, TRANSPARENT);
  if (disabled) {
    OffsetRect(&textRect, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, DT_SINGLELINE);
    OffsetRect(&textRect, -1, -1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
  } else {
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  }
  ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, DT_SINGLELINE);
  if (dis->itemState & ODS_FOCUS) {
    RECT focus = dis->rcItem;
    ::InflateRect(&focus, -4, -4);
    ::DrawFocusRect(dc, &focus);
  }
  return true;
}

}  // namespace qrx
