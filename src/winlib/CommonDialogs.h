#pragma once
// The system's file and print dialogs as objects that keep their settings between
// showings, as the forms that own them expect.
#include "winlib/Handles.h"

#include <string>

namespace qrx {

class TPrinterSelection;

enum class FileDialogKind { Open, Save };

class TFileDialog {
 public:
  explicit TFileDialog(FileDialogKind kind) : kind_(kind) {}

  std::string Title;
  std::string Filter;  // "Description|pattern|Description|pattern..."
  std::string DefaultExt;
  std::string FileName;  // the initial name; after a confirmed showing, the chosen file's full path
  std::string InitialDir;
  DWORD Options = 0;  // OFN_ flags

  // Shows the dialog; true when the user confirmed a file.
  bool Execute(HWND owner);
  FileDialogKind Kind() const { return kind_; }

 private:
  FileDialogKind kind_;
};

// The print dialog, or with Setup the printer setup dialog, over a printer selection
// that both share: what the user picks in one is what the other shows.
class TPrintDialog {
 public:
  explicit TPrintDialog(TPrinterSelection& printer, bool setup = false) : printer_(printer), setup_(setup) {}
  int Copies = 1;
  // True when the user confirmed; Copies then holds the number of copies asked for.
  bool Execute(HWND owner);
  bool Setup() const { return setup_; }

 private:
  TPrinterSelection& printer_;
  bool setup_;
};

}  // namespace qrx
