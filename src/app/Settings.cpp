#include "app/Settings.h"

#include "app/RegProfile.h"
#include "winlib/GdiScopes.h"
#include "winlib/Handles.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace qrx {

HFONT CreateFontOf(const TFontSetting& f) {
  return ::CreateFontA(f.Height, 0, 0, 0, (f.Style & 1) ? FW_BOLD : FW_NORMAL, (f.Style & 2) != 0, (f.Style & 4) != 0,
                       (f.Style & 8) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, f.Name.c_str());
}

int32_t HeightAtDpi(int32_t height, int screenDpi, int deviceDpi) {
  // Through the whole point size, as the font dialog shows it: a negative height is
  // the character height, a positive one the cell height, and each keeps its sign.
  int points = -::MulDiv(height, 72, screenDpi > 0 ? screenDpi : 96);
  return -::MulDiv(points, deviceDpi, 72);
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
  WindowDc screen(nullptr);
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  std::copy(name.begin(), name.end(), lf.lfFaceName);
  bool found = false;
  // The face name in the request already filters; any callback means it is there.
  ::EnumFontFamiliesExA(
      screen.get(), &lf,
      [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM p) CALLBACK -> int {
        *reinterpret_cast<bool*>(p) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
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

// Every stored value once, with its section, name and kind, in the order the profile is
// written; the defaults are those of TQrxSettings. Loading and saving both walk this list;
// given several settings, the visitor sees each value of all of them side by side.
template <class V, class... S>
void VisitSettings(V& v, S&... s) {
  v.Section("Main");
  v.Int("Left", s.Left...);
  v.Int("Top", s.Top...);
  v.Int("Width", s.Width...);
  v.Int("Height", s.Height...);
  v.Int("WindowState", s.WindowState...);
  v.Int("ReplaceLeft", s.ReplaceLeft...);
  v.Int("ReplaceTop", s.ReplaceTop...);
  v.Int("ReplaceWidth", s.ReplaceWidth...);
  v.Int("ReplaceHeight", s.ReplaceHeight...);
  v.Int("PreviewHeight", s.PreviewHeight...);
  v.Int("CurPage", s.CurPage...);
  v.Section("Options");
  v.Flag("Preview", s.Preview...);
  v.Flag("StayOnTop", s.StayOnTop...);
  v.Int("EditorType", s.EditorType...);
  v.Text("EditorPath", s.EditorPath...);
  v.Text("EditorParams", s.EditorParams...);
  v.Flag("EditorUseLFN", s.EditorUseLFN...);
  v.Flag("ShowMainMenu", s.ShowMainMenu...);
  v.Flag("ShowHints", s.ShowHints...);
  v.Int("NumPreviewLines", s.NumPreviewLines...);
  v.Flag("EditorAutoSearch", s.EditorAutoSearch...);
  v.Int("MaxFinds", s.MaxFinds...);
  v.Int("MaxHistory", s.MaxHistory...);
  v.Flag("AllowMultInstances", s.AllowMultInstances...);
  v.Section("Search");
  v.Text("Directory", s.Directory...);
  v.Text("FileMask", s.FileMask...);
  v.Text("SearchFor", s.SearchFor...);
  v.Flag("CaseSensitive", s.CaseSensitive...);
  v.Flag("WholeWord", s.WholeWord...);
  v.Flag("LineNums", s.LineNums...);
  v.Flag("Filenames", s.Filenames...);
  v.Flag("FilePaths", s.FilePaths...);
  v.Flag("FileMatchCnt", s.FileMatchCnt...);
  v.Flag("LineStart", s.LineStart...);
  v.Flag("LineEnd", s.LineEnd...);
  v.Flag("SubDirs", s.SubDirs...);
  v.Int("ExprType", s.ExprType...);
  v.Section("Replace");
  v.Text("ReplaceWith", s.ReplaceWith...);
  v.Flag("CaseSensitive", s.RplCaseSensitive...);
  v.Flag("WholeWords", s.RplWholeWords...);
  v.Flag("Backup", s.RplBackup...);
  v.Flag("BackupOverwrite", s.RplBackupOverwrite...);
  v.Flag("LineStart", s.RplLineStart...);
  v.Flag("LineEnd", s.RplLineEnd...);
  v.Font("TreeFont", s.TreeFont...);
  v.Font("PreviewFont", s.PreviewFont...);
  v.Font("PrinterFont", s.PrinterFont...);
  v.Font("ControlFont", s.ControlFont...);
  v.Section("Colors");
  v.Int("TreeBackColor", s.TreeBackColor...);
  v.Int("TreeTextColor", s.TreeTextColor...);
  v.Int("PrevBackColor", s.PrevBackColor...);
  v.Int("PrevTextColor", s.PrevTextColor...);
  v.Int("PrevLineNumColor", s.PrevLineNumColor...);
  v.Int("PrevMatchBackColor", s.PrevMatchBackColor...);
  v.Int("PrevMatchTextColor", s.PrevMatchTextColor...);
  v.Int("PrevTargetBackColor", s.PrevTargetBackColor...);
  v.Int("PrevTargetTextColor", s.PrevTargetTextColor...);
  v.Histories();
  v.History("MaskHistory", s.MaskHistory...);
  v.History("SearchHistory", s.SearchHistory...);
  v.History("ReplaceHistory", s.ReplaceHistory...);
  v.History("DirectoryHistory", s.DirectoryHistory...);
}

class LoadVisitor {
 public:
  LoadVisitor(HKEY profile, const FontInstalledFn& installed) : profile_(profile), installed_(installed) {}
  void Section(const char* name) { section_.emplace(profile_, name); }
  void Int(const char* name, int32_t& v) { v = section_->Int(name, v); }
  void Flag(const char* name, bool& v) { v = section_->Flag(name, v); }
  void Text(const char* name, std::string& v) { v = section_->Text(name, v); }
  void Font(const char* section, TFontSetting& font) {
    Reader r(profile_, section);
    const std::string fallback = font.Name;
    font.Name = ResolveFontName(r.Text("Name", fallback), fallback, installed_);
    font.Height = r.Int("Height", font.Height);
    font.Style = r.Int("Style", font.Style);
  }
  void Histories() {}
  void History(const char* section, std::vector<std::string>& items) {
    items.clear();
    TRegSection sec(profile_, section, false);
    for (auto& [name, value] : sec.Values()) {
      if (value.empty()) continue;
      if (value.size() > 255) value.resize(255);
      items.push_back(value);
    }
  }

 private:
  HKEY profile_;
  const FontInstalledFn& installed_;
  std::optional<Reader> section_;
};

class SaveVisitor {
 public:
  SaveVisitor(HKEY profile, int32_t maxHistory, const std::function<void(HKEY)>& saveIde)
      : profile_(profile), maxHistory_(maxHistory), saveIde_(saveIde) {}
  void Section(const char* name) { section_.emplace(profile_, name); }
  void Int(const char* name, int32_t v) { section_->Int(name, v); }
  void Flag(const char* name, bool v) { section_->Flag(name, v); }
  void Text(const char* name, const std::string& v) { section_->Text(name, v); }
  void Font(const char* section, const TFontSetting& font) {
    Writer w(profile_, section);
    w.Text("Name", font.Name);
    w.Int("Height", font.Height);
    w.Int("Style", font.Style);
  }
  // The IDE manager's section stands between the colours and the histories.
  void Histories() {
    if (saveIde_) saveIde_(profile_);
  }
  void History(const char* section, const std::vector<std::string>& items) {
    DeleteRegTree(profile_, section);
    Writer w(profile_, section);
    for (size_t i = 0; i < items.size() && static_cast<int64_t>(i) < maxHistory_; ++i)
      w.Text(("History" + std::to_string(i)).c_str(), items[i]);
  }

 private:
  HKEY profile_;
  int32_t maxHistory_;
  const std::function<void(HKEY)>& saveIde_;
  std::optional<Writer> section_;
};

// Copies the values of the sections the properties dialog edits: "Options", the fonts and
// "Colors".
class PropertiesCopier {
 public:
  void Section(const char* name) { copying_ = std::strcmp(name, "Options") == 0 || std::strcmp(name, "Colors") == 0; }
  void Int(const char*, int32_t from, int32_t& to) { Copy(from, to); }
  void Flag(const char*, bool from, bool& to) { Copy(from, to); }
  void Text(const char*, const std::string& from, std::string& to) { Copy(from, to); }
  void Font(const char*, const TFontSetting& from, TFontSetting& to) { to = from; }
  void Histories() { copying_ = false; }
  void History(const char*, const std::vector<std::string>&, std::vector<std::string>&) {}

 private:
  template <class T>
  void Copy(const T& from, T& to) {
    if (copying_) to = from;
  }
  bool copying_ = false;
};

}  // namespace

void CopyPropertySettings(const TQrxSettings& from, TQrxSettings& to) {
  PropertiesCopier copier;
  VisitSettings(copier, from, to);
}

TQrxSettings LoadSettings(const std::string& root, const std::string& programDir, const FontInstalledFn& installed) {
  TQrxSettings s;
  s.Directory = programDir;
  UniqueHKey profile = OpenProfile(root, false);  // a missing profile reads as all defaults
  LoadVisitor load(profile.get(), installed);
  VisitSettings(load, s);
  // Values read back under rules of their own.
  if (s.CurPage > 2 || s.CurPage < 0) s.CurPage = 0;
  if (s.MaxFinds < 1) s.MaxFinds = 50;
  if (s.MaxHistory < 1) s.MaxHistory = 1;
  s.SubDirs = false;  // stored, but every start begins without subdirectories
  return s;
}

void SaveSettings(const std::string& root, const TQrxSettings& s, const std::function<void(HKEY)>& saveIde) {
  UniqueHKey profile = OpenProfile(root, true);
  if (!profile) return;
  SaveVisitor save(profile.get(), s.MaxHistory, saveIde);
  VisitSettings(save, s);
}

bool ReadAllowMultInstances(const std::string& root) {
  UniqueHKey profile = OpenProfile(root, false);
  return Reader(profile.get(), "Options").Flag("AllowMultInstances", false);
}

}  // namespace qrx
