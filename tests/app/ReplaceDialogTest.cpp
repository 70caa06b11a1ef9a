// The replace dialog as a user meets it: alone, and inside a replace run of the main window.
#include "app/Greprplc.h"
#include "app/MainWindowFixture.h"
#include "engine/FileSearch.h"

#include <fstream>
#include <functional>
#include <iterator>

namespace qrx::test {
namespace {

// Acts for the user whenever the dialog waits for an answer: the nested loop of the wait
// dispatches the timer.
class UserAtDialog {
 public:
  using Step = std::function<void(TdlgReplaceText&)>;
  UserAtDialog(std::function<TdlgReplaceText*()> find, std::vector<Step> steps)
      : find_(std::move(find)), steps_(std::move(steps)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 15, &Tick);
  }
  ~UserAtDialog() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  size_t Done() const { return done_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    UserAtDialog* self = current_;
    if (!self || self->busy_) return;
    TdlgReplaceText* dlg = self->find_();
    if (!dlg || !dlg->Modal() || self->done_ >= self->steps_.size()) return;
    self->busy_ = true;
    self->steps_[self->done_++](*dlg);
    self->busy_ = false;
  }
  static inline UserAtDialog* current_ = nullptr;
  std::function<TdlgReplaceText*()> find_;
  std::vector<Step> steps_;
  size_t done_ = 0;
  bool busy_ = false;
  UINT_PTR timer_ = 0;
};

void Press(TButton& b) { ::SendMessageA(b.Handle(), BM_CLICK, 0, 0); }

void PressKey(HWND target, WORD key) {
  MSG m{target, WM_KEYDOWN, key, 0, 0, {}};
  Application().HandleMessage(m);
}

bool AllEnabled(TdlgReplaceText& d, bool enabled) {
  for (TWindow* w : std::initializer_list<TWindow*>{&d.btnReplaceOne, &d.btnReplaceFile, &d.btnSkipOne, &d.btnSkipFile,
                                                    &d.btnReplaceAll, &d.btnCancel, &d.edtReplaceTxt, &d.chkLineNums,
                                                    &d.lblPrompt})
    if (w->Enabled() != enabled) return false;
  return true;
}

class ReplaceDialog : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    // The temporary files start-up would have made.
    PreviewFileName = tmp.Path() + "\\preview.tmp";
    WorkFileName = tmp.Path() + "\\work.tmp";
  }
  // The window on its Replace tab, over the test's folder, ready to start.
  TKRESHForm& ReplaceTab(const std::string& text, const std::string& with) {
    TKRESHForm& f = Form();
    f.tabSearch.SetTabIndex(1);
    f.tabSearchChange();
    f.cbxMask.SetText("*.txt");
    Type(f.cbxSearchFor, text);
    f.cbxRplReplaceWith.SetText(with);
    f.cbxDirectory.SetText(tmp.Path());
    return f;
  }
};

