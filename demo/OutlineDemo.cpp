// Shows sample results in outline windows, for looking at the control and for screenshots:
//   outline_demo [results|styles] [MILLISECONDS]
// "results": one tree set up as the main window sets up its results tree.
// "styles": the six outline styles side by side, with lines to the root.
// With a time the window closes by itself after it.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "controls/GOutlineWindow.h"
#include "winlib/MsgBox.h"

namespace {

using namespace qrx;

constexpr char kHostClass[] = "QrxOutlineDemo";

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcA(hwnd, msg, wp, lp);
}

struct Search {
  const char* text;
  std::vector<std::pair<const char*, std::vector<const char*>>> files;
};

const Search kSearches[] = {
    {"Search for \"TFileSearchObj\" in c:\\quarrix\\src (*.cpp;*.h)  3 files, 7 matches",
     {{"c:\\quarrix\\src\\engine\\filesearch.h (3)",
       {"   14: class TFileSearchObj {", "   52:   explicit TFileSearchObj(TGCustomOutline& tree);",
        "   97: using TFileSearchPtr = std::unique_ptr<TFileSearchObj>;"}},
      {"c:\\quarrix\\src\\engine\\filesearch.cpp (2)",
       {"   31: TFileSearchObj::TFileSearchObj(TGCustomOutline& tree)", "  118: int TFileSearchObj::Execute() {"}},
      {"c:\\quarrix\\src\\app\\grepmainsearch.cpp (2)",
       {"  205:     auto search = std::make_unique<TFileSearchObj>(treResults);", "  231:   // TFileSearchObj frees"}}}},
    {"Search for \"Expand\" in c:\\quarrix\\src\\controls (*.h)  2 files, 3 matches",
     {{"c:\\quarrix\\src\\controls\\goutline.h (2)", {"   40:   void Expand();", "  131:   void FullExpand();"}},
      {"c:\\quarrix\\src\\controls\\goutlinewindow.h (1)", {"   33:   // expanded"}}}},
};

void Fill(TGOutlineWindow& tree) {
  for (const Search& s : kSearches) {
    const int32_t search = tree.AddChild(0, s.text);
    for (const auto& [file, matches] : s.files) {
      const int32_t f = tree.AddChild(search, file);
      for (const char* m : matches) tree.AddChild(f, m);
    }
  }
}

HWND MakeHost(const char* title, int width, int height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &HostProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kHostClass;
  ::RegisterClassA(&wc);
  return ::CreateWindowExA(0, kHostClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

HFONT ResultsFont() {
  return ::CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "results";
  try {
    std::vector<std::unique_ptr<TGOutlineWindow>> trees;
    UniqueGdi<HFONT> font(ResultsFont());
    HWND host = nullptr;
    if (mode == "styles") {
      host = MakeHost("Outline styles", 780, 470);
      const TOutlineStyle styles[] = {osText, osPlusMinusText, osPictureText, osPlusMinusPictureText, osTreeText,
                                      osTreePictureText};
      for (int i = 0; i < 6; ++i) {
        auto tree = std::make_unique<TGOutlineWindow>();
        tree->Create(host);
        tree->SetFont(font.get());
        tree->SetOutlineStyle(styles[i]);
        Fill(*tree);
        tree->FullExpand();
        tree->Items(9)->Collapse();  // a closed folder among the open ones
        tree->SetSelectedItem(4);
        tree->SetBounds(5 + (i % 3) * 255, 5 + (i / 3) * 215, 250, 210);
        trees.push_back(std::move(tree));
      }
      trees.back()->SetFocus();
    } else {
      host = MakeHost("Results", 640, 360);
      auto tree = std::make_unique<TGOutlineWindow>();
      tree->Create(host);
      tree->SetOutlineStyle(osTreePictureText);
      tree->SetOptions({ooDrawFocusRect});
      tree->SetItemHeight(15);
      tree->SetFont(font.get());
      tree->SetPicturePlus(nullptr);
      tree->SetPictureMinus(nullptr);
      Fill(*tree);
      tree->Items(1)->Expand();
      tree->Items(2)->Expand();
      tree->Items(6)->Expand();
      tree->SetSelectedItem(4);
      RECT client;
      ::GetClientRect(host, &client);
      tree->SetBounds(0, 0, client.right, client.bottom);
      tree->SetFocus();
      trees.push_back(std::move(tree));
    }
    if (argc > 2) ::SetTimer(host, 1, static_cast<UINT>(std::atoi(argv[2])), nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_TIMER && msg.hwnd == host) break;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    return 0;
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
    return 1;
  }
}
