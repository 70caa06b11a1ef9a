#include "ide/IDEMgr.h"

#include "shared/RegRoutines.h"
#include "shared/TextTools.h"

#include <algorithm>
#include <cstdio>

namespace qrx {
namespace {

// Extension DLLs that are no drivers of ours: the expression engine of old and the
// Delphi add-in, which lives beside the program too.
const char* const kSkipped[] = {"KRESH.DLL", "KRESH32UT.DL", "DELPHI2.DLL"};

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return s;
}

bool LessNoCase(const std::string& a, const std::string& b) { return Upper(a) < Upper(b); }

std::string ThreeDigits(size_t i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%03u", static_cast<unsigned>(i));
  return buf;
}

std::string NameOnly(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

std::string WindowText(HWND window) {
  char buf[256] = {};
  ::GetWindowTextA(window, buf, sizeof buf);
  return buf;
}

std::string ClassOf(HWND window) {
  char buf[256] = {};
  ::GetClassNameA(window, buf, sizeof buf);
  return buf;
}

std::string SystemMessage(DWORD code) {
  char buf[512] = {};
  ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf, sizeof buf,
                   nullptr);
  std::string s = buf;
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

}  // namespace

void RestoreWindow(HWND window) {
  if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (::GetWindowPlacement(window, &wp)) {
    wp.showCmd = SW_SHOWNORMAL;
    ::SetWindowPlacement(window, &wp);
  }
}

TIDEMgr::TIDEMgr(HWND mainWindow, std::string registryRoot, std::string directory, std::string transferFile,
                 TIDEMgrUi ui)
    : mainWindow_(mainWindow),
      registryRoot_(std::move(registryRoot)),
      transferFile_(std::move(transferFile)),
      ui_(std::move(ui)) {
  LoadExtensions(directory);
}

TIDEMgr::~TIDEMgr() {
  // Every driver goes back to its DLL before the DLLs are unloaded.
  ides_.clear();
  extensions_.clear();
}

void TIDEMgr::LoadExtensions(const std::string& directory) {
  std::string dir = directory;
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  WIN32_FIND_DATAA fd;
  std::vector<std::string> names;
  {
    UniqueFind find(::FindFirstFileA((dir + "*.DLL").c_str(), &fd));
    if (!find) return;
    do {
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      names.push_back(fd.cFileName);
    } while (::FindNextFileA(find.get(), &fd));
  }
  for (const std::string& name : names) {
    if (std::any_of(std::begin(kSkipped), std::end(kSkipped), [&](const char* s) { return Upper(name) == s; }))
      continue;
    auto extension = std::make_unique<TExtensionDLL>(dir, name);
    if (!extension->IsValid()) continue;
    extensions_.push_back(std::move(extension));
    AddIDEs(*extensions_.back());
  }
}

void TIDEMgr::AddIDEs(TExtensionDLL& extension) {
  const int count = extension.IDECount();
  for (int i = 0; i < count; ++i) {
    auto ide = std::make_unique<TGrepIDE>(extension, i, mainWindow_);
    std::string key;
    RegReadString(HKEY_CURRENT_USER, registryRoot_ + "\\IDE", extension.DLLFileName() + ":" + std::to_string(i), key);
    ide->OrderKey = key.size() < 3 ? "Z" + ide->Description() : key.substr(0, 50);
    ides_.push_back(std::move(ide));
  }
  SortIDEs();
}

void TIDEMgr::SortIDEs() {
  std::stable_sort(ides_.begin(), ides_.end(), [](const auto& a, const auto& b) { return LessNoCase(a->OrderKey, b->OrderKey); });
}

void TIDEMgr::ApplyOrder() { SortIDEs(); }

void TIDEMgr::ResetOrder() {
  for (size_t i = 0; i < ides_.size(); ++i) ides_[i]->OrderKey = ThreeDigits(i);
}

void TIDEMgr::ReloadAll() {
  for (auto& ide : ides_) ide->Load();
}

void TIDEMgr::FirstRunSteps(const std::string& delphiIni, const std::string& programPath) {
  ReloadAll();
  OfferDelphiToolsEntry(delphiIni, programPath, ui_.AskYesNo);
  ResetOrder();
}

std::vector<std::pair<std::string, TGrepIDE*>> TIDEMgr::FillList() const {
  std::vector<std::pair<std::string, TGrepIDE*>> list;
  for (const auto& ide : ides_) list.emplace_back(ide->Description(), ide.get());
  return list;
}

void TIDEMgr::SaveOrder(HKEY profile) const {
  RegDeleteTree(profile, "IDE");
  UniqueHKey section;
  if (::RegCreateKeyExA(profile, "IDE", 0, nullptr, 0, KEY_WRITE, nullptr, section.put(), nullptr) != ERROR_SUCCESS)
    return;
  for (const auto& ide : ides_) {
    if (!ide->IsEnabled()) continue;
    const std::string name = ide->DLLFileName() + ":" + std::to_string(ide->DriverIndex());
    ::RegSetValueExA(section.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(ide->OrderKey.c_str()),
                     static_cast<DWORD>(ide->OrderKey.size() + 1));
  }
}

bool TIDEMgr::WriteTransferInfo(const std::string& file, int line, int start, int stop) {
  const char* ini = transferFile_.c_str();
  auto put = [&](const char* key, const std::string& value) {
    return ::WritePrivateProfileStringA(kTransferSection, key, value.c_str(), ini) != FALSE;
  };
  const bool ok = put("LONGFILENAME", file) && put("FILENAME", ShortPathOf(file)) &&
                  put("LINENUM", std::to_string(line)) && put("MATCHSTART", std::to_string(start)) &&
                  put("MATCHSTOP", std::to_string(stop));
  if (!ok)
    ui_.Error("Could not write transfer information. Error creating file.\r" + SystemMessage(::GetLastError()));
  return ok;
}

HWND TIDEMgr::FindIDEWindow(const TGrepIDE& ide) const {
  const std::string cls = ide.AppClass();
  if (cls.empty()) return nullptr;
  const std::string text = ide.AppText();
  if (ide.IDEType() != iaEnumerated) return ::FindWindowA(cls.c_str(), text.empty() ? nullptr : text.c_str());
  if (text.empty()) return nullptr;
  struct Search {
    std::string cls, text;
    HWND found = nullptr;
  } search{cls, text};
  ::EnumWindows(
      [](HWND h, LPARAM p) CALLBACK -> BOOL {
        try {
          auto* s = reinterpret_cast<Search*>(p);
          const std::string title = WindowText(h);
          if (!title.empty() && ClassOf(h).compare(0, s->cls.size(), s->cls) == 0 &&
              title.compare(0, s->text.size(), s->text) == 0) {
            s->found = h;
            return FALSE;
          }
          return TRUE;
        } catch (...) {
          return FALSE;  // no memory left to compare names with: the search ends
        }
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool TIDEMgr::CheckSetup(const TGrepIDE& ide) {
  if (!ide.HasDriver() || ide.IsInstalled() || !ide.CanInstall()) return true;
  const std::string desc = ide.Description();
  if (!ui_.AskYesNo(desc + " was found running, but is not currently setup to accept files.\r" +
                    "Would you like to set it up now?"))
    return true;
  const bool result = ide.Install();
  if (ide.IsInstalled())
    ui_.Inform("IDE was setup successfully. Be sure to restart " + desc + " to enable Quarrix support.");
  else
    ui_.Error("IDE Setup Failed");
  return result;
}

void TIDEMgr::BringForward(HWND window) {
  // Windows lets only the foreground process hand the foreground on; it is ours to give.
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  ::AllowSetForegroundWindow(pid);
  ::SetForegroundWindow(window);
  // The editor takes the activation (and with it the keyboard focus) in its own thread;
  // keys typed before that would reach no control. A message sent after the activation
  // is answered only once the activation has been handled.
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  if (ui_.ProcessMessages) ui_.ProcessMessages();
}

bool TIDEMgr::ActivateIDE(TGrepIDE* ide) {
  if (!ide) return false;
  HWND window = FindIDEWindow(*ide);
  const bool startsItself = ide->StartsItself();
  if (!startsItself && !window) return false;
  if (!CheckSetup(*ide) || !ide->IsIDEReady()) return false;
  if (window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    ::AllowSetForegroundWindow(pid);
    ::PostMessageA(window, ::RegisterWindowMessageA("CM_QUARXRESTORE"), 0, 0);
    RestoreWindow(window);
  }
  if (startsItself) return ide->ActivateWindow(window);
  BringForward(window);
  return true;
}

bool TIDEMgr::DispatchMDI(TGrepIDE& ide, const std::string& file, int line, int start, int stop) {
  HWND main = FindIDEWindow(ide);
  HWND client = main ? ::GetWindow(main, GW_CHILD) : nullptr;
  HWND first = client ? ::GetWindow(client, GW_CHILD) : nullptr;
  const std::string forms[] = {Upper(file), Upper(NameOnly(file)), Upper(ShortPathOf(file)),
                               Upper(NameOnly(ShortPathOf(file)))};
  for (HWND child = first; child;) {
    const std::string title = Upper(WindowText(child));
    if (std::find(std::begin(forms), std::end(forms), title) != std::end(forms)) {
      RestoreWindow(child);
      if (!::BringWindowToTop(child)) return false;
      return ide.SyncIDE(nullptr, line, start, stop);
    }
    child = ::GetWindow(child, GW_HWNDNEXT);
    if (child == first) break;
  }
  return ide.SyncIDE(file.c_str(), line, start, stop);
}

bool TIDEMgr::Dispatch(TGrepIDE& ide, const std::string& file, int line, int start, int stop) {
  switch (ide.IDEType() & kIdeActivationMask) {
    case iaPlain:
    case iaPlainToo:
    case iaEnumerated: return ide.SyncIDE(file.c_str(), line, start, stop);
    case iaMdi: return DispatchMDI(ide, file, line, start, stop);
    case iaEditClass: {
      const std::string editClass = ide.EditClass();
      if (editClass.empty()) return false;
      HWND editor = ::FindWindowA(editClass.c_str(), nullptr);
      if (!editor) return false;
      RestoreWindow(editor);
      BringForward(editor);
      return ide.SyncIDE(file.c_str(), line, start, stop);
    }
    default: return false;
  }
}

void TIDEMgr::OpenInIDE(const std::string& file, int line, int start, int stop) {
  if (ides_.empty()) return;
  WriteTransferInfo(file, line, start, stop);
  TGrepIDE* chosen = nullptr;
  if (AutoSearch) {
    for (auto& ide : ides_)
      if (ide->IsEnabled() && ActivateIDE(ide.get())) {
        chosen = ide.get();
        break;
      }
  } else if (ActivateIDE(FirstIDE())) {
    chosen = FirstIDE();
  }
  if (chosen) {
    Dispatch(*chosen, file, line, start, stop);
    return;
  }
  if (AutoSearch)
    ui_.Inform("No IDE's were found running. Start an IDE and try again.");
  else
    ui_.Inform(FirstIDE()->Description() + " was not found running. Start the IDE and try again.");
}

}  // namespace qrx
