#include "extdll/Drivers.h"

#include "extdll/DllContext.h"
#include "extdll/SendKeys.h"
#include "extdll/StartProgram.h"
#include "shared/RegRoutines.h"
#include "shared/TextTools.h"

#include <algorithm>

namespace qrx {
namespace {

const char* const kSection = "Editors";
// Templates are taken up to this many characters after their placeholder.
constexpr size_t kTailMax = 255;

// A top-level window of the class, any title; none for a class not known (a null class
// would match every window).
HWND FindClassWindow(const char* cls) { return cls && *cls ? ::FindWindowA(cls, nullptr) : nullptr; }

}  // namespace

std::string TIDE::ReadKey(const char* key, const char* fallback) const {
  char buf[2048] = {};
  ::GetPrivateProfileStringA(kSection, (prefix_ + key).c_str(), fallback, buf, sizeof buf, Dll().IniPath.c_str());
  return buf;
}

bool TIDE::Load() {
  if (!IsFile(Dll().IniPath)) {
    DriverErrorBox("Could not find Editor/IDE initialization file : " + Dll().IniPath);
    return false;
  }
  desc_ = ReadKey("Desc", "Unknown Editor/IDE");
  appClass_ = ReadKey("AppClass");
  appText_ = ReadKey("AppText");
  editClass_ = ReadKey("EditClass");
  open_ = ReadKey("Open");
  goto_ = ReadKey("Goto");
  openWithLFN_ = ::GetPrivateProfileIntA(kSection, (prefix_ + "OpenWithLFN").c_str(), 0, Dll().IniPath.c_str()) != 0;
  loaded_ = true;
  return true;
}

bool TIDE::Save() const {
  const std::string& ini = Dll().IniPath;
  auto put = [&](const char* key, const std::string& value) {
    return ::WritePrivateProfileStringA(kSection, (prefix_ + key).c_str(), value.c_str(), ini.c_str()) != FALSE;
  };
  return put("Desc", desc_) && put("AppClass", appClass_) && put("AppText", appText_) &&
         put("EditClass", editClass_) && put("Open", open_) && put("Goto", goto_) &&
         put("OpenWithLFN", openWithLFN_ ? "1" : "0");
}

HBITMAP TIDE::GetBitmap() const {
  if (!Dll().Module) return nullptr;
  std::string name = prefix_;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); });
  return ::LoadBitmapA(Dll().Module, name.c_str());
}

std::string TIDE::OpenCommand(const std::string& file) const {
  const size_t p = FindNoCase(open_, "#FILENAME#");
  if (file.empty() || p == std::string::npos) return "";
  const std::string name = openWithLFN_ ? file : ShortPathOf(file);
  // The quotes make the sender type the name literally: + ^ % ( ) ~ { are common in paths.
  return open_.substr(0, p) + "\"" + name + "\"" + open_.substr(p + 10, kTailMax);
}

std::string TIDE::GotoCommand(int line) const {
  const size_t p = FindNoCase(goto_, "#LINENUM#");
  if (p == std::string::npos) return "";
  return goto_.substr(0, p) + std::to_string(line) + goto_.substr(p + 9, kTailMax);
}

bool TIDE::OpenFile(const char* file) {
  if (!file || !*file || FindNoCase(open_, "#FILENAME#") == std::string::npos) return true;
  const bool ok = SendKeyString(OpenCommand(file).c_str(), true);
  if (!ok) DriverErrorBox("Error Opening file.");
  return ok;
}

bool TIDE::GotoLine(int line) {
  if (line <= 0 || goto_.empty()) return true;
  const bool ok = SendKeyString(GotoCommand(line).c_str(), true);
  if (!ok) DriverErrorBox("Error going to line number.");
  return ok;
}

bool TIDE::SyncIDE(const char* file, int line, int start, int stop) {
  return OpenFile(file) && GotoLine(line) && SelectMatch(start, stop);
}

bool TDelphi2IDE::Load() {
  if (!TIDE::Load()) return false;
  utilAppClass_ = ReadKey("Util_AppClass");
  utilAppText_ = ReadKey("Util_AppText");
  regKey_ = ReadKey("RegKey");
  return true;
}

