#include "extdll/SendKeys.h"

#include "extdll/KeyNames.h"
#include "extdll/KeyString.h"
#include "winlib/MsgBox.h"
#include "winlib/Win.h"

namespace qrx {
namespace {

void SendKeyEvent(uint8_t key, bool up, bool processMessages) {
  DWORD flags = 0;
  if (InExtendedKeySet(key)) flags |= KEYEVENTF_EXTENDEDKEY;
  if (up) flags |= KEYEVENTF_KEYUP;
  ::keybd_event(key, static_cast<BYTE>(::MapVirtualKeyA(key, 0)), flags, 0);
  if (!processMessages) return;
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0x100, 0x108, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// Num Lock is a state, not a key to press: only the thread's own view of it flips.
void FlipNumLock() {
  const bool on = (::GetKeyState(VK_NUMLOCK) & 1) != 0;
  BYTE state[256];
  if (!::GetKeyboardState(state)) return;
  if (on)
    state[VK_NUMLOCK] &= static_cast<BYTE>(~1);
  else
    state[VK_NUMLOCK] |= 1;
  ::SetKeyboardState(state);
}

}  // namespace

bool SendKeyString(const char* text, bool processMessages) {
  if (!text) return false;
  TKeyPlan plan = ParseKeyString(text, [](char c) { return static_cast<int16_t>(::VkKeyScanA(c)); });
  for (const TKeyAction& a : plan.Actions) {
    switch (a.What) {
      case TKeyAction::Down: SendKeyEvent(a.Key, false, processMessages); break;
      case TKeyAction::Up: SendKeyEvent(a.Key, true, processMessages); break;
      case TKeyAction::NumLock: FlipNumLock(); break;
      case TKeyAction::Message: ShowCaptionedBox(nullptr, a.Text, "Quarrix", MsgKind::Plain, MB_OK); break;
    }
  }
  return plan.Complete;
}

}  // namespace qrx
