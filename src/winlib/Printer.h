#pragma once
// The printer the user chose (its device names and settings, as the print dialogs
// hand them over) and the printer as a text device: each written line is a printed
// line, and pages follow as needed.
#include "winlib/Handles.h"

#include <string>

namespace qrx {

class TPrinterSelection {
 public:
  bool Empty() const { return !DevNames; }
  std::string DeviceName() const;
  // A device context for one job of one copy: copies are separate jobs here.
  UniqueDC CreateDC() const;

  // The dialogs take the blocks for their showing and give back what they return.
  UniqueGlobal DevMode, DevNames;
};

class TTextPrinter {
 public:
  // Starts a job on the device with the font; raises std::runtime_error when the
  // printer refuses it.
  TTextPrinter(HDC dc, HFONT font, const std::string& title);
  TTextPrinter(const TTextPrinter&) = delete;
  TTextPrinter& operator=(const TTextPrinter&) = delete;
  // A job not finished with EndJob is aborted.
  ~TTextPrinter();

  // One line of text; leading TABs indent it one step each, other TABs advance to
  // the next multiple of eight characters, and a line wider than the page goes on in
  // the next printed line.
  void WriteLine(const std::string& line);
  void EndJob();

 private:
  void NewPage();
  void PutText(int x, const std::string& text);

  HDC dc_;
  HFONT font_;
  bool pageOpen_ = false;
  bool ended_ = false;
  int y_ = 0;
  int lineHeight_ = 1;
  int indentStep_ = 1;
  int pageWidth_ = 0, pageHeight_ = 0;
};

}  // namespace qrx
