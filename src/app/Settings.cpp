#include "app/Settings.h"

#include "app/RegProfile.h"
#include "winlib/Handles.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace qrx {

COLORREF ColorToRGB(int32_t color) {
  auto u = static_cast<uint32_t>(color);
  if (u & 0x80000000u) return ::GetSysColor(static_cast<int>(u & 0xFF));
  return u & 0x00FFFFFFu;
}

std::optional<int32_t> ParseRegInt(const std::string& text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (text.size() > 10) return std::nullopt;
    uint32_t v = 0;
    for (size_t i = 2; i < text.size(); ++i) {
      char c = text[i];
      if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
      v = v * 16 + static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                                                                                     : std::tolower(c) - 'a' + 10);
    }
    return static_cast<int32_t>(v);
  }
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size()) return std::nullopt;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    v = v * 10 + (text[i] - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(v);
}

bool FontInstalled(const std::string& name) {
  if (name.empty() || name.size() >= LF_FACESIZE) return false;
  HDC dc = ::GetDC(nullptr);
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  std::copy(name.begin(), name.end(), lf.lfFaceName);
  bool found = false;
  // The face name in the request already filters; any callback means it is there.
  ::EnumFontFamiliesExA(
      dc, &lf,
      [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM p) CALLBACK -> int {
        *reinterpret_cast<bool*>(p) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, dc);
  return found;
}

std::string ResolveFontName(const std::string& stored, const std::string& fallback, const FontInstalledFn& installed) {
  if (installed(stored)) return stored;
  if (installed(fallback)) return fallback;
  return "System";
}

namespace {

class Reader {
 public:
  Reader(HKEY profile, const char* section) : sec_(profile, section, false) {}
  int32_t Int(const char* name, int32_t def) const {
    auto text = sec_.ReadString(name);
    if (!text) return def;
    return ParseRegInt(*text).value_or(def);
  }
  bool Flag(const char* name, bool def) const { return Int(name, def ? 1 : 0) != 0; }
  std::string Text(const char* name, const std::string& def) const { return sec_.ReadString(name).value_or(def); }
  const TRegSection& Section() const { return sec_; }

 private:
  TRegSection sec_;
};

class Writer {
 public:
  Writer(HKEY profile, const char* section) : sec_(profile, section, true) {}
  // A section that cannot be opened or created is passed over without a word.
  void Int(const char* name, int32_t v) {
    if (sec_.IsOpen()) sec_.WriteString(name, std::to_string(v));
  }
  void Flag(const char* name, bool v) { Int(name, v ? 1 : 0); }
  void Text(const char* name, const std::string& v) {
    if (sec_.IsOpen()) sec_.WriteString(name, v);
  }

 private:
  TRegSection sec_;
};

void ReadFont(HKEY profile, const char* section, TFontSetting& font, const FontInstalledFn& installed) {
  Reader r(profile, section);
  std::string fallback = font.Name;
  font.Name = ResolveFontName(r.Text("Name", fallback), fallback, installed);
  font.Height = r.Int("Height", font.Height);
  font.Style = r.Int("Style", font.Style);
}

void WriteFont(HKEY profile, const char* section, const TFontSetting& font) {
  Writer w(profile, section);
  w.Text("Name", font.Name);
  w.Int("Height", font.Height);
  w.Int("Style", font.Style);
}

std::vector<std::string> ReadHistory(HKEY profile, const char* section) {
  std::vector<std::string> items;
  TRegSection sec(profile, section, false);
  for (auto& [name, value] : sec.Values()) {
    if (value.empty()) continue;
    if (value.size() > 255) value.resize(255);
    items.push_back(value);
  }
  return items;
}

void WriteHistory(HKEY profile, const char* section, const std::vector<std::string>& items, int32_t maxHistory) {
  DeleteRegTree(profile, section);
  Writer w(profile, section);
  for (size_t i = 0; i < items.size() && static_cast<int64_t>(i) < maxHistory; ++i)
    w.Text(("History" + std::to_string(i)).c_str(), items[i]);
}

}  // namespace

TQrxSettings LoadSettings(const std::string& root, const std::string& programDir, const FontInstalledFn& installed) {
  TQrxSettings s;
  s.Directory = programDir;
  UniqueHKey profile = OpenProfile(root, false);
  HKEY p = profile.get();  // a missing profile reads as all defaults
  {
    Reader r(p, "Main");
    s.Left = r.Int("Left", s.Left);
    s.Top = r.Int("Top", s.Top);
    s.Width = r.Int("Width", s.Width);
    s.Height = r.Int("Height", s.Height);
    s.WindowState = r.Int("WindowState", s.WindowState);
    s.ReplaceLeft = r.Int("ReplaceLeft", s.ReplaceLeft);
    s.ReplaceTop = r.Int("ReplaceTop", s.ReplaceTop);
    s.ReplaceWidth = r.Int("ReplaceWidth", s.ReplaceWidth);
    s.ReplaceHeight = r.Int("ReplaceHeight", s.ReplaceHeight);
    s.PreviewHeight = r.Int("PreviewHeight", s.PreviewHeight);
    s.CurPage = r.Int("CurPage", s.CurPage);
    if (s.CurPage > 2 || s.CurPage < 0) s.CurPage = 0;
  }
  {
    Reader r(p, "Options");
    s.Preview = r.Flag("Preview", s.Preview);
    s.StayOnTop = r.Flag("StayOnTop", s.StayOnTop);
    s.EditorType = r.Int("EditorType", s.EditorType);
    s.EditorPath = r.Text("EditorPath", s.EditorPath);
    s.EditorParams = r.Text("EditorParams", s.EditorParams);
    s.EditorUseLFN = r.Flag("EditorUseLFN", s.EditorUseLFN);
    s.ShowMainMenu = r.Flag("ShowMainMenu", s.ShowMainMenu);
    s.ShowHints = r.Flag("ShowHints", s.ShowHints);
    s.NumPreviewLines = r.Int("NumPreviewLines", s.NumPreviewLines);
    s.EditorAutoSearch = r.Flag("EditorAutoSearch", s.EditorAutoSearch);
    s.MaxFinds = r.Int("MaxFinds", s.MaxFinds);
    if (s.MaxFinds < 1) s.MaxFinds = 50;
    s.MaxHistory = r.Int("MaxHistory", s.MaxHistory);
    if (s.MaxHistory < 1) s.MaxHistory = 1;
    s.AllowMultInstances = r.Flag("AllowMultInstances", s.AllowMultInstances);
  }
  {
    Reader r(p, "Search");
    s.Directory = r.Text("Directory", s.Directory);
    s.FileMask = r.Text("FileMask", s.FileMask);
    s.SearchFor = r.Text("SearchFor", s.SearchFor);
    s.CaseSensitive = r.Flag("CaseSensitive", s.CaseSensitive);
    s.WholeWord = r.Flag("WholeWord", s.WholeWord);
    s.LineNums = r.Flag("LineNums", s.LineNums);
    s.Filenames = r.Flag("Filenames", s.Filenames);
    s.FilePaths = r.Flag("FilePaths", s.FilePaths);
    s.FileMatchCnt = r.Flag("FileMatchCnt", s.FileMatchCnt);
    s.LineStart = r.Flag("LineStart", s.LineStart);
    s.LineEnd = r.Flag("LineEnd", s.LineEnd);
    s.SubDirs = false;  // stored, but every start begins without subdirectories
    s.ExprType = r.Int("ExprType", s.ExprType);
  }
  {
    Reader r(p, "Replace");
    s.ReplaceWith = r.Text("ReplaceWith", s.ReplaceWith);
    s.RplCaseSensitive = r.Flag("CaseSensitive", s.RplCaseSensitive);
    s.RplWholeWords = r.Flag("WholeWords", s.RplWholeWords);
    s.RplBackup = r.Flag("Backup", s.RplBackup);
    s.RplBackupOverwrite = r.Flag("BackupOverwrite", s.RplBackupOverwrite);
    s.RplLineStart = r.Flag("LineStart", s.RplLineStart);
    s.RplLineEnd = r.Flag("LineEnd", s.RplLineEnd);
  }
  ReadFont(p, "TreeFont", s.TreeFont, installed);
  ReadFont(p, "PreviewFont", s.PreviewFont, installed);
  ReadFont(p, "PrinterFont", s.PrinterFont, installed);
  ReadFont(p, "ControlFont", s.ControlFont, installed);
  {
    Reader r(p, "Colors");
    s.TreeBackColor = r.Int("TreeBackColor", s.TreeBackColor);
    s.TreeTextColor = r.Int("TreeTextColor", s.TreeTextColor);
    s.PrevBackColor = r.Int("PrevBackColor", s.PrevBackColor);
    s.PrevTextColor = r.Int("PrevTextColor", s.PrevTextColor);
    s.PrevLineNumColor = r.Int("PrevLineNumColor", s.PrevLineNumColor);
    s.PrevMatchBackColor = r.Int("PrevMatchBackColor", s.PrevMatchBackColor);
    s.PrevMatchTextColor = r.Int("PrevMatchTextColor", s.PrevMatchTextColor);
    s.PrevTargetBackColor = r.Int("PrevTargetBackColor", s.PrevTargetBackColor);
    s.PrevTargetTextColor = r.Int("PrevTargetTextColor", s.PrevTargetTextColor);
  }
  s.MaskHistory = ReadHistory(p, "MaskHistory");
  s.SearchHistory = ReadHistory(p, "SearchHistory");
  s.ReplaceHistory = ReadHistory(p, "ReplaceHistory");
  s.DirectoryHistory = ReadHistory(p, "DirectoryHistory");
  return s;
}

void SaveSettings(const std::string& root, const TQrxSettings& s, const std::function<void(HKEY)>& saveIde) {
  UniqueHKey profile = OpenProfile(root, true);
  HKEY p = profile.get();
  if (!p) return;
  {
    Writer w(p, "Main");
    w.Int("Left", s.Left);
    w.Int("Top", s.Top);
    w.Int("Width", s.Width);
    w.Int("Height", s.Height);
    w.Int("WindowState", s.WindowState);
    w.Int("ReplaceLeft", s.ReplaceLeft);
    w.Int("ReplaceTop", s.ReplaceTop);
    w.Int("ReplaceWidth", s.ReplaceWidth);
    w.Int("ReplaceHeight", s.ReplaceHeight);
    w.Int("PreviewHeight", s.PreviewHeight);
    w.Int("CurPage", s.CurPage);
  }
  {
    Writer w(p, "Options");
    w.Flag("Preview", s.Preview);
    w.Flag("StayOnTop", s.StayOnTop);
    w.Int("EditorType", s.EditorType);
    w.Text("EditorPath", s.EditorPath);
    w.Text("EditorParams", s.EditorParams);
    w.Flag("EditorUseLFN", s.EditorUseLFN);
    w.Flag("ShowMainMenu", s.ShowMainMenu);
    w.Flag("ShowHints", s.ShowHints);
    w.Int("NumPreviewLines", s.NumPreviewLines);
    w.Flag("EditorAutoSearch", s.EditorAutoSearch);
    w.Int("MaxFinds", s.MaxFinds);
    w.Int("MaxHistory", s.MaxHistory);
    w.Flag("AllowMultInstances", s.AllowMultInstances);
  }
  {
    Writer w(p, "Search");
    w.Text("Directory", s.Directory);
    w.Text("FileMask", s.FileMask);
    w.Text("SearchFor", s.SearchFor);
    w.Flag("CaseSensitive", s.CaseSensitive);
    w.Flag("WholeWord", s.WholeWord);
    w.Flag("LineNums", s.LineNums);
    w.Flag("Filenames", s.Filenames);
    w.Flag("FilePaths", s.FilePaths);
    w.Flag("FileMatchCnt", s.FileMatchCnt);
    w.Flag("LineStart", s.LineStart);
    w.Flag("LineEnd", s.LineEnd);
    w.Flag("SubDirs", s.SubDirs);
    w.Int("ExprType", s.ExprType);
  }
  {
    Writer w(p, "Replace");
    w.Text("ReplaceWith", s.ReplaceWith);
    w.Flag("CaseSensitive", s.RplCaseSensitive);
    w.Flag("WholeWords", s.RplWholeWords);
    w.Flag("Backup", s.RplBackup);
    w.Flag("BackupOverwrite", s.RplBackupOverwrite);
    w.Flag("LineStart", s.RplLineStart);
    w.Flag("LineEnd", s.RplLineEnd);
  }
  WriteFont(p, "TreeFont", s.TreeFont);
  WriteFont(p, "PreviewFont", s.PreviewFont);
  WriteFont(p, "PrinterFont", s.PrinterFont);
  WriteFont(p, "ControlFont", s.ControlFont);
  {
    Writer w(p, "Colors");
    w.Int("TreeBackColor", s.TreeBackColor);
    w.Int("TreeTextColor", s.TreeTextColor);
    w.Int("PrevBackColor", s.PrevBackColor);
    w.Int("PrevTextColor", s.PrevTextColor);
    w.Int("PrevLineNumColor", s.PrevLineNumColor);
    w.Int("PrevMatchBackColor", s.PrevMatchBackColor);
    w.Int("PrevMatchTextColor", s.PrevMatchTextColor);
    w.Int("PrevTargetBackColor", s.PrevTargetBackColor);
    w.Int("PrevTargetTextColor", s.PrevTargetTextColor);
  }
  if (saveIde) saveIde(p);
  WriteHistory(p, "MaskHistory", s.MaskHistory, s.MaxHistory);
  WriteHistory(p, "SearchHistory", s.SearchHistory, s.MaxHistory);
  WriteHistory(p, "ReplaceHistory", s.ReplaceHistory, s.MaxHistory);
  WriteHistory(p, "DirectoryHistory", s.DirectoryHistory, s.MaxHistory);
}

bool ReadAllowMultInstances(const std::string& root) {
  UniqueHKey profile = OpenProfile(root, false);
  return Reader(profile.get(), "Options").Flag("AllowMultInstances", false);
}

}  // namespace qrx
