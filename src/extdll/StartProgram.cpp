#include "extdll/StartProgram.h"

#include "extdll/DllContext.h"
#include "winlib/Handles.h"

namespace qrx {

std::string StartErrorText(unsigned long code) {
  switch (code) {
    case 0: return "System was out of memory, executable file was corrupt, or relocations were invalid.";
    case 2:
    case 3: return "Path was not found to EXE.";
    case 5:
      return "Attempt was made to dynamically link to a task, or there was a sharing or network-protection error.";
    case 6: return "Library required separate data segments for each task.";
    case 8: return "There was insufficient memory to start the application.";
    case 10: return "Windows version was incorrect.";
    case 11: return "Executable file was invalid. Either not a Windows application or error in the .EXE image.";
    case 14: return "Type of executable file was unknown.";
    case 20: return "DLL file was invalid. One of the DLLs required to run this application was corrupt.";
    default: return "Other error(" + std::to_string(code) + ")";
  }
}

bool StartProgram(const std::string& commandLine) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string cmd = commandLine;  // the call may write into its command line
  if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    DriverErrorBox("Error Starting Editor: " + commandLine + ".\r" + StartErrorText(::GetLastError()));
    return false;
  }
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  return ::WaitForInputIdle(process.get(), 4000) == 0;
}

}  // namespace qrx
