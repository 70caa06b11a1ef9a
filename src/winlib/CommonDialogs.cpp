#include "winlib/CommonDialogs.h"

#include "winlib/Printer.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace qrx {
namespace {

// "a|b|c|d" becomes "a\0b\0c\0d\0\0".
std::vector<char> FilterBlock(const std::string& filter) {
  std::vector<char> block(filter.begin(), filter.end());
  std::replace(block.begin(), block.end(), '|', '\0');
  block.push_back('\0');
  block.push_back('\0');
  return block;
}

std::runtime_error DialogError(const char* what, DWORD code) {
  return std::runtime_error(std::string(what) + " could not be shown (error " + std::to_string(code) + ").");
}

}  // namespace

bool TFileDialog::Execute(HWND owner) {
  std::vector<char> filter = FilterBlock(Filter);
  std::vector<char> name(32768, '\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::fill(name.begin(), name.end(), '\0');
    if (attempt == 0) std::copy_n(FileName.begin(), std::min(FileName.size(), name.size() - 1), name.begin());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.data();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = Options | OFN_EXPLORER | OFN_ENABLESIZING;
    BOOL ok = kind_ == FileDialogKind::Save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);
    if (ok) {
      FileName = name.data();
      return true;
    }
    DWORD error = ::CommDlgExtendedError();
    if (error == 0) return false;  // cancelled
    // A remembered name the dialog cannot take (gone too long, say) must not lock
    // the user out: the second showing starts without it.
    if (error != FNERR_INVALIDFILENAME || attempt == 1) throw DialogError("The file dialog", error);
  }
  return false;
}

bool TPrintDialog::Execute(HWND owner) {
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = owner;
  pd.Flags = setup_ ? PD_PRINTSETUP : PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
  pd.nCopies = static_cast<WORD>(std::clamp(Copies, 1, 9999));
  if (LockedGlobal<DEVMODEA> mode{printer_.DevMode.get()}) {
    if (mode->dmFields & DM_COPIES) mode->dmCopies = static_cast<short>(pd.nCopies);
  }
  // The dialog may free the blocks it is given and hand back others: it owns them
  // until it returns.
  pd.hDevMode = printer_.DevMode.release();
  pd.hDevNames = printer_.DevNames.release();
  BOOL ok = ::PrintDlgA(&pd);
  printer_.DevMode.reset(pd.hDevMode);
  printer_.DevNames.reset(pd.hDevNames);
  if (!ok) {
    DWORD error = ::CommDlgExtendedError();
    // Without any printer the dialog has said so itself.
    if (error == 0 || error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES) return false;
    throw DialogError(setup_ ? "The printer setup dialog" : "The print dialog", error);
  }
  if (setup_) return true;
  // Drivers that make copies themselves report the count in the device settings,
  // others in the dialog's own field; the copies are printed one job each, so the
  // device settings keep one.
  int copies = pd.nCopies;
  if (LockedGlobal<DEVMODEA> mode{printer_.DevMode.get()}) {
    if (mode->dmFields & DM_COPIES) {
      copies = std::max<int>(copies, mode->dmCopies);
      mode->dmCopies = 1;
    }
  }
  Copies = std::max(1, copies);
  return true;
}

}  // namespace qrx
