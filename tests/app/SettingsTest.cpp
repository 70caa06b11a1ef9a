#include "app/ProfileKey.h"
#include "app/RegProfile.h"
#include "app/Settings.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

bool FakeInstalled(const std::string& name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "arial" || lower == "courier new" || lower == "system";
}

TEST(SettingsRead, NumbersFollowTheReadingRules) {
  const struct {
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {"0x10", 16}, {"0X1f", 31}, {"123", 123}, {"-11", -11}, {"+7", 7}, {"abc", std::nullopt},
      {"0x", std::nullopt}, {"", std::nullopt}, {"12a", std::nullopt}, {"0xFFFFFFFF", -1},
      {"-2147483633", -2147483633}, {"99999999999", std::nullopt}, {"0x123456789", std::nullopt},
      {"0xg1", std::nullopt}, {"-", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseRegInt(c.text), c.value) << c.text;
}

TEST(SettingsRead, EmptyProfileYieldsTheDefaults) {
  test::ProfileKey key;
  TQrxSettings s = LoadSettings(key.Root(), "C:\\prog", FakeInstalled);
  EXPECT_EQ(s.Left, 0);
  EXPECT_EQ(s.Top, 0);
  EXPECT_EQ(s.Width, 582);
  EXPECT_EQ(s.Height, 440);
  EXPECT_EQ(s.ExprType, 1);
  EXPECT_EQ(s.FileMask, "*.*");
  EXPECT_TRUE(s.LineNums && s.Filenames && s.FilePaths && s.FileMatchCnt);
  EXPECT_EQ(s.EditorType, -999);
  EXPECT_EQ(s.Directory, "C:\\prog");
  EXPECT_TRUE(s.RplWholeWords);
  EXPECT_FALSE(s.WholeWord);
  EXPECT_EQ(s.MaxFinds, 50);
  EXPECT_EQ(s.MaxHistory, 20);
  EXPECT_EQ(s.PreviewFont.Name, "Courier New");
  EXPECT_EQ(s.TreeFont.Name, "System") << "MS Sans Serif is not installed in this fake";
  EXPECT_EQ(s.PrevBackColor, SysColor(15));
  EXPECT_TRUE(s.MaskHistory.empty());
}

TEST(SettingsRead, StoredValuesOverrideAndBadOnesFallBack) {
  test::ProfileKey key;
  const struct {
    const char* section;
    const char* name;
    const char* text;
  } values[] = {
      {"Options", "MaxFinds", "0x10"},   {"Options", "MaxHistory", "0"},    {"Main", "CurPage", "5"},
      {"Main", "Width", "abc"},          {"Search", "SubDirs", "1"},        {"Search", "WholeWord", "7"},
      {"Replace", "WholeWords", "0"},    {"TreeFont", "Name", "aRiAl"},     {"PreviewFont", "Name", "Missing"},
      {"Colors", "PrevBackColor", "-2147483633"}, {"Options", "AllowMultInstances", "2"},
  };
  for (auto& v : values) key.Set(v.section, v.name, v.text);
  TQrxSettings s = LoadSettings(key.Root(), "C:\\prog", FakeInstalled);
  EXPECT_EQ(s.MaxFinds, 16);
  EXPECT_EQ(s.MaxHistory, 1);
  EXPECT_EQ(s.CurPage, 0);
  EXPECT_EQ(s.Width, 582);
  EXPECT_FALSE(s.SubDirs) << "sub dirs always start cleared";
  EXPECT_TRUE(s.WholeWord);
  EXPECT_FALSE(s.RplWholeWords);
  EXPECT_EQ(s.TreeFont.Name, "aRiAl");
  EXPECT_EQ(s.PreviewFont.Name, "Courier New");
  EXPECT_EQ(ResolveColor(s.PrevBackColor, CLR_INVALID), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(s.AllowMultInstances);
  EXPECT_TRUE(ReadAllowMultInstances(key.Root()));
  for (const char* bad : {"abc", "0"}) {
    key.Set("Options", "MaxFinds", bad);
    EXPECT_EQ(LoadSettings(key.Root(), "", FakeInstalled).MaxFinds, 50) << bad;
  }
}

TEST(SettingsStore, SaveThenLoadGivesTheSameValues) {
  test::ProfileKey key;
  TQrxSettings s;
  s.Left = 12; s.Top = 34; s.Width = 700; s.Height = 500; s.WindowState = 2; s.ReplaceLeft = 5;
  s.PreviewHeight = 80; s.CurPage = 2; s.Preview = false; s.StayOnTop = true; s.EditorType = 1;
  s.EditorPath = "C:\\ed.exe"; s.EditorParams = "#FILENAME# -n#LINENUM#"; s.ShowHints = false;
  s.NumPreviewLines = 7; s.MaxFinds = 300; s.MaxHistory = 2; s.AllowMultInstances = true;
  s.Directory = "C:\\src"; s.FileMask = "*.cpp"; s.SearchFor = "needle"; s.CaseSensitive = true;
  s.ExprType = 2; s.ReplaceWith = "pin"; s.RplBackup = false; s.RplLineEnd = true;
  s.ControlFont = {"Arial", -13, 5};
  s.TreeBackColor = 0x00123456; s.PrevTargetTextColor = SysColor(8);
  s.MaskHistory = {"*.c", "*.h", "*.txt"};
  s.SearchHistory = {"", "a"};
  bool ideCalled = false;
  SaveSettings(key.Root(), s, [&](HKEY profile) { ideCalled = profile != nullptr; });
  EXPECT_TRUE(ideCalled);

  TQrxSettings r = LoadSettings(key.Root(), "", FakeInstalled);
  EXPECT_EQ(r.Left, 12); EXPECT_EQ(r.Top, 34); EXPECT_EQ(r.Width, 700); EXPECT_EQ(r.Height, 500);
  EXPECT_EQ(r.WindowState, 2); EXPECT_EQ(r.ReplaceLeft, 5); EXPECT_EQ(r.PreviewHeight, 80); EXPECT_EQ(r.CurPage, 2);
  EXPECT_FALSE(r.Preview); EXPECT_TRUE(r.StayOnTop); EXPECT_EQ(r.EditorType, 1);
  EXPECT_EQ(r.EditorPath, s.EditorPath); EXPECT_EQ(r.EditorParams, s.EditorParams); EXPECT_FALSE(r.ShowHints);
  EXPECT_EQ(r.NumPreviewLines, 7); EXPECT_EQ(r.MaxFinds, 300); EXPECT_EQ(r.MaxHistory, 2);
  EXPECT_TRUE(r.AllowMultInstances);
  EXPECT_EQ(r.Directory, "C:\\src"); EXPECT_EQ(r.FileMask, "*.cpp"); EXPECT_EQ(r.SearchFor, "needle");
  EXPECT_TRUE(r.CaseSensitive); EXPECT_EQ(r.ExprType, 2); EXPECT_EQ(r.ReplaceWith, "pin");
  EXPECT_FALSE(r.RplBackup); EXPECT_TRUE(r.RplLineEnd);
  EXPECT_EQ(r.ControlFont.Name, "Arial"); EXPECT_EQ(r.ControlFont.Height, -13); EXPECT_EQ(r.ControlFont.Style, 5);
  EXPECT_EQ(r.TreeBackColor, 0x00123456); EXPECT_EQ(r.PrevTargetTextColor, SysColor(8));
  EXPECT_EQ(key.Get("Colors", "PrevTargetTextColor"), "-2147483640") << "system colours are stored negative";
  EXPECT_EQ(key.Get("Search", "SubDirs"), "0");
  EXPECT_EQ(r.MaskHistory, (std::vector<std::string>{"*.c", "*.h"})) << "only MaxHistory entries are written";
  EXPECT_EQ(r.SearchHistory, std::vector<std::string>{"a"}) << "empty entries are skipped on loading";
}

TEST(SettingsCopy, ThePropertiesSectionsTravelWholeAndNothingElse) {
  TQrxSettings from;
  from.Left = 1; from.MaxFinds = 300; from.EditorPath = "C:\\ed.exe"; from.StayOnTop = true; from.SearchFor = "x";
  from.RplBackup = false; from.TreeFont = {"Arial", -13, 1}; from.PreviewFont = {"Arial", -14, 2};
  from.PrinterFont = {"Arial", -15, 4}; from.ControlFont = {"Arial", -16, 8}; from.PrevMatchBackColor = 0x00123456;
  from.MaskHistory = {"a", "b"};
  TQrxSettings to;
  to.Left = 99; to.SearchFor = "kept"; to.MaskHistory = {"kept"};
  const TQrxSettings before = to;
  CopyPropertySettings(from, to);

  // Compared as stored, value by value, so that every setting of a section counts.
  test::ProfileKey fromKey, toKey, beforeKey;
  SaveSettings(fromKey.Root(), from);
  SaveSettings(toKey.Root(), to);
  SaveSettings(beforeKey.Root(), before);
  const auto values = [](const test::ProfileKey& key, const char* section) {
    UniqueHKey profile = OpenProfile(key.Root(), false);
    return TRegSection(profile.get(), section, false).Values();
  };
  const struct {
    const char* section;
    bool copied;
  } sections[] = {
      {"Main", false},     {"Options", true},     {"Search", false},      {"Replace", false},     {"TreeFont", true},
      {"PreviewFont", true}, {"PrinterFont", true}, {"ControlFont", true}, {"Colors", true}, {"MaskHistory", false},
  };
  for (const auto& c : sections) {
    ASSERT_NE(values(fromKey, c.section), values(beforeKey, c.section)) << c.section << " must differ to tell";
    EXPECT_EQ(values(toKey, c.section), values(c.copied ? fromKey : beforeKey, c.section)) << c.section;
  }
}

TEST(SettingsStore, HistoriesAreRewrittenWholeAndReadWhateverTheValueNames) {
  test::ProfileKey key;
  key.Set("DirectoryHistory", "History7", "old");
  key.Set("DirectoryHistory", "Something", std::string(300, 'x'));
  TQrxSettings r = LoadSettings(key.Root(), "", FakeInstalled);
  ASSERT_EQ(r.DirectoryHistory.size(), 2u);
  for (auto& e : r.DirectoryHistory) EXPECT_LE(e.size(), 255u);

  TQrxSettings s;
  s.DirectoryHistory = {"C:\\one"};
  SaveSettings(key.Root(), s);
  EXPECT_EQ(key.Get("DirectoryHistory", "History0"), "C:\\one");
  EXPECT_FALSE(key.Get("DirectoryHistory", "History7").has_value());
  EXPECT_FALSE(key.Get("DirectoryHistory", "Something").has_value());
}

TEST(SettingsStore, FontFallbackOrder) {
  const struct {
    const char* stored;
    const char* fallback;
    const char* result;
  } cases[] = {
      {"Arial", "Courier New", "Arial"},
      {"Nope", "Courier New", "Courier New"},
      {"Nope", "MS Sans Serif", "System"},
      {"", "Arial", "Arial"},
  };
  for (auto& c : cases) EXPECT_EQ(ResolveFontName(c.stored, c.fallback, FakeInstalled), c.result) << c.stored;
  EXPECT_FALSE(FontInstalled("No Such Font Anywhere 12345"));
}

}  // namespace
}  // namespace qrx
