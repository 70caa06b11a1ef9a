#pragma once
// A results tree in a window of its own for the GUI tests, and nodes found by their text;
// what it paints is read through CanvasSupport.h.
#include <cstdint>
#include <string>

#include "CanvasSupport.h"
#include "controls/GOutlineWindow.h"

namespace qrx::test {

// A top-level window with the outline as its only child.
class OutlineHost {
 public:
  OutlineHost(int width = 300, int height = 200);
  ~OutlineHost();
  OutlineHost(const OutlineHost&) = delete;
  OutlineHost& operator=(const OutlineHost&) = delete;

  HWND Handle() const { return host_; }
  void Focus();    // activates the host and gives the outline the keyboard focus
  void Unfocus();  // the host keeps the focus itself

  TGOutlineWindow Tree;

 private:
  HWND host_ = nullptr;
};

// Sends a key as the keyboard would, with Ctrl held or not.
void SendKey(TGOutlineWindow& tree, WORD key, bool ctrl = false);
void SendChar(TGOutlineWindow& tree, char c);
void SendMouse(TGOutlineWindow& tree, UINT message, int x, int y);

// The first node, in pre-order, whose stored text is `text`; nullptr when none.
TGOutlineNode* FindNode(TGCustomOutline& outline, const std::string& text);

// The width of a text in the control's font, as the control measures it.
int32_t TextPixels(TGOutlineWindow& tree, const std::string& text);

}  // namespace qrx::test
