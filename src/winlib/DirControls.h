#pragma once
// The directory list, the drive box bound to it, and the file list.
#include "winlib/Controls.h"
#include "winlib/DirModel.h"

namespace qrx {

bool DirectoryExists(const std::string& path);
// Each component of an existing path replaced by its long name, as the file system has it.
std::string LongPathForm(const std::string& path);
std::vector<std::string> SubDirectories(const std::string& dir);

class TFileListBox;
class TDriveComboBox;

class TDirectoryListBox : public TListBox {
 public:
  void Create(TWindow& parent);
  const std::string& Directory() const { return dir_; }
  // Opens an existing directory; false (and nothing changes) for any other path.
  bool SetDirectory(const std::string& path);
  void OpenLine(int index);  // Enter or double click on a line
  const std::vector<DirLine>& Lines() const { return lines_; }
  TFileListBox* FileList = nullptr;
  TDriveComboBox* DriveBox = nullptr;
  std::function<void()> OnDirChange;
  bool HandleDrawItem(DRAWITEMSTRUCT* dis) override;
  bool HandleMeasureItem(MEASUREITEMSTRUCT* mis) override;
  bool HandleCommand(WORD code) override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  std::string dir_;
  std::vector<DirLine> lines_;
};

class TDriveComboBox : public TComboBox {
 public:
  void Create(TWindow& parent);
  void Refresh();
  char Drive() const { return drive_; }
  void SetDrive(char drive);  // shows it only
  TDirectoryListBox* DirList = nullptr;
  bool HandleCommand(WORD code) override;

 private:
  char drive_ = 0;
};

class TFileListBox : public TListBox {
 public:
  void Create(TWindow& parent);
  void SetDirectory(const std::string& dir);
  std::string Mask = "*.*";

 private:
  std::string dir_;
};

}  // namespace qrx
