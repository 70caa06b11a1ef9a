// Drives a running main window from outside, as a person would: it finds the controls by
// their captions, types into the boxes, clicks the boxes and buttons and picks menu
// commands, each by the messages those actions produce, and times how long the window
// takes to answer.
//
// Usage:
//   bench_window prepare PROFILE DIR   registry settings for a profile: past the first run,
//                                      no result limit, a window large enough to see rows
//   bench_window clear                 Clear Window (untimed, between runs)
//   bench_window search DIR MASK EXPR OPTIONS TEXT
//                                      one search from the Start button; prints the seconds
//                                      from the click to the run's end and the counters
//   bench_window tree                  on the rows the window holds: Collapse All, Expand
//                                      All, scrolling to the end, deleting a file line and
//                                      Clear Window by their keys, each timed to the end
//                                      of its repaint
//   bench_window close                 closes the window
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr DWORD kRunTimeoutMs = 30 * 60 * 1000;

struct Control {
  HWND Handle;
  HWND Parent;
  std::string Class, Text;
  int Id;
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string TextOf(HWND h) {
  char buf[512] = {};
  DWORD_PTR got = 0;
  ::SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 10000, &got);
  return buf;
}

class MainWindow {
 public:
  MainWindow() {
    for (int tries = 0; tries < 300 && !main_; ++tries) {
      main_ = ::FindWindowA("TKRESHForm", nullptr);
      if (!main_) ::Sleep(100);
    }
    if (!main_) throw std::runtime_error("no main window running");
    ::EnumChildWindows(main_, Collect, reinterpret_cast<LPARAM>(this));
  }
  HWND Handle() const { return main_; }

  const Control& Find(const std::function<bool(const Control&)>& pred, const char* what) const {
    for (const Control& c : controls_)
      if (pred(c)) return c;
    throw std::runtime_error(std::string("control not found: ") + what);
  }
  const Control& ByText(const char* cls, const std::string& text, HWND parent = nullptr) const {
    return Find([&](const Control& c) { return c.Class == cls && c.Text == text && (!parent || c.Parent == parent); },
                text.c_str());
  }
  std::vector<const Control*> Children(HWND parent, const char* cls) const {
    std::vector<const Control*> out;
    for (const Control& c : controls_)
      if (c.Parent == parent && c.Class == cls) out.push_back(&c);
    return out;
  }

