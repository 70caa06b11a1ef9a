// Printing the results tree: the display texts go through the work file to the
// printer, one print job for each copy, in the printer font at its point size.
#include "app/Globals.h"
#include "app/Grepmain.h"
#include "winlib/GdiScopes.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qrx {
namespace {

constexpr const char* kJobTitle = "Quarrix Search Results";

std::vector<std::string> ReadLines(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot read file " + fileName + ".");
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < data.size()) {
    size_t end = data.find('\n', at);
    if (end == std::string::npos) end = data.size();
    std::string line = data.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    at = end + 1;
  }
  return lines;
}

int ScreenDpi() {
  WindowDc screen(nullptr);
  return screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

}  // namespace

void TKRESHForm::mnuPrintClick() {
  if (treResults.ItemCount() == 0) return;
  TopmostSuspended topmost(*this);
  if (!dlgPrint.Execute(Handle())) return;
  try {
    WriteTreeToFile(WorkFileName, false);
    PrintWorkFile(dlgPrint.Copies);
  } catch (const std::exception& e) {
    ShowMessageBox(Handle(), e.what(), MsgKind::Error);
  }
}

void TKRESHForm::PrintWorkFile(int copies) {
  const std::vector<std::string> lines = ReadLines(WorkFileName);
  const int screenDpi = ScreenDpi();
  for (int copy = 0; copy < copies; ++copy) {
    UniqueDC dc = Printer.CreateDC();
    if (!dc) throw std::runtime_error("The printer " + Printer.DeviceName() + " cannot be opened.");
    // The setting holds the font's height on the screen; on paper it keeps its point size.
    TFontSetting font = settings_.PrinterFont;
    font.Height = HeightAtDpi(font.Height, screenDpi, ::GetDeviceCaps(dc.get(), LOGPIXELSY));
    UniqueGdi<HFONT> printerFont(CreateFontOf(font));
    TTextPrinter job(dc.get(), printerFont.get(), kJobTitle);
    for (const std::string& line : lines) job.WriteLine(line);
    job.EndJob();
  }
}

void TKRESHForm::mnuPrinterSetupClick() {
  TopmostSuspended topmost(*this);
  dlgPrinterSetup.Execute(Handle());
}

}  // namespace qrx
