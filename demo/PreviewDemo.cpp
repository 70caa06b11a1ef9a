// Shows one file in a preview window, for looking at the control and for screenshots:
//   preview_demo FILE LINE MATCHSTART MATCHSTOP [MILLISECONDS]
// With a time the window closes by itself after it.
#include "controls/FilePrev.h"
#include "winlib/Form.h"
#include "winlib/MsgBox.h"

#include <cstdlib>
#include <string>

namespace {

// A window holding one preview of 20 rows, 640 pixels wide.
class DemoHost : public qrx::TForm {
 public:
  DemoHost() {
    CreateForm("QrxPreviewDemo", "File preview", WS_OVERLAPPEDWINDOW);
    Preview.Create(Handle(), qrx::NextControlId());
    Preview.SetBounds(0, 0, 640, 20 * Preview.ItemHeight() + 4);
    SetBounds(0, 0, Preview.Width() + 40, Preview.Height() + 60);
    ::ShowWindow(Handle(), SW_SHOW);
    ::UpdateWindow(Handle());
  }
  TFilePreview Preview;

 protected:
  void Closed() override { ::PostQuitMessage(0); }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    qrx::ShowErrorBox("Usage: preview_demo FILE LINE MATCHSTART MATCHSTOP [MILLISECONDS]");
    return 2;
  }
  try {
    DemoHost host;
    host.SetText(std::string("Preview - ") + argv[1]);
    host.Preview.ShowFile(argv[1], std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    if (argc > 5) ::SetTimer(host.Handle(), 1, static_cast<UINT>(std::atoi(argv[5])), nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_TIMER && msg.hwnd == host.Handle()) break;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    return 0;
  } catch (const std::exception& e) {
    qrx::ShowErrorBox(e.what());
    return 1;
  }
}
