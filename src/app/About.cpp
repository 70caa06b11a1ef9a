#include "app/About.h"

#include "app/Globals.h"
#include "app/Grepmain.h"
#include "app/Help.h"

#include <vector>

namespace qrx {

std::string ModuleVersion(const std::string& moduleFileName) {
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeA(moduleFileName.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!::GetFileVersionInfoA(moduleFileName.c_str(), 0, size, block.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || length < sizeof *info)
    return {};
  return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(info->dwFileVersionLS));
}

std::string LoadedModuleFile(const char* moduleName) {
  HMODULE module = moduleName ? ::GetModuleHandleA(moduleName) : nullptr;
  if (moduleName && !module) return {};
  char path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
  return std::string(path, n);
}

TdlgAbout::TdlgAbout(TForm* mainForm) : TdlgWin95Dlg(mainForm) {
  CreateDialogWindow("TdlgAbout", "About Quarrix", 420, 228);
  std::string regexFile = LoadedModuleFile("kresh32.dll");
  std::string regexVersion = regexFile.empty() ? std::string() : ModuleVersion(regexFile);
  lblProgram.Create(*this, "Quarrix");
  lblVersion.Create(*this, std::string("Version ") + QRX_VERSION);
  lblRegex.Create(*this, "Regular expressions: kresh32.dll " +
                             (regexFile.empty()      ? std::string("(not loaded)")
                              : regexVersion.empty() ? std::string("(no version)")
                                                     : "version " + regexVersion));
  lblProfile.Create(*this, "Settings: HKEY_CURRENT_USER\\" + RegistryRoot);
  lblHelp.Create(*this, "Help: " + HelpDirectory());
  btnOK.Create(*this, "OK");
  lblProgram.SetBounds(16, 14, 380, 28);
  lblVersion.SetBounds(16, 46, 380, 18);
  lblRegex.SetBounds(16, 70, 380, 18);
  lblProfile.SetBounds(16, 94, 380, 32);
  lblHelp.SetBounds(16, 130, 380, 32);
  btnOK.SetBounds(172, 168, 75, 25);
  SetDefaultButton(&btnOK);
  CancelButton = &btnOK;
  btnOK.OnClick = [this] { ModalResult = IDOK; };
}

void ShowAboutBox(TKRESHForm& form) {
  TdlgAbout about(&form);
  TKRESHForm::TopmostSuspended topmost(form);
  about.ShowModal();
}

}  // namespace qrx
