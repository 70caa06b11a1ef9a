// Printing from the main window to a real printer: the test run provides a CUPS
// printer whose jobs are kept as files (QRX_PRINT_JOBS names their folder), each with
// its text and its words' boxes taken from the printed pages.
#include "app/DialogDriver.h"
#include "app/MainWindowFixture.h"
#include "app/WindowTestSupport.h"
#include "engine/ResultNodes.h"
#include "engine/ResultTree.h"

#include <regex>
#include <set>
#include <sstream>

namespace qrx {
namespace {

using test::DialogDriver;
using test::ReadFileBytes;

// The text without blanks or line breaks: text taken back from a page has blanks where
// the glyphs stand apart, which need not be where the line had them.
std::string Unspaced(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\f') out += c;
  return out;
}

class Printing : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    test::MainWindowFixture::SetUp();
    jobsDir_ = test::WineNameFromEnvironment("QRX_PRINT_JOBS");
    ASSERT_FALSE(jobsDir_.empty()) << "no capture printer: the test runs through ctest, which starts it";
    before_ = Jobs();
    WorkFileName = tmp.Path() + "\\work.tmp";  // made at start-up in the program
  }
  void TearDown() override {
    test::MainWindowFixture::TearDown();
    WorkFileName.clear();
  }
  // The ids of the finished jobs in the capture folder.
  std::set<std::string> Jobs() const {
    std::set<std::string> ids;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((jobsDir_ + "\\*.txt").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return ids;
    do {
      std::string n = fd.cFileName;
      if (n[0] != '.') ids.insert(n.substr(0, n.size() - 4));
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return ids;
  }
  // Waits (for a minute at most) until count new jobs are complete; their ids in order.
  std::vector<std::string> NewJobs(size_t count) {
    std::set<std::string> fresh;
    for (int i = 0; i < 1200; ++i) {
      fresh.clear();
      for (const std::string& id : Jobs())
        if (!before_.count(id)) fresh.insert(id);
      if (fresh.size() >= count) break;
      ::Sleep(50);
    }
    std::vector<std::string> ids(fresh.begin(), fresh.end());
    std::sort(ids.begin(), ids.end(), [](const std::string& a, const std::string& b) { return std::stoi(a) < std::stoi(b); });
    return ids;
  }
  std::string JobFile(const std::string& id, const char* ext) const { return jobsDir_ + "\\" + id + ext; }
  void Search(const std::string& text) { StandardSearch("*.txt", text); }

  std::string jobsDir_;
  std::set<std::string> before_;
};

TEST_F(Printing, EachCopyIsAJobOfItsOwnHoldingTheExportedTextAtThePrinterFontsPointSize) {
  tmp.Write("alpha.txt", "first needle line\r\nnothing\r\nneedle again, second\r\n");
  tmp.Write("beta.txt", "a needle in beta\r\n");
  // 24 points on a screen of 96 pixels per inch: on paper it must stay 24 points,
  // whatever the printer's own resolution.
  key.Set("PrinterFont", "Name", "Courier New");
  key.Set("PrinterFont", "Height", "-32");
  Search("needle");
  form->treResults.FullExpand();
  std::string exported = tmp.Path() + "\\expected.txt";
  form->WriteTreeToFile(exported, false);
  std::vector<std::string> lines;
  {
    std::istringstream in(ReadFileBytes(exported));
    for (std::string line; std::getline(in, line);) lines.push_back(Unspaced(line));
  }
  ASSERT_EQ(lines.size(), 6u);  // the search, two files, three matches

  std::string printer;
  DialogDriver driver({{"Print", [&](HWND d) {
                          printer = DialogDriver::ItemText(d, cmb4);
                          ::SetDlgItemTextA(d, edt3, "3");
                          DialogDriver::Press(d, IDOK);
                        }}});
  PressWithKeys(form->Handle(), 'P', {VK_CONTROL});
  ASSERT_TRUE(driver.Done());
  EXPECT_TRUE(ui.Boxes.empty()) << ui.Boxes.front().Text;
  EXPECT_EQ(form->dlgPrint.Copies, 3);

  std::vector<std::string> jobs = NewJobs(3);
  ASSERT_EQ(jobs.size(), 3u) << "printer " << printer;
  for (const std::string& id : jobs) {
    SCOPED_TRACE("job " + id);
    // The printed text holds every exported line, in order.
    const std::string printed = Unspaced(ReadFileBytes(JobFile(id, ".txt")));
    size_t at = 0;
    for (const std::string& line : lines) {
      size_t found = printed.find(line, at);
      EXPECT_NE(found, std::string::npos) << "missing: " << line << "\nprinted: " << printed;
      if (found != std::string::npos) at = found + line.size();
    }
    // Word boxes are as high as the font's cell, a little more than its point size.
    const std::string boxes = ReadFileBytes(JobFile(id, ".html"));
    std::regex word(R"re(<word xMin="[0-9.]+" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">[^<]*needle[^<]*</word>)re");
    int words = 0;
    for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), word); it != std::sregex_iterator(); ++it, ++words) {
      double height = std::stod((*it)[2]) - std::stod((*it)[1]);
      EXPECT_GT(height, 20.0);
      EXPECT_LT(height, 36.0);
    }
    EXPECT_GE(words, 3);  // the three matches, and the search line's text
  }
  // The setting itself is untouched by printing.
  EXPECT_EQ(form->Settings().PrinterFont.Height, -32);
}

TEST_F(Printing, AnEmptyTreePrintsNothingAndAsksNothing) {
  DialogDriver driver({});
  Form();
  form->mnuPrintClick();
  EXPECT_TRUE(driver.Unexpected.empty());
  EXPECT_TRUE(ui.Boxes.empty());
  EXPECT_EQ(Jobs(), before_);
}

TEST_F(Printing, PrinterSetupChoosesThePrinterThePrintDialogThenShows) {
  tmp.Write("alpha.txt", "needle\r\n");
  Search("needle");
  std::string chosen, shown;
  DialogDriver driver({{"Print Setup", [&](HWND d) {
                          chosen = DialogDriver::ItemText(d, cmb1);
                          DialogDriver::Press(d, IDOK);
                        }},
                       {"Print", [&](HWND d) {
                          shown = DialogDriver::ItemText(d, cmb4);
                          DialogDriver::Press(d, IDCANCEL);
                        }}});
  form->mnuPrinterSetupClick();
  form->mnuPrintClick();
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(chosen.empty());
  EXPECT_EQ(shown, chosen);
  EXPECT_EQ(form->Printer.DeviceName(), chosen);
}

}  // namespace
}  // namespace qrx
