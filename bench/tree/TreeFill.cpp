// Runs one search whose hits go into a results tree shown in a window, letting the window
// handle its messages every 100 lines and at each progress report as the main window
// does, and prints how many rows went in per second.
//
// Usage: bench_treefill DIR [FILES] [LINES] [fileLines 0|1]
// Writes FILES files of LINES matching lines each into DIR (created if missing), then
// searches them for "int".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "controls/GOutlineWindow.h"
#include "engine/FileSearch.h"
#include "engine/ResultTree.h"

namespace {

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void WriteCorpus(const std::string& dir, int files, int lines) {
  ::CreateDirectoryA(dir.c_str(), nullptr);
  for (int f = 0; f < files; ++f) {
    std::ofstream out(dir + "\\file" + std::to_string(f) + ".h", std::ios::binary);
    for (int l = 0; l < lines; ++l) {
      out << "\tint\tfield_" << l << ";\t/* member " << l << " of file " << f << " */\r\n";
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_treefill DIR [FILES] [LINES] [fileLines 0|1]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const int files = argc > 2 ? std::atoi(argv[2]) : 50;
  const int lines = argc > 3 ? std::atoi(argv[3]) : 1000;
  const bool fileLines = argc > 4 ? std::atoi(argv[4]) != 0 : false;
  WriteCorpus(dir, files, lines);

  WNDCLASSA wc{};
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "QrxTreeFillBench";
  ::RegisterClassA(&wc);
  HWND host = ::CreateWindowExA(0, wc.lpszClassName, "tree fill", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, nullptr, wc.hInstance, nullptr);
  qrx::TGOutlineWindow tree;
  tree.Create(host);
  tree.SetBounds(0, 0, 620, 300);
  tree.SetOptions({ooDrawFocusRect});
  tree.SetItemHeight(15);
  BindResultTree(tree);
  Pump();

  TFileSearchObj search(tree);
  search.Directory = dir;
  search.Masks = "*.h";
  search.SearchText = "int";
  search.EnteredText = "int";
  search.ExprKind = ekStandard;
  search.Options = static_cast<uint16_t>(optLineNumbers | optCaseSensitive | optWholeWords |
                                         (fileLines ? optFileLines : 0));
  search.MaxLines = 100000000;
  int reports = 0;
  search.OnProcessMessages = Pump;
  search.OnSearchProgress = [&reports](TFileSearchObj*, int32_t, int32_t, int32_t, const std::string&, bool&) {
    ++reports;
    Pump();
  };
  const auto start = std::chrono::steady_clock::now();
  const unsigned code = search.Execute();
  Pump();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const int32_t rows = tree.ItemCount();
  const qrx::TGOutlineWindow::TWorkCounts& work = tree.WorkCounts();
  std::printf("code %u, %d lines in the tree (%d rows shown), %d progress reports, %.2f s, %.0f lines/s\n", code,
              static_cast<int>(rows), static_cast<int>(tree.RowCount()), reports, seconds, rows / seconds);
  std::printf("scroll bar updates %lld, invalidations %lld, paints %lld\n",
              static_cast<long long>(work.ScrollBarUpdates), static_cast<long long>(work.Invalidations),
              static_cast<long long>(work.Paints));
  tree.Clear();
  ::DestroyWindow(host);
  return 0;
}
