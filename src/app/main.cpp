// Program entry: start-up, the single-instance hand-over, the main window and its loop.
#include "app/CommandLine.h"
#include "app/Globals.h"
#include "app/Grepmain.h"
#include "app/Instance.h"
#include "app/Settings.h"
#include "app/StartUp.h"
#include "winlib/Application.h"
#include "winlib/MsgBox.h"

#include <commctrl.h>

namespace {

// The temporary files and the transfer file go whichever way the process ends.
struct ShutDownGuard {
  ShutDownGuard() = default;
  ShutDownGuard(const ShutDownGuard&) = delete;
  ShutDownGuard& operator=(const ShutDownGuard&) = delete;
  ~ShutDownGuard() { qrx::ModuleShutDown(); }
};

int RunProgram() {
  using namespace qrx;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  std::string commandLine = ::GetCommandLineA();
  ModuleStartUp(commandLine);
  ShutDownGuard shutDown;
  AllowMultInstances = ReadAllowMultInstances(RegistryRoot);
  UniqueHandle marker;  // held for the whole life of the first copy
  if (!AllowMultInstances && HandOverToFirstCopy(!SplitArguments(commandLine).empty(), marker)) return 0;
  SetApplicationTitle("Quarrix");
  TKRESHForm form;
  form.FinishCreation();
  form.ShowMain();
  return Application().Run(form);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    return RunProgram();
  } catch (...) {
    qrx::ReportCurrentException();
    return 1;
  }
}
