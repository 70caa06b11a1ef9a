#include "winlib/DirControls.h"

#include "winlib/Handles.h"

#include <algorithm>
#include <cctype>

namespace qrx {

bool DirectoryExists(const std::string& path) {
  if (path.empty()) return false;
  DWORD attr = ::GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::string LongPathForm(const std::string& path) {
  DirPath p = SplitDirPath(path);
  if (p.Root.size() == 3 && p.Root[1] == ':')
    p.Root[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(p.Root[0])));
  for (size_t i = 0; i < p.Parts.size(); ++i) {
    if (p.Parts[i] == "." || p.Parts[i] == "..") continue;
    std::string partial = JoinDirPath(p, i + 1);
    WIN32_FIND_DATAA fd;
    UniqueFind find(::FindFirstFileA(partial.c_str(), &fd));
    if (find) p.Parts[i] = fd.cFileName;
  }
  return JoinDirPath(p, p.Parts.size());
}

std::vector<std::string> SubDirectories(const std::string& dir) {
  std::vector<std::string> out;
  std::string pattern = dir;
  if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
  pattern += "*.*";
  WIN32_FIND_DATAA fd;
  UniqueFind find(::FindFirstFileA(pattern.c_str(), &fd));
  if (!find) return out;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    std::string name = fd.cFileName;
    if (name != "." && name != "..") out.push_back(name);
  } while (::FindNextFileA(find.get(), &fd));
  return out;
}

// ---- directory list ----

void TDirectoryListBox::Create(TWindow& parent) { TListBox::Create(parent, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS); }

bool TDirectoryListBox::SetDirectory(const std::string& path) {
  if (!DirectoryExists(path)) return false;
  std::string full = path;
  char buf[MAX_PATH];
  DWORD n = ::GetFullPathNameA(path.c_str(), MAX_PATH, buf, nullptr);
  if (n > 0 && n < MAX_PATH) full = buf;
  if (full.size() > 3 && full.back() == '\\') full.pop_back();
  dir_ = full;
  lines_ = DirListLines(dir_, SubDirectories(dir_));
  ::SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  Clear();
  for (const auto& line : lines_) Add(line.Text);
  SetItemIndex(DirListCurrentLine(dir_));
  ::SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  Invalidate();
  if (FileList) FileList->SetDirectory(dir_);
  if (DriveBox && dir_.size() >= 2 && dir_[1] == ':') DriveBox->SetDrive(dir_[0]);
  if (OnDirChange) OnDirChange();
  return true;
}

void TDirectoryListBox::OpenLine(int index) {
  std::string target = DirListOpen(dir_, lines_, index);
  if (!target.empty()) SetDirectory(target);
}

bool TDirectoryListBox::HandleCommand(WORD code) {
  if (code == LBN_DBLCLK) {
    OpenLine(ItemIndex());
    if (OnDblClick) OnDblClick();
    return true;
  }
  return TListBox::HandleCommand(code);
}

LRESULT TDirectoryListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN && wp == VK_RETURN) {
    WORD key = VK_RETURN;
    if (OnKeyDown) OnKeyDown(key, KeyboardShift());
    if (key != 0) OpenLine(ItemIndex());
    return 0;
  }
  if (msg == WM_GETDLGCODE && lp && reinterpret_cast<MSG*>(lp)->wParam == VK_RETURN)
    return DefaultProc(msg, wp, lp) | DLGC_WANTMESSAGE;
  return TListBox::WndProc(msg, wp, lp);
}

bool TDirectoryListBox::HandleMeasureItem(MEASUREITEMSTRUCT* mis) {
  mis->itemHeight = 16;
  return true;
}

bool TDirectoryListBox::HandleDrawItem(DRAWITEMSTRUCT* dis) {
  if (dis->itemID == static_cast<UINT>(-1)) return true;
  HDC dc = dis->hDC;
  bool selected = dis->itemState & ODS_SELECTED;
  ::FillRect(dc, &dis->rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  size_t i = dis->itemID;
  if (i >= lines_.size()) return true;
  const DirLine& line = lines_[i];
  int x = dis->rcItem.left + 2 + line.Indent * 10;
  int y = dis->rcItem.top + 3;
  // A small folder: open folders drawn hollow, closed ones filled.
  RECT body{x, y + 2, x + 13, y + 11};
  RECT tab{x, y, x + 6, y + 2};
  HBRUSH yellow = ::CreateSolidBrush(RGB(255, 224, 96));
  ::FillRect(dc, &tab, yellow);
  ::FillRect(dc, &body, line.Opened ? ::GetSysColorBrush(COLOR_WINDOW) : yellow);
  ::FrameRect(dc, &body, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::DeleteObject(yellow);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT tr = dis->rcItem;
  tr.left = x + 17;
  ::DrawTextA(dc, line.Text.c_str(), static_cast<int>(line.Text.size()), &tr,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (dis->itemState & ODS_FOCUS) ::DrawFocusRect(dc, &dis->rcItem);
  return true;
}

// ---- drive box ----

void TDriveComboBox::Create(TWindow& parent) {
  TComboBox::Create(parent, true, 200);
  Refresh();
}

void TDriveComboBox::Refresh() {
  Clear();
  DWORD mask = ::GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    std::string root = std::string(1, static_cast<char>('a' + i)) + ":\\";
    std::string item = root.substr(0, 2);
    char label[MAX_PATH + 1] = {};
    UINT type = ::GetDriveTypeA(root.c_str());
    if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
      if (::GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0) &&
          label[0])
        item += std::string(" [") + label + "]";
    }
    Add(item);
  }
  if (drive_) SetDrive(drive_);
}

void TDriveComboBox::SetDrive(char drive) {
  drive_ = static_cast<char>(std::tolower(static_cast<unsigned char>(drive)));
  for (int i = 0, n = Count(); i < n; ++i) {
    std::string item = Item(i);
    if (!item.empty() && item[0] == drive_) {
      SetItemIndex(i);
      return;
    }
  }
}

bool TDriveComboBox::HandleCommand(WORD code) {
  if (code != CBN_SELCHANGE) return TComboBox::HandleCommand(code);
  std::string item = Item(ItemIndex());
  if (item.empty()) return true;
  char drive = item[0];
  // The drive's own current directory, as the system remembers it.
  char buf[MAX_PATH];
  std::string driveRoot = std::string(1, drive) + ":";
  DWORD n = ::GetFullPathNameA(driveRoot.c_str(), MAX_PATH, buf, nullptr);
  std::string target = (n > 0 && n < MAX_PATH) ? std::string(buf) : driveRoot + "\\";
  if (DirList && !DirList->SetDirectory(target) && !DirList->SetDirectory(driveRoot + "\\")) {
    SetDrive(drive_);  // an unreadable drive: back to the one we had
    return true;
  }
  drive_ = drive;
  if (OnChange) OnChange();
  return true;
}

// ---- file list ----

void TFileListBox::Create(TWindow& parent) { TListBox::Create(parent, LBS_SORT); }

void TFileListBox::SetDirectory(const std::string& dir) {
  dir_ = dir;
  ::SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  Clear();
  std::string pattern = dir_;
  if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
  pattern += Mask;
  WIN32_FIND_DATAA fd;
  UniqueFind find(::FindFirstFileA(pattern.c_str(), &fd));
  if (find) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) Add(fd.cFileName);
    } while (::FindNextFileA(find.get(), &fd));
  }
  ::SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  Invalidate();
}

}  // namespace qrx
