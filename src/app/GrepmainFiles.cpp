// The main window's results files: saving the tree in the saved-results format,
// exporting it as the text it shows, and loading a saved file back.
#include "app/Grepmain.h"
#include "app/StartUp.h"
#include "engine/ReplaceFiles.h"
#include "winlib/Handles.h"

#include <commdlg.h>

#include <stdexcept>

namespace qrx {
namespace {

constexpr DWORD kSaveOptions = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
constexpr DWORD kOpenOptions = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

void SetUp(TFileDialog& dialog, const char* title, const char* filter, const char* ext, const char* name,
           DWORD options) {
  dialog.Title = title;
  dialog.Filter = filter;
  dialog.DefaultExt = ext;
  dialog.FileName = name;
  dialog.Options = options;
  dialog.InitialDir = ProgramDirectory();
}

std::runtime_error WriteError(const std::string& fileName, DWORD code) {
  std::string text = "Cannot write to file " + fileName + ".";
  if (code) {
    std::string reason = SystemErrorText(code);
    if (!reason.empty()) text += "\r" + reason;
  }
  return std::runtime_error(text);
}

std::string DirectoryPart(const std::string& path) {
  size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NamePart(const std::string& path) {
  size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A fresh file in the target's folder: the replacing rename stays on one volume.
std::string CreateFileBeside(const std::string& fileName) {
  std::string dir = DirectoryPart(fileName);
  if (dir.empty()) dir = ".";
  char temp[MAX_PATH + 16] = {};
  if (!::GetTempFileNameA(dir.c_str(), "qrx", 0, temp)) throw WriteError(fileName, ::GetLastError());
  return temp;
}

}  // namespace

void TKRESHForm::InitFileDialogs() {
  SetUp(dlgSave, "Save Search Results", "Search Results (*.qzt)|*.qzt", "qzt", "greprslt.qzt", kSaveOptions);
  SetUp(dlgOpen, "Load Search Results", "Search Results (*.qzt)|*.qzt", "qzt", "*.qzt", kOpenOptions);
  SetUp(dlgExport, "Export Search Results", "Text Files (*.txt)|*.txt", "txt", "greprslt.txt", kSaveOptions);
  dlgPrint.Copies = 1;
}

void TKRESHForm::WriteTreeToFile(const std::string& fileName, bool saveTexts) {
  const std::string temp = CreateFileBeside(fileName);
  try {
    std::optional<Saving> saving;
    if (saveTexts) saving.emplace(*this);
    treResults.SaveToFile(temp);
    // On the disk before it takes the old file's name: never a renamed empty file.
    UniqueFile written(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!written || !::FlushFileBuffers(written.get())) throw std::runtime_error("flush");
  } catch (...) {
    ::DeleteFileA(temp.c_str());
    throw WriteError(fileName, 0);
  }
  if (!::MoveFileExA(temp.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD code = ::GetLastError();
    ::DeleteFileA(temp.c_str());
    throw WriteError(fileName, code);
  }
}

void TKRESHForm::SaveTreeWithDialog(TFileDialog& dialog, bool saveTexts) {
  TopmostSuspended topmost(*this);
  // The dialog reopens where the user saved last, with that name. A name without a
  // folder (the first time) keeps the folder the dialog started in.
  std::string dir = DirectoryPart(dialog.FileName);
  if (!dir.empty()) dialog.InitialDir = dir;
  dialog.FileName = NamePart(dialog.FileName);
  if (!dialog.Execute(Handle())) return;
  try {
    WriteTreeToFile(dialog.FileName, saveTexts);
  } catch (const std::exception& e) {
    ShowMessageBox(Handle(), e.what(), MsgKind::Error);
  }
}

void TKRESHForm::menSaveSearchClick() { SaveTreeWithDialog(dlgSave, true); }

void TKRESHForm::menExportSearchClick() { SaveTreeWithDialog(dlgExport, false); }

void TKRESHForm::menLoadSearchClick() {
  if (running_) return;  // the running search adds to the rows a load replaces
  TopmostSuspended topmost(*this);
  if (!dlgOpen.Execute(Handle())) return;
  lbxFilePreview.Clear();
  std::string error;
  bool failed = false;
  try {
    Loading loading(*this);
    treResults.LoadFromFile(dlgOpen.FileName);
  } catch (const std::exception& e) {
    failed = true;
    error = e.what();
  }
  if (treResults.ItemCount() > 0) {
    TGOutlineNode* first = treResults.Items(1);
    if (first->HasItems()) first->Expand();
  }
  if (failed)
    ShowMessageBox(Handle(),
                   "Error loading search results from file.\r" + error + "\r\r" +
                       "Verify that the file you are loading is valid\r" + "and try again.",
                   MsgKind::Error);
}

}  // namespace qrx
