#include "app/Instance.h"

#include "app/Globals.h"

namespace qrx {

const char* const kMainWindowClass = "TKRESHForm";

bool FileExists(const std::string& file) {
  DWORD attr = ::GetFileAttributesA(file.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteTransfer(const std::string& file, const std::string& key, const std::string& value) {
  ::WritePrivateProfileStringA("TRANSFER", key.c_str(), value.c_str(), file.c_str());
}

std::string ReadTransfer(const std::string& file, const std::string& key, const std::string& fallback) {
  char buf[2048] = {};
  DWORD n = ::GetPrivateProfileStringA("TRANSFER", key.c_str(), fallback.c_str(), buf, sizeof buf, file.c_str());
  return std::string(buf, n);
}

bool HandOverToFirstCopy(bool hasArguments, UniqueHandle& marker) {
  marker.reset(::CreateSemaphoreA(nullptr, 0, 1, "Quarrix_Semaphore"));
  if (!marker || ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  marker.reset();
  HWND first = ::FindWindowA(kMainWindowClass, nullptr);
  if (!first) return false;  // the first copy has no window yet: start as an ordinary copy
  // The foreground is this copy's to give (the user just started it); without the grant
  // the first copy may not come to the front.
  DWORD firstProcess = 0;
  ::GetWindowThreadProcessId(first, &firstProcess);
  ::AllowSetForegroundWindow(firstProcess);
  ::SendMessageA(first, CM_QUARXRESTORE, 0, 0);
  bool sendText = false, sendDir = false;
  if (hasArguments) {
    UniqueFile create(::CreateFileA(TransferFileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    create.reset();
    // Writing through the profile functions creates the file when it is absent and
    // closes it before any send.
    if (!StartDirectory.empty()) {
      WriteTransfer(TransferFileName, "DIRECTORY", StartDirectory);
      sendDir = true;
    }
    if (!StartSearchText.empty()) {
      WriteTransfer(TransferFileName, "SEARCHTEXT", StartSearchText);
      sendText = true;
    }
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, TransferFileName.c_str());  // flush
  }
  if (sendText) ::SendMessageA(first, CM_QUARXSEARCHTEXT, 0, 0);
  if (sendDir) ::SendMessageA(first, CM_QUARXSETDIRECTORY, 0, 0);
  return true;
}

}  // namespace qrx
