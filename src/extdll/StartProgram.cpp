#include "extdll/StartProgram.h"

#include "extdll/DllContext.h"
#include "shared/TextTools.h"
#include "winlib/Handles.h"

namespace qrx {

bool StartProgram(const std::string& commandLine) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string cmd = commandLine;  // the call may write into its command line
  if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    DriverErrorBox("Error Starting Editor: " + commandLine + ".\r" + StartErrorText(::GetLastError(), "Path was not found to EXE."));
    return false;
  }
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  return ::WaitForInputIdle(process.get(), 4000) == 0;
}

}  // namespace qrx