TEST_F(ReplaceDialog, EachWayOfAnsweringGivesItsAction) {
  const std::string preview = tmp.Write("preview.txt", "first\r\nint foo = 1;\r\nlast\r\n");
  struct Case {
    const char* what;
    std::function<void(TdlgReplaceText&)> act;
    uint8_t action;
  } cases[] = {
      {"Replace", [](TdlgReplaceText& d) { Press(d.btnReplaceOne); }, 3},
      {"Replace File", [](TdlgReplaceText& d) { Press(d.btnReplaceFile); }, 4},
      {"Skip", [](TdlgReplaceText& d) { Press(d.btnSkipOne); }, 1},
      {"Skip File", [](TdlgReplaceText& d) { Press(d.btnSkipFile); }, 2},
      {"Replace All", [](TdlgReplaceText& d) { Press(d.btnReplaceAll); }, 5},
      {"Cancel", [](TdlgReplaceText& d) { Press(d.btnCancel); }, 0},
      {"Esc", [](TdlgReplaceText& d) { PressKey(d.edtReplaceTxt.Handle(), VK_ESCAPE); }, 0},
      {"Enter presses Replace", [](TdlgReplaceText& d) { PressKey(d.edtReplaceTxt.Handle(), VK_RETURN); }, 3},
      {"closing the window", [](TdlgReplaceText& d) { ::SendMessageA(d.Handle(), WM_CLOSE, 0, 0); }, 0},
  };
  TdlgReplaceText dlg(Form().Handle());
  for (const Case& c : cases) {
    bool sawWaiting = false;
    UserAtDialog user([&] { return &dlg; }, {[&](TdlgReplaceText& d) {
                        sawWaiting = AllEnabled(d, true) && d.Showing() && !::IsWindowEnabled(Form().Handle());
                        c.act(d);
                      }});
    std::string text = "bar";
    TReplacePrompt prompt{preview, 2, 5, 7, "c:\\src\\unit.pas", "foo", "bar"};
    EXPECT_EQ(dlg.Ask(prompt, text), c.action) << c.what;
    EXPECT_TRUE(sawWaiting) << c.what;
    // Between two questions: on screen, nothing in it usable, the main window usable again.
    EXPECT_TRUE(dlg.Showing()) << c.what;
    EXPECT_TRUE(AllEnabled(dlg, false)) << c.what;
    EXPECT_TRUE(::IsWindowEnabled(Form().Handle())) << c.what;
  }
  EXPECT_EQ(dlg.Text(), "Replace - c:\\src\\unit.pas");
  EXPECT_EQ(dlg.lblPrompt.Text(), "Replace \"foo\" with");
  EXPECT_EQ(dlg.lbxFilePreview.TargetLine(), 2);
  EXPECT_EQ(dlg.lbxFilePreview.MatchStart(), 5);
  EXPECT_EQ(dlg.lbxFilePreview.MatchStop(), 7);
  // The dialog's preview shows whole rows; the main window's fills its pane to the pixel.
  EXPECT_FALSE(::GetWindowLongA(dlg.lbxFilePreview.Handle(), GWL_STYLE) & LBS_NOINTEGRALHEIGHT);
  EXPECT_TRUE(::GetWindowLongA(Form().lbxFilePreview.Handle(), GWL_STYLE) & LBS_NOINTEGRALHEIGHT);
  // The box starts 8 pixels after the prompt and ends under the Cancel button's right edge.
  EXPECT_EQ(dlg.edtReplaceTxt.Left(), dlg.lblPrompt.Left() + dlg.lblPrompt.Width() + 8);
  EXPECT_EQ(dlg.edtReplaceTxt.Left() + dlg.edtReplaceTxt.Width(), dlg.btnCancel.Left() + dlg.btnCancel.Width());
  MINMAXINFO mmi{};
  ::SendMessageA(dlg.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  EXPECT_EQ(mmi.ptMinTrackSize.x, 636);
  EXPECT_EQ(mmi.ptMinTrackSize.y, 184);
}

TEST_F(ReplaceDialog, StoredBoundsAreMadeUsable) {
  const RECT work{0, 0, 1280, 1000};
  struct Case {
    int l, t, w, h;
    RECT expected;
  } cases[] = {
      {0, 0, 636, 440, {0, 0, 636, 440}},             // the defaults
      {100, 50, 300, 100, {100, 50, 736, 234}},       // too small: the minimum
      {5000, -300, 700, 500, {580, 0, 1280, 500}},    // off the screen: back on it
      {10, 10, 2000, 400, {0, 10, 2000, 410}},        // wider than the screen: from its left edge
  };
  for (const Case& c : cases) {
    RECT r = ReplaceDialogBounds(c.l, c.t, c.w, c.h, work);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
}

// A whole replace run from the Replace tab: the questions, an edited replacement text,
// the dialog's bounds kept for the next run, and the state after the run.
TEST_F(ReplaceDialog, RunFromTheReplaceTab) {
  const std::string a = tmp.Write("a.txt", "foo foo\r\n");
  const std::string b = tmp.Write("b.txt", "foo\n");
  key.Set("Main", "ReplaceLeft", "40");
  key.Set("Main", "ReplaceTop", "30");
  TKRESHForm& f = ReplaceTab("foo", "X");

  std::vector<std::string> captions;
  RECT firstBounds{};
  UserAtDialog user([&] { return f.ReplaceDialog(); },
                    {[&](TdlgReplaceText& d) {
                       captions.push_back(d.Text());
                       ::GetWindowRect(d.Handle(), &firstBounds);
                       EXPECT_EQ(d.edtReplaceTxt.Text(), "X");
                       EXPECT_EQ(d.lbxFilePreview.FileName(), PreviewFileName);
                       EXPECT_EQ(d.lbxFilePreview.TargetLine(), 1);
                       ::SetWindowPos(d.Handle(), nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
                       d.edtReplaceTxt.SetText("NEW");
                       Press(d.btnReplaceOne);
                     },
                     [&](TdlgReplaceText& d) {
                       captions.push_back(d.Text());
                       EXPECT_EQ(d.edtReplaceTxt.Text(), "NEW") << "the edited text holds for the run";
                       EXPECT_EQ(d.lbxFilePreview.ItemText(0).find("NEW foo"), 0u) << d.lbxFilePreview.ItemText(0);
                       Press(d.btnSkipOne);
                     },
                     [&](TdlgReplaceText& d) {
                       captions.push_back(d.Text());
                       PressKey(d.edtReplaceTxt.Handle(), VK_ESCAPE);
                     }});
  f.btnStartSearchClick();
  EXPECT_EQ(user.Done(), 3u);
  ASSERT_EQ(captions.size(), 3u);
  EXPECT_NE(captions[0].find("Replace - "), std::string::npos);
  EXPECT_NE(captions[0].find("a.txt"), std::string::npos);
  EXPECT_NE(captions[2].find("b.txt"), std::string::npos);
  EXPECT_EQ(firstBounds.left, 40);
  EXPECT_EQ(firstBounds.top, 30);
  EXPECT_EQ(firstBounds.right - firstBounds.left, 636);
  EXPECT_EQ(firstBounds.bottom - firstBounds.top, 440);

  // Cancelled at b.txt: a.txt as answered, b.txt as it was.
  EXPECT_EQ(ReadFileBytes(a), "NEW foo\r\n");
  EXPECT_EQ(ReadFileBytes(b), "foo\n");
  EXPECT_EQ(f.cbxRplReplaceWith.Text(), "X") << "the window's own box keeps its text";
  ASSERT_NE(f.ReplaceDialog(), nullptr);
  EXPECT_FALSE(f.ReplaceDialog()->Visible());
  EXPECT_EQ(f.ReplaceDialog()->lbxFilePreview.Count(), 0);
  EXPECT_EQ(f.Settings().ReplaceWidth, 700);
  EXPECT_EQ(f.Settings().ReplaceHeight, 300);
  EXPECT_EQ(f.treResults.ItemCount(), 1);
  EXPECT_TRUE(ui.Boxes.empty());
}

// The dialog's preview shows the file as the main window's preview would: the user's
// colours, the preview font and the number of lines.
TEST_F(ReplaceDialog, PreviewTakesTheUsersPreviewSettings) {
  tmp.Write("a.txt", "foo\n");
  key.Set("Colors", "PrevMatchBackColor", "255");
  key.Set("Colors", "PrevTargetTextColor", "-2147483640");
  key.Set("Colors", "PrevLineNumColor", "32768");
  key.Set("Options", "NumPreviewLines", "7");
  TKRESHForm& f = ReplaceTab("foo", "bar");
  int asked = 0;
  UserAtDialog user([&] { return f.ReplaceDialog(); }, {[&](TdlgReplaceText& d) {
                      ++asked;
                      const TFilePreview& shown = d.lbxFilePreview;
                      const TFilePreview& main = f.lbxFilePreview;
                      const struct {
                        const char* what;
                        int32_t got, want;
                      } cases[] = {
                          {"match background", shown.MatchColor(), 255},
                          {"target text", shown.TargetTextColor(), SysColor(COLOR_WINDOWTEXT)},
                          {"line numbers", shown.LineNumColor(), 32768},
                          {"background", shown.Color(), main.Color()},
                          {"text", shown.TextColor(), main.TextColor()},
                          {"match text", shown.MatchTextColor(), main.MatchTextColor()},
                          {"target line", shown.TargetLineColor(), main.TargetLineColor()},
                          {"lines", shown.TotalLines(), 7},
                      };
                      for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
                      EXPECT_EQ(::SendMessageA(shown.Handle(), WM_GETFONT, 0, 0),
                                ::SendMessageA(main.Handle(), WM_GETFONT, 0, 0));
                      Press(d.btnCancel);
                    }});
  f.btnStartSearchClick();
  EXPECT_EQ(asked, 1);
}

TEST_F(ReplaceDialog, FilesLeftUnchangedAreNamed) {
  const std::string a = tmp.Write("locked.txt", "foo\n");
  TKRESHForm& f = ReplaceTab("foo", "bar");
  UniqueFile lock(::CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  UserAtDialog user([&] { return f.ReplaceDialog(); }, {[](TdlgReplaceText& d) { Press(d.btnReplaceAll); }});
  f.btnStartSearchClick();
  EXPECT_EQ(ReadFileBytes(a), "foo\n");
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text.rfind("1 file was left unchanged:", 0), 0u) << ui.Boxes[0].Text;
  EXPECT_NE(ui.Boxes[0].Text.find("locked.txt: it could not be replaced"), std::string::npos) << ui.Boxes[0].Text;
  EXPECT_EQ(ui.Boxes[0].Kind, MsgKind::Error);
}

}  // namespace
}  // namespace qrx::test