  // A key pressed on target, with Ctrl held if asked: posted, as the keyboard would, so
  // that the window's own loop translates its shortcuts. Returns the seconds until the
  // window has handled it and painted what it changed.
  double Press(HWND target, WORD vk, bool ctrl = false) const {
    const DWORD self = ::GetCurrentThreadId(), thread = ::GetWindowThreadProcessId(main_, nullptr);
    ::AttachThreadInput(self, thread, TRUE);  // the window then reads the key state set here
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
    ::SetKeyboardState(keys);
    ::Sleep(60);  // a thread trusts the key state it last read for up to 50 ms
    const auto t0 = std::chrono::steady_clock::now();
    ::PostMessageA(target, WM_KEYDOWN, vk, 1);
    ::PostMessageA(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
    // A sent message is answered at the window's next wait for messages: after the keys
    // at the latest on the second try.
    Send(main_, WM_NULL, 0, 0);
    Send(main_, WM_NULL, 0, 0);
    PaintNow();
    const double seconds = Seconds(t0);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
    ::SetKeyboardState(keys);
    ::AttachThreadInput(self, thread, FALSE);
    return seconds;
  }

  static LRESULT Send(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(h, msg, wp, lp, SMTO_NORMAL, kRunTimeoutMs, &result))
      throw std::runtime_error("the window did not answer");
    return static_cast<LRESULT>(result);
  }
  // Paints whatever the last command left to paint, so that its time counts too.
  void PaintNow() const { ::RedrawWindow(main_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

 private:
  static BOOL CALLBACK Collect(HWND h, LPARAM self) {
    char cls[64] = {};
    ::GetClassNameA(h, cls, sizeof cls);
    reinterpret_cast<MainWindow*>(self)->controls_.push_back(
        {h, ::GetParent(h), cls, TextOf(h), static_cast<int>(::GetWindowLongPtrA(h, GWLP_ID))});
    return TRUE;
  }
  HWND main_ = nullptr;
  std::vector<Control> controls_;
};

void Click(HWND button) { MainWindow::Send(button, BM_CLICK, 0, 0); }

void SetChecked(HWND box, bool on) {
  if ((MainWindow::Send(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != on) Click(box);
}

// What typing into a combo box's edit field reports to its parent.
void Type(const Control& box, const std::string& text) {
  MainWindow::Send(box.Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  MainWindow::Send(box.Parent, WM_COMMAND, MAKEWPARAM(box.Id, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(box.Handle));
}

void SetValue(HKEY root, const std::string& section, const char* name, const std::string& value) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(root, section.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot write the profile " + section);
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

int Prepare(const std::string& profile, const std::string& dir) {
  const std::string root = "Software\\Vortalis\\Quarrix\\3.0\\" + profile + "\\";
  SetValue(HKEY_CURRENT_USER, root + "Options", "EditorType", "0");
  SetValue(HKEY_CURRENT_USER, root + "Options", "MaxFinds", "100000000");
  SetValue(HKEY_CURRENT_USER, root + "Main", "Left", "0");
  SetValue(HKEY_CURRENT_USER, root + "Main", "Top", "0");
  SetValue(HKEY_CURRENT_USER, root + "Main", "Width", "900");
  SetValue(HKEY_CURRENT_USER, root + "Main", "Height", "760");
  SetValue(HKEY_CURRENT_USER, root + "Main", "CurPage", "0");
  SetValue(HKEY_CURRENT_USER, root + "Search", "Directory", dir);
  return 0;
}

int Search(const MainWindow& w, const std::string& dir, const std::string& mask, int expr, unsigned options,
           const std::string& text) {
  const Control& maskLabel = w.ByText("Static", "File &Mask:");
  std::vector<const Control*> combos;
  for (const Control* c : w.Children(maskLabel.Parent, "ComboBox"))
    if ((::GetWindowLongA(c->Handle, GWL_STYLE) & 3) != CBS_DROPDOWNLIST) combos.push_back(c);
  if (combos.size() != 2) throw std::runtime_error("directory and mask boxes not found");
  const Control& dirBox = combos[0]->Id < combos[1]->Id ? *combos[0] : *combos[1];
  const Control& maskBox = combos[0]->Id < combos[1]->Id ? *combos[1] : *combos[0];
  const HWND page = w.ByText("Button", "Show Line #'s").Parent;
  const HWND expression = w.ByText("Static", "Match :").Parent;
  std::vector<const Control*> searchFor = w.Children(expression, "ComboBox");
  if (searchFor.size() != 1) throw std::runtime_error("search-for box not found");

  Click(w.ByText("Button", expr == 1 ? "Reg. Exp." : expr == 2 ? "DOS" : "Standard").Handle);
  const struct {
    unsigned Bit;
    const char* Caption;
    HWND Parent;
  } boxes[] = {{0x0001, "Show Line #'s", page},    {0x0002, "Show Filenames", page},
               {0x0004, "Show File Paths", page},  {0x0008, "File Match Count", page},
               {0x0010, "Search Su&b Dirs", page}, {0x0200, "Case Sensiti&ve", page},
               {0x0800, "Line Start", expression}, {0x1000, "Line End", expression}};
  for (const auto& b : boxes) SetChecked(w.ByText("Button", b.Caption, b.Parent).Handle, (options & b.Bit) != 0);
  const Control& wholeWords = w.ByText("Button", "&Whole Words", page);
  if (::IsWindowEnabled(wholeWords.Handle)) SetChecked(wholeWords.Handle, (options & 0x0400) != 0);
  Type(maskBox, mask);
  Type(*searchFor[0], text);
  MainWindow::Send(dirBox.Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(dir.c_str()));
  const Control& start = w.ByText("Button", "S&tart");
  if (!::IsWindowEnabled(start.Handle)) throw std::runtime_error("the Start button is disabled");

  // The run happens inside the click's handler, so the click returns when the run has
  // ended; the window then paints what it holds.
  const auto t0 = std::chrono::steady_clock::now();
  Click(start.Handle);
  w.PaintNow();
  const double elapsed = Seconds(t0);
  const auto panel = [&](const char* prefix) {
    const Control& c =
        w.Find([&](const Control& c) { return c.Text.rfind(prefix, 0) == 0 || TextOf(c.Handle).rfind(prefix, 0) == 0; },
               prefix);
    return TextOf(c.Handle);
  };
  std::printf("elapsed %.3f |%s|%s|%s|%s|\n", elapsed, panel(" Found :").c_str(), panel(" # Files :").c_str(),
              panel(" Searched :").c_str(), panel(" Time :").c_str());
  return 0;
}

int Tree(const MainWindow& w) {
  const Control& tree = w.Find([](const Control& c) { return c.Class == "QrxOutline"; }, "results tree");
  const auto key = [&](const char* name, WORD vk, bool ctrl = false) {
    const double seconds = w.Press(tree.Handle, vk, ctrl);
    if (name) std::printf("%s %.4f\n", name, seconds);
  };
  key("collapse-all", 'L', true);
  key("expand-all", 'E', true);
  key("scroll-to-end", VK_END);
  key(nullptr, VK_HOME);
  key(nullptr, VK_DOWN);  // the newest search's first file line
  key("delete-file-line", VK_DELETE);
  key("clear", VK_DELETE, true);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "prepare" && argc == 4) return Prepare(argv[2], argv[3]);
    if (mode == "clear" && argc == 2) {
      MainWindow w;
      w.Press(w.Find([](const Control& c) { return c.Class == "QrxOutline"; }, "results tree").Handle, VK_DELETE, true);
      return 0;
    }
    if (mode == "search" && argc == 7)
      return Search(MainWindow(), argv[2], argv[3], std::atoi(argv[4]),
                    static_cast<unsigned>(std::strtoul(argv[5], nullptr, 0)), argv[6]);
    if (mode == "tree" && argc == 2) return Tree(MainWindow());
    if (mode == "close" && argc == 2) {
      ::PostMessageA(MainWindow().Handle(), WM_CLOSE, 0, 0);
      return 0;
    }
    std::fprintf(stderr, "usage: bench_window prepare PROFILE DIR | clear | search DIR MASK EXPR OPTIONS TEXT | "
                         "tree | close\n");
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_window: %s\n", e.what());
    return 1;
  }
}