std::unique_ptr<TAddinSetup> TDelphi2IDE::Addin() const {
  return std::make_unique<TDelphi2Addin>(regKey_, Dll().Directory());
}

HWND TDelphi2IDE::AddinWindow() const {
  return utilAppClass_.empty() ? nullptr : ::FindWindowA(utilAppClass_.c_str(), utilAppText_.c_str());
}

bool TDelphi2IDE::IsIDEReady() const { return AddinWindow() != nullptr; }

bool TDelphi2IDE::SyncIDE(const char*, int, int, int) {
  if (HWND addin = AddinWindow())
    ::PostMessageA(addin, Dll().OpenFileMessage, 0, 0);
  else
    DriverErrorBox("The Quarrix extension for " + Description() + " has not been installed.\r" +
                   "Install the extension and try again.");
  return true;
}

std::unique_ptr<TAddinSetup> TBC5IDE::Addin() const {
  return std::make_unique<TBC5Addin>(RegKey(), Dll().Directory());
}

bool TZephyxIDE::ActivateWindow(HWND window) {
  if (!window) {
    const char* const keys[] = {"Software\\MicroSoft\\Windows\\CurrentVersion\\App Paths\\ZEPHYX32.EXE",
                                "Software\\MicroSoft\\Windows\\CurrentVersion\\App Paths\\ZEPHYX.EXE"};
    std::string editorPath;
    for (const char* key : keys)
      if (RegReadString(HKEY_LOCAL_MACHINE, key, std::nullopt, editorPath) && !editorPath.empty()) break;
    if (editorPath.empty()) {
      DriverInfoBox("Start The Vortalis Editor and try again.");
      return false;
    }
    if (!StartProgram(editorPath)) return false;
    window = FindClassWindow(GetAppClass());
  }
  if (window) {
    ::PostMessageA(window, Dll().RestoreMessage, 0, 0);
    return true;
  }
  DriverErrorBox("Error Starting " + Description() + ".\r" + "Could not find window after initializing.");
  return false;
}

bool TZephyxIDE::SyncIDE(const char*, int, int, int) {
  if (HWND window = FindClassWindow(GetAppClass())) {
    ::PostMessageA(window, Dll().OpenFileMessage, 0, 0);
    return true;
  }
  DriverErrorBox("Error opening file in " + Description() + ".\r" + "Could not find window during call to OpenFile.");
  return false;
}

std::unique_ptr<TIDE> CreateDriver(int index) {
  std::unique_ptr<TIDE> ide;
  switch (index) {
    case 0: ide = std::make_unique<TIDE>("Custom_"); break;
    case 1: ide = std::make_unique<TZephyxIDE>("Zephyx_"); break;
    case 2: ide = std::make_unique<TMDIIDE>("BorCPP_4X_"); break;
    case 3: ide = std::make_unique<TIDE>("MSVC_1X_"); break;
    case 4: ide = std::make_unique<TDelphi1IDE>("Delphi_1X_"); break;
    case 5: ide = std::make_unique<TDelphi2IDE>("Delphi_2X_"); break;
    case 6: ide = std::make_unique<TIDE>("Codewright_3X_"); break;
    case 7: ide = std::make_unique<TIDE>("Codewright_4X_"); break;
    case 8: ide = std::make_unique<TMDIIDE>("MultiEdit_7X_"); break;
    case 9: ide = std::make_unique<TEnumIDE>("MSVC_4X_"); break;
    case 10: ide = std::make_unique<TBC5IDE>("BorCPP_5X_"); break;
    case 11: ide = std::make_unique<TMDIIDE>("BorCPP_4XG_"); break;
    case 12: ide = std::make_unique<TDelphi1IDE>("Delphi_1XG_"); break;
    case 13: ide = std::make_unique<TIDE>("VSlickEdit_1X_"); break;
    case 14: ide = std::make_unique<TDelphi2IDE>("Delphi_3X_"); break;
    case 15: ide = std::make_unique<TDelphi2IDE>("CBuilder_1X_"); break;
    case 16: ide = std::make_unique<TEnumIDE>("MSJPP_1X_"); break;
    case 17: ide = std::make_unique<TEnumIDE>("MSVC_5X_"); break;
    default: return nullptr;
  }
  ide->Load();
  return ide;
}

}  // namespace qrx
