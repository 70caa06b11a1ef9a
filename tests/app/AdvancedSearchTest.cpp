// The advanced search dialog: its states, the record it fills and shows again, the
// Advanced button's two looks and its popup, and searches from the window that find
// exactly the files the criteria let through.
#include "app/Grepadv.h"
#include "app/MainWindowFixture.h"
#include "controls/CalendarModel.h"
#include "engine/DosTime.h"
#include "engine/ResultNodes.h"
#include "engine/ResultTree.h"
#include "winlib/ModalDriver.h"

#include <set>

namespace qrx {
namespace {

class Advanced : public test::MainWindowFixture {
 protected:
  // A pick from the drop-down list, as the list reports it.
  static void Pick(TComboBox& box, int index) {
    ::SendMessageA(box.Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(::GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(box.Id(), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(box.Handle()));
  }
  // Typed over the box's whole text, in the box's own date format.
  static void TypeDate(TDateEdit32& box, int y, int m, int d) {
    box.SetFocus();
    ::SendMessageA(box.Handle(), EM_SETSEL, 0, -1);
    for (char c : FormatDate(box.DisplayFormat(), EncodeDate(y, m, d), box.Format()))
      ::SendMessageA(box.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
  }
  static std::string TodayIn(const TDateEdit32& box) {
    return FormatDate(box.DisplayFormat(), Today(), box.Format());
  }
  // Opens the dialog from the window's button and runs the steps in it.
  void InDialog(const std::function<void(TdlgAdvancedSearch&)>& steps) {
    test::ModalDriver<TdlgAdvancedSearch>::Run("TdlgAdvancedSearch", steps,
                                               [this] { Click(Form().btnAdvancedOff.Visible() ? Form().btnAdvancedOff
                                                                                             : Form().btnAdvancedOn); });
  }
  static void Ok(TdlgAdvancedSearch& d) { Click(d.btnOK); }
};

TEST_F(Advanced, DateTypesEnableAndFillTheDateBoxes) {
  TdlgAdvancedSearch d(Form());
  const std::string today = TodayIn(d.edtDate1);
  const struct {
    int type;
    bool first, second;
    std::string text1, text2;
  } cases[] = {
      {3, true, true, today, today},  {0, false, false, "", ""}, {1, true, false, today, ""},
      {3, true, true, today, today},  {2, true, false, today, ""},
  };
  EXPECT_FALSE(d.edtDate1.Enabled());
  for (const auto& c : cases) {
    Pick(d.cbxDateType, c.type);
    EXPECT_EQ(d.edtDate1.Enabled(), c.first) << c.type;
    EXPECT_EQ(d.lblDateAnd.Enabled(), c.second) << c.type;
    EXPECT_EQ(d.edtDate2.Enabled(), c.second) << c.type;
    EXPECT_EQ(d.edtDate1.Text(), c.text1) << c.type;
    EXPECT_EQ(d.edtDate2.Text(), c.text2) << c.type;
    EXPECT_EQ(d.edtDate2.Date() == 0, c.text2.empty()) << c.type;
  }
  // A date chosen for "After" stays when the user switches to "Before".
  d.edtDate1.SetDate(EncodeDate(2001, 2, 3));
  Pick(d.cbxDateType, 1);
  EXPECT_EQ(d.edtDate1.Date(), EncodeDate(2001, 2, 3));
}

TEST_F(Advanced, SizeTypesEnableAndFillTheSizeBoxes) {
  TdlgAdvancedSearch d(Form());
  const struct {
    int type;
    bool first, second;
    const char *text1, *text2;
  } cases[] = {{1, true, false, "0", ""}, {3, true, true, "0", "0"}, {0, false, false, "", ""}, {2, true, false, "0", ""}};
  for (const auto& c : cases) {
    Pick(d.cbxSizeType, c.type);
    for (auto [box, unit, on] : {std::tuple{&d.edtSize1, &d.lblK1, c.first}, std::tuple{&d.edtSize2, &d.lblK2, c.second}}) {
      EXPECT_EQ(box->Enabled(), on) << c.type;
      EXPECT_EQ(::IsWindowEnabled(box->UpDown()) != FALSE, on) << c.type;
      EXPECT_EQ(unit->Enabled(), on) << c.type;
    }
    EXPECT_EQ(d.lblSizeAnd.Enabled(), c.second) << c.type;
    EXPECT_EQ(d.edtSize1.Text(), c.text1) << c.type;
    EXPECT_EQ(d.edtSize2.Text(), c.text2) << c.type;
  }
  d.edtSize1.SetText("12");
  Pick(d.cbxSizeType, 1);
  EXPECT_EQ(d.edtSize1.Text(), "12") << "a size already there stays";
}

TEST_F(Advanced, ClearReturnsToTheDefaultState) {
  TdlgAdvancedSearch d(Form());
  EXPECT_TRUE(d.IsDefaultState());
  EXPECT_TRUE(d.chkArchive.Checked());
  EXPECT_TRUE(d.chkReadOnly.Checked());
  Pick(d.cbxDateType, 3);
  Pick(d.cbxSizeType, 3);
  d.chkHidden.SetChecked(true);
  d.chkArchive.SetChecked(false);
  EXPECT_FALSE(d.IsDefaultState());
  Click(d.btnReset);
  EXPECT_TRUE(d.IsDefaultState());
  EXPECT_EQ(d.edtDate1.Text(), "");
  EXPECT_EQ(d.edtDate2.Date(), 0);
  EXPECT_EQ(d.edtSize2.Text(), "");
  EXPECT_FALSE(d.edtSize1.Enabled());
}

TEST_F(Advanced, TheButtonShowsWhetherCriteriaAreSet) {
  TKRESHForm& f = Form();
  EXPECT_TRUE(f.btnAdvancedOff.Visible());
  EXPECT_FALSE(f.btnAdvancedOn.Visible());
  EXPECT_EQ(f.btnAdvancedOff.Text(), "&Advanced");
  EXPECT_EQ(f.btnAdvancedOn.Text(), "&Advanced");
  EXPECT_NE(f.btnAdvancedOff.Glyph(), nullptr);
  EXPECT_NE(f.btnAdvancedOn.Glyph(), nullptr);

  InDialog(Ok);  // no changes: still no criteria
  EXPECT_EQ(f.Criteria(), nullptr);
  EXPECT_TRUE(f.btnAdvancedOff.Visible());
  EXPECT_TRUE(f.btnAdvancedOff.Focused());

  InDialog([](TdlgAdvancedSearch& d) {
    Click(d.chkArchive);  // clearing Archive alone is a criterion
    Ok(d);
  });
  ASSERT_NE(f.Criteria(), nullptr);
  EXPECT_EQ(f.Criteria()->Attributes, 1u);
  EXPECT_TRUE(f.btnAdvancedOn.Visible());
  EXPECT_FALSE(f.btnAdvancedOff.Visible());
  EXPECT_TRUE(f.btnAdvancedOn.Focused());

  // The popup's "Clear Advanced" is there only while criteria are.
  f.menAdvancedPopup.OnPopup();
  EXPECT_EQ(f.menClearAdvanced->Caption(), "&Clear Advanced");
  EXPECT_TRUE(f.menClearAdvanced->Enabled());
  f.menClearAdvanced->OnClick();
  EXPECT_EQ(f.Criteria(), nullptr);
  EXPECT_TRUE(f.btnAdvancedOff.Visible());
  EXPECT_FALSE(f.btnAdvancedOn.Visible());
  f.menAdvancedPopup.OnPopup();
  EXPECT_FALSE(f.menClearAdvanced->Enabled());

  // OK in the default state removes criteria; Cancel changes nothing.
  InDialog([](TdlgAdvancedSearch& d) {
    Click(d.chkHidden);
    Ok(d);
  });
  ASSERT_NE(f.Criteria(), nullptr);
  InDialog([](TdlgAdvancedSearch& d) {
    Click(d.chkSystem);
    Click(d.btnCancel);
  });
  ASSERT_NE(f.Criteria(), nullptr);
  EXPECT_EQ(f.Criteria()->Attributes, 1u | 2u | 32u);
  InDialog([](TdlgAdvancedSearch& d) {
    Click(d.btnReset);
    Ok(d);
  });
  EXPECT_EQ(f.Criteria(), nullptr);
  EXPECT_TRUE(f.btnAdvancedOff.Visible());
}

TEST_F(Advanced, ARightClickOnTheButtonOpensItsOwnPopup) {
  TKRESHForm& f = Form();
  int advanced = 0, window = 0;
  auto inner = f.menAdvancedPopup.OnPopup;
  f.menAdvancedPopup.OnPopup = [&] { ++advanced, inner(); };
  f.menFormPopup.OnPopup = [&] { ++window; };
  // The menu runs its own loop; a timer inside it closes it again.
  auto rightClick = [](HWND target) {
    RECT r{};
    ::GetWindowRect(target, &r);
    ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK {
      ::KillTimer(nullptr, id);
      ::EndMenu();
    });
    ::SendMessageA(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
                   MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  };
  rightClick(f.btnAdvancedOff.Handle());
  EXPECT_EQ(advanced, 1);
  EXPECT_EQ(window, 0);
  rightClick(f.cbxMask.Handle());
  EXPECT_EQ(advanced, 1);
  EXPECT_EQ(window, 1);
}

TEST_F(Advanced, ReopeningShowsTheStoredCriteriaAndTheRequestCarriesThemInBytes) {
  TKRESHForm& f = Form();
  InDialog([](TdlgAdvancedSearch& d) {
    Pick(d.cbxSizeType, 1);
    d.edtSize1.SetText("10");
    Pick(d.cbxDateType, 3);
    TypeDate(d.edtDate1, 2001, 2, 3);
    TypeDate(d.edtDate2, 2002, 3, 4);  // the first box was left: its date is taken
    Ok(d);                             // the second box is taken at OK
  });
  ASSERT_NE(f.Criteria(), nullptr);
  const AdvancedCriteria c = *f.Criteria();
  EXPECT_EQ(c.SizeKind, 1);
  EXPECT_EQ(c.Size1, 10);
  EXPECT_EQ(c.DateKind, 3);
  EXPECT_EQ(c.Date1, EncodeDate(2001, 2, 3));
  EXPECT_EQ(c.Date2, EncodeDate(2002, 3, 4));
  EXPECT_EQ(c.Attributes, 1u | 32u);

  InDialog([&f](TdlgAdvancedSearch& d) {
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(d.edtDate1.Handle(), WM_GETFONT, 0, 0)), f.ControlFont());
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(d.edtSize2.Handle(), WM_GETFONT, 0, 0)), f.ControlFont());
    EXPECT_EQ(d.cbxSizeType.ItemIndex(), 1);
    EXPECT_EQ(d.edtSize1.Text(), "10");
    EXPECT_TRUE(d.edtSize1.Enabled());
    EXPECT_FALSE(d.edtSize2.Enabled());
    EXPECT_EQ(d.cbxDateType.ItemIndex(), 3);
    EXPECT_EQ(d.edtDate1.Date(), EncodeDate(2001, 2, 3)) << "shown as stored, not today";
    EXPECT_EQ(d.edtDate2.Date(), EncodeDate(2002, 3, 4));
    EXPECT_TRUE(d.edtDate2.Enabled());
    Click(d.btnCancel);
  });

