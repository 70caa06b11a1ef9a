#include "winlib/Printer.h"

#include "winlib/GdiScopes.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace qrx {
namespace {

std::string DevNamesField(const DEVNAMES* names, WORD offset) {
  return offset ? std::string(reinterpret_cast<const char*>(names) + offset) : std::string();
}

// TABs past the indent become blanks up to the next multiple of eight characters.
std::string ExpandTabs(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\t')
      out.append(8 - out.size() % 8, ' ');
    else
      out += c;
  }
  return out;
}

}  // namespace

std::string TPrinterSelection::DeviceName() const {
  LockedGlobal<DEVNAMES> names{DevNames.get()};
  return names ? DevNamesField(names.get(), names->wDeviceOffset) : std::string();
}

UniqueDC TPrinterSelection::CreateDC() const {
  LockedGlobal<DEVNAMES> names{DevNames.get()};
  if (!names) return UniqueDC();
  std::string driver = DevNamesField(names.get(), names->wDriverOffset);
  std::string device = DevNamesField(names.get(), names->wDeviceOffset);
  std::vector<char> settings;
  if (LockedGlobal<DEVMODEA> mode{DevMode.get()}) {
    const size_t size = size_t{mode->dmSize} + mode->dmDriverExtra;
    settings.assign(reinterpret_cast<const char*>(mode.get()), reinterpret_cast<const char*>(mode.get()) + size);
    auto* copy = reinterpret_cast<DEVMODEA*>(settings.data());
    if (copy->dmFields & DM_COPIES) copy->dmCopies = 1;
  }
  return UniqueDC(::CreateDCA(driver.empty() ? nullptr : driver.c_str(), device.c_str(), nullptr,
                              settings.empty() ? nullptr : reinterpret_cast<DEVMODEA*>(settings.data())));
}

TTextPrinter::TTextPrinter(HDC dc, HFONT font, const std::string& title) : dc_(dc), font_(font) {
  if (!dc_) throw std::runtime_error("The printer cannot be opened.");
  DOCINFOA doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = title.c_str();
  if (::StartDocA(dc_, &doc) <= 0) throw std::runtime_error("The printer did not accept the print job.");
  pageWidth_ = ::GetDeviceCaps(dc_, HORZRES);
  pageHeight_ = ::GetDeviceCaps(dc_, VERTRES);
  {
    SelectGuard sel(dc_, font_);
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc_, &tm);
    lineHeight_ = std::max(1, static_cast<int>(tm.tmHeight + tm.tmExternalLeading));
    indentStep_ = std::max(1, static_cast<int>(4 * tm.tmAveCharWidth));
  }
}

TTextPrinter::~TTextPrinter() {
  if (!ended_) ::AbortDoc(dc_);
}

void TTextPrinter::NewPage() {
  if (pageOpen_ && ::EndPage(dc_) <= 0) throw std::runtime_error("The printer stopped the print job.");
  if (::StartPage(dc_) <= 0) throw std::runtime_error("The printer stopped the print job.");
  pageOpen_ = true;
  y_ = 0;
}

void TTextPrinter::PutText(int x, const std::string& text) {
  if (!pageOpen_ || (y_ > 0 && y_ + lineHeight_ > pageHeight_)) NewPage();
  SelectGuard sel(dc_, font_);
  ::SetBkMode(dc_, TRANSPARENT);
  ::SetTextColor(dc_, RGB(0, 0, 0));
  ::TextOutA(dc_, x, y_, text.data(), static_cast<int>(text.size()));
  y_ += lineHeight_;
}

void TTextPrinter::WriteLine(const std::string& line) {
  size_t tabs = 0;
  while (tabs < line.size() && line[tabs] == '\t') ++tabs;
  // However deep the row, at least half the page stays for its text.
  const int indent = std::min(static_cast<int>(tabs) * indentStep_, pageWidth_ / 2);
  const int room = std::max(1, pageWidth_ - indent);
  std::string text = ExpandTabs(line.substr(tabs));
  size_t at = 0;
  do {
    std::string rest = text.substr(at);
    int fit = 0;
    SIZE size{};
    {
      SelectGuard sel(dc_, font_);
      ::GetTextExtentExPointA(dc_, rest.data(), static_cast<int>(rest.size()), room, &fit, nullptr, &size);
    }
    size_t take = rest.empty() ? 0 : static_cast<size_t>(std::clamp(fit, 1, static_cast<int>(rest.size())));
    PutText(indent, rest.substr(0, take));
    at += take;
  } while (at < text.size());
}

void TTextPrinter::EndJob() {
  if (!pageOpen_) NewPage();  // a job of no lines still ends as one page
  if (::EndPage(dc_) <= 0) throw std::runtime_error("The printer stopped the print job.");
  pageOpen_ = false;
  ended_ = true;
  if (::EndDoc(dc_) <= 0) throw std::runtime_error("The printer did not finish the print job.");
}

}  // namespace qrx
