#pragma once
// Every user setting and history, read from and written to the registry profile
// without any window: the main window copies them into its controls and back.
#include "winlib/Colors.h"
#include "winlib/Win.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qrx {

// "WindowState" and "EditorType" values.
enum : int32_t { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };
enum : int32_t { etIde = 0, etExternal = 1 };

struct TFontSetting {
  std::string Name;
  int32_t Height = -11;
  int32_t Style = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
};
// A new font of the setting (the caller deletes it).
HFONT CreateFontOf(const TFontSetting& f);
// The setting's height, in pixels at screenDpi, as the height that keeps its point
// size on a device of deviceDpi.
int32_t HeightAtDpi(int32_t height, int screenDpi, int deviceDpi);

struct TQrxSettings {
  // Main
  int32_t Left = 0, Top = 0, Width = 582, Height = 440, WindowState = 0;
  int32_t ReplaceLeft = 0, ReplaceTop = 0, ReplaceWidth = 636, ReplaceHeight = 440;
  int32_t PreviewHeight = 47, CurPage = 0;
  // Options
  bool Preview = true, StayOnTop = false;
  int32_t EditorType = -999;
  std::string EditorPath, EditorParams;
  bool EditorUseLFN = true, ShowMainMenu = true, ShowHints = true;
  int32_t NumPreviewLines = 50;
  bool EditorAutoSearch = true;
  int32_t MaxFinds = 50, MaxHistory = 20;
  bool AllowMultInstances = false;
  // Search
  std::string Directory, FileMask = "*.*", SearchFor;
  bool CaseSensitive = false, WholeWord = false, LineNums = true, Filenames = true, FilePaths = true,
       FileMatchCnt = true, LineStart = false, LineEnd = false;
  bool SubDirs = false;  // written, never read back
  int32_t ExprType = 1;
  // Replace
  std::string ReplaceWith;
  bool RplCaseSensitive = false, RplWholeWords = true, RplBackup = true, RplBackupOverwrite = true,
       RplLineStart = false, RplLineEnd = false;
  // Fonts
  TFontSetting TreeFont{"MS Sans Serif"}, PreviewFont{"Courier New"}, PrinterFont{"MS Sans Serif"},
      ControlFont{"MS Sans Serif"};
  // Colors
  int32_t TreeBackColor = SysColor(COLOR_WINDOW), TreeTextColor = SysColor(COLOR_WINDOWTEXT),
          PrevBackColor = SysColor(COLOR_BTNFACE), PrevTextColor = SysColor(COLOR_WINDOWTEXT),
          PrevLineNumColor = 16711680, PrevMatchBackColor = 0, PrevMatchTextColor = 65535,
          PrevTargetBackColor = SysColor(COLOR_HIGHLIGHT), PrevTargetTextColor = SysColor(COLOR_HIGHLIGHTTEXT);
  // Histories, most recent first
  std::vector<std::string> MaskHistory, SearchHistory, ReplaceHistory, DirectoryHistory;
};

// "0x" hexadecimal (when longer than two characters) or decimal; anything else is no number.
std::optional<int32_t> ParseRegInt(const std::string& text);

using FontInstalledFn = std::function<bool(const std::string& name)>;
bool FontInstalled(const std::string& name);  // asks the system, without regard to case
// The stored name if installed, else the default if installed, else "System".
std::string ResolveFontName(const std::string& stored, const std::string& fallback, const FontInstalledFn& installed);

// Reads the whole profile (one opening of the profile key); missing values keep defaults.
TQrxSettings LoadSettings(const std::string& root, const std::string& programDir,
                          const FontInstalledFn& installed = FontInstalled);
// Writes the whole profile in its fixed order (one opening of the profile key). The
// IDE hook writes its own section between the colours and the histories.
void SaveSettings(const std::string& root, const TQrxSettings& s, const std::function<void(HKEY)>& saveIde = {});

// Copies what the properties dialog edits (the "Options" values, the four fonts and the
// colours) and leaves every other value of to as it is.
void CopyPropertySettings(const TQrxSettings& from, TQrxSettings& to);

// Reads only "Options"/"AllowMultInstances", as the program entry does.
bool ReadAllowMultInstances(const std::string& root);

}  // namespace qrx
