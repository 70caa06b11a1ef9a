// The main window's properties command: the dialog opens over it, and what OK hands
// over is live in the window; Cancel leaves the window as it was.
#include "app/IdeSeams.h"
#include "app/MainWindowFixture.h"
#include "ide/Grepcfg.h"
#include "WindowTestSupport.h"
#include "winlib/ModalDriver.h"

namespace qrx {
namespace {

class PropertiesCommand : public test::MainWindowFixture {};

TEST_F(PropertiesCommand, OkMakesTheDialogsValuesLiveInTheMainWindow) {
  TKRESHForm& f = Form();
  test::ModalDriver<TdlgConfigure>::Run(
      "TdlgConfigure",
      [](TdlgConfigure& d) {
        EXPECT_EQ(d.Text(), "Quarrix Properties");
        EXPECT_GT(d.lbxEditors.Items().Count(), 0) << "the IDEs of the DLL beside the program";
        d.edtMaxFinds.SetText("77");
        d.edtNumPreviewLines.SetText("9");
        d.chkShowHints.SetChecked(false);
        d.cbxTreeBackColor.SetSelectedColor(0x00FFFF);
        d.cbxQPMatchTextColor.SetSelectedColor(0x0000FF);
        d.chkStayOnTop.SetChecked(true);
        d.btnOK.Click();
      },
      [&] { ShowPropertiesDialog(f); });
  EXPECT_EQ(f.Settings().MaxFinds, 77);
  EXPECT_EQ(f.Settings().NumPreviewLines, 9);
  EXPECT_EQ(f.lbxFilePreview.TotalLines(), 9);
  EXPECT_FALSE(f.Settings().ShowHints);
  EXPECT_EQ(f.treResults.Color(), 0x00FFFF);
  EXPECT_EQ(f.lbxFilePreview.MatchTextColor(), 0x0000FF);
  EXPECT_TRUE(f.Settings().StayOnTop) << "set when the dialog closed";
  f.SetStayOnTop(false);
}

TEST_F(PropertiesCommand, CancelLeavesTheMainWindowAsItWas) {
  TKRESHForm& f = Form();
  const int32_t maxFinds = f.Settings().MaxFinds;
  const int32_t color = f.treResults.Color();
  test::ModalDriver<TdlgConfigure>::Run(
      "TdlgConfigure",
      [](TdlgConfigure& d) {
        d.edtMaxFinds.SetText("77");
        d.cbxTreeBackColor.SetSelectedColor(0x00FFFF);
        d.btnCancel.Click();
      },
      [&] { ShowPropertiesDialog(f); });
  EXPECT_EQ(f.Settings().MaxFinds, maxFinds);
  EXPECT_EQ(f.treResults.Color(), color);
}

TEST_F(PropertiesCommand, TheMenuCommandStoresWhatApplySetEvenWhenCancelCloses) {
  TKRESHForm& f = Form();
  int delayWhileOpen = -1;
  test::ModalDriver<TdlgConfigure>::Run(
      "TdlgConfigure",
      [&](TdlgConfigure& d) {
        delayWhileOpen = Application().HintDelay;
        d.edtMaxFinds.SetText("123");
        d.SetChosenFont(TdlgConfigure::fkPrinter, {"Courier New", -17, 0});
        d.btnApply.Click();
        d.edtMaxFinds.SetText("456");
        d.btnCancel.Click();
      },
      [&] { test::FindItem(f.mnuMain.Root(), "P&roperties...")->OnClick(); });
  EXPECT_EQ(key.Get("Options", "MaxFinds"), std::optional<std::string>("123"));
  EXPECT_EQ(key.Get("PrinterFont", "Height"), std::optional<std::string>("-17"));
  EXPECT_EQ(delayWhileOpen, 800) << "hints wait while the dialog is open";
  EXPECT_EQ(Application().HintDelay, 0);
}

}  // namespace
}  // namespace qrx
