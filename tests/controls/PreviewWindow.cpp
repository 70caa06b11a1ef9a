#include "PreviewWindow.h"

namespace qrx::test {

PreviewHost::PreviewHost(int rows, int width) {
  CreateForm("QrxPreviewHost", "File preview", WS_OVERLAPPEDWINDOW);
  Preview.Create(Handle(), NextControlId());
  Preview.SetBounds(0, 0, width, 100);
  RECT client = Preview.ClientRect();
  const int extraWidth = width - client.right;
  const int extraHeight = 100 - client.bottom;
  Preview.SetBounds(0, 0, width + extraWidth, rows * Preview.ItemHeight() + extraHeight);
  SetBounds(0, 0, Preview.Width() + 40, Preview.Height() + 60);
  ::ShowWindow(Handle(), SW_SHOW);
  ::UpdateWindow(Handle());
}

}  // namespace qrx::test