  TFileSearchObj search(f.treResults);
  f.FillRequest(search);
  ASSERT_NE(search.Criteria, nullptr);
  EXPECT_EQ(search.Criteria->Size1, 10 * 1024);
  EXPECT_EQ(search.Criteria->Date2, EncodeDate(2002, 3, 4));
  f.menClearAdvancedClick();
  TFileSearchObj plain(f.treResults);
  f.FillRequest(plain);
  EXPECT_EQ(plain.Criteria, nullptr);
}

TEST_F(Advanced, ADateBoxHoldingNoDateKeepsTheDialogOpen) {
  TKRESHForm& f = Form();
  InDialog([this](TdlgAdvancedSearch& d) {
    Pick(d.cbxDateType, 1);
    d.edtDate1.SetText("99/99/2020");
    Ok(d);
    ASSERT_EQ(ui.Boxes.size(), 1u);
    EXPECT_EQ(ui.Boxes[0].Text, "'99/99/2020' is not a valid date");
    EXPECT_EQ(ui.Boxes[0].Kind, MsgKind::Error);
    EXPECT_EQ(d.ModalResult, 0);
    EXPECT_TRUE(d.edtDate1.Focused());
    TypeDate(d.edtDate1, 2003, 1, 1);
    Ok(d);
    EXPECT_EQ(d.ModalResult, IDOK);
  });
  ASSERT_NE(f.Criteria(), nullptr);
  EXPECT_EQ(f.Criteria()->Date1, EncodeDate(2003, 1, 1));
}

// Files of known dates, sizes and attributes; each search from the window, with its
// criteria set through the dialog, finds exactly the expected ones.
TEST_F(Advanced, SearchesFindExactlyTheFilesThatPass) {
  struct File {
    const char* name;
    int y, m, d;
    size_t size;
    DWORD attributes;
  };
  const File files[] = {
      {"a-old.txt", 2001, 5, 10, 100, 0},
      {"b-new.txt", 2020, 3, 1, 100, 0},
      {"c-big.txt", 2020, 3, 1, 20 * 1024, 0},
      {"d-hidden.txt", 2020, 3, 1, 100, FILE_ATTRIBUTE_HIDDEN},
      {"e-readonly.txt", 2020, 3, 1, 100, FILE_ATTRIBUTE_READONLY},
      {"f-mid.txt", 2012, 6, 15, 100, 0},
  };
  for (const File& file : files) {
    std::string body = "needle\r\n";
    body.resize(file.size, 'x');
    const std::string path = tmp.Write(file.name, body);
    SYSTEMTIME local{static_cast<WORD>(file.y), static_cast<WORD>(file.m), 0, static_cast<WORD>(file.d), 12};
    FILETIME lt{}, utc{};
    ASSERT_TRUE(::SystemTimeToFileTime(&local, &lt));
    ASSERT_TRUE(::LocalFileTimeToFileTime(&lt, &utc));
    {
      UniqueFile h(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(::SetFileTime(h.get(), nullptr, nullptr, &utc));
    }
    if (file.attributes) {
      ASSERT_TRUE(::SetFileAttributesA(path.c_str(), file.attributes));
    }
  }

  TKRESHForm& f = Form();
  f.tabSearch.SetTabIndex(0);
  f.tabSearchChange();
  Click(f.rbnExprNone);
  f.chkShowFilenames.SetChecked(true);
  Type(f.cbxMask, "*.txt");
  Type(f.cbxSearchFor, "needle");
  f.cbxDirectory.SetText(tmp.Path());
  auto found = [&] {
    f.btnStartSearchClick();
    std::set<std::string> names;
    for (int32_t i = 1; i <= f.treResults.ItemCount(); ++i) {
      TBaseNode* node = ResultNodeOf(f.treResults.Items(i));
      if (dynamic_cast<TSearchNode*>(node) && i > 1) break;  // an older search
      if (auto* file = dynamic_cast<TFileNode*>(node)) names.insert(file->FileName.substr(file->FileName.rfind('\\') + 1));
    }
    return names;
  };
  using Names = std::set<std::string>;
  const struct {
    const char* what;
    std::function<void(TdlgAdvancedSearch&)> set;
    Names expected;
  } cases[] = {
      {"after 2010, under 10 k",
       [](TdlgAdvancedSearch& d) {
         Pick(d.cbxDateType, 2);
         TypeDate(d.edtDate1, 2010, 1, 1);
         Pick(d.cbxSizeType, 1);
         d.edtSize1.SetText("10");
       },
       {"b-new.txt", "e-readonly.txt", "f-mid.txt"}},
      {"between 2011 and 2019",
       [](TdlgAdvancedSearch& d) {
         Pick(d.cbxDateType, 3);
         TypeDate(d.edtDate1, 2011, 1, 1);
         TypeDate(d.edtDate2, 2019, 12, 31);
       },
       {"f-mid.txt"}},
      {"before 2010",
       [](TdlgAdvancedSearch& d) {
         Pick(d.cbxDateType, 1);
         TypeDate(d.edtDate1, 2010, 1, 1);
       },
       {"a-old.txt"}},
      {"larger than 10 k", [](TdlgAdvancedSearch& d) { Pick(d.cbxSizeType, 2), d.edtSize1.SetText("10"); },
       {"c-big.txt"}},
      {"hidden allowed, read-only not",
       [](TdlgAdvancedSearch& d) {
         Click(d.chkHidden);
         Click(d.chkReadOnly);
       },
       {"a-old.txt", "b-new.txt", "c-big.txt", "d-hidden.txt", "f-mid.txt"}},
  };
  for (const auto& c : cases) {
    InDialog([&](TdlgAdvancedSearch& d) {
      Click(d.btnReset);
      c.set(d);
      Ok(d);
    });
    EXPECT_EQ(found(), c.expected) << c.what;
  }
  f.menClearAdvancedClick();
  EXPECT_EQ(found(), (Names{"a-old.txt", "b-new.txt", "c-big.txt", "e-readonly.txt", "f-mid.txt"}))
      << "without criteria hidden files stay out, as the engine's default attributes say";
  for (const File& file : files) ::SetFileAttributesA((tmp.Path() + "\\" + file.name).c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace qrx
