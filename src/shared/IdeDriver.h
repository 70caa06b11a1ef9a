#pragma once
// What crosses between the program and an extension DLL: a driver object's table of
// operations and the four exports. The table's layout is the interface, so both sides
// compile this one declaration: 22 slots in this order (the reserved ones included),
// all __stdcall, and no destructor in the table (the DLL destroys its own objects).
// Texts a driver returns stay owned by it; no exception and no C++ library type crosses.
#include "winlib/Win.h"

namespace qrx {

// How the program brings an IDE forward before handing it a match (GetIDEType). Only the
// low seven bits are the style: drivers may set the top bit of the byte, which the program
// ignores. Style 4 is handled as plain.
enum TIdeActivation : int { iaPlain = 0, iaMdi = 1, iaEditClass = 2, iaEnumerated = 3, iaPlainToo = 4 };
constexpr int kIdeActivationMask = 0x7F;

class TBaseIDE {
 public:
  virtual BOOL __stdcall StartsItself() = 0;                                          // 0
  virtual BOOL __stdcall ActivateWindow(HWND window) = 0;                             // 1
  virtual int __stdcall Reserved2() = 0;                                              // 2
  virtual BOOL __stdcall Reserved3() = 0;                                             // 3
  virtual const char* __stdcall GetAppClass() = 0;                                    // 4
  virtual const char* __stdcall GetAppText() = 0;                                     // 5
  virtual const char* __stdcall GetEditClass() = 0;                                   // 6
  virtual int __stdcall GetIDEType() = 0;                                             // 7
  virtual BOOL __stdcall CanInstall() = 0;                                            // 8
  virtual BOOL __stdcall IsInstalled() = 0;                                           // 9
  virtual BOOL __stdcall Install() = 0;                                               // 10
  virtual BOOL __stdcall Uninstall() = 0;                                             // 11
  virtual BOOL __stdcall Reserved12() = 0;                                            // 12
  virtual BOOL __stdcall IsIDEReady() = 0;                                            // 13
  virtual BOOL __stdcall SyncIDE(const char* file, int line, int start, int stop) = 0;  // 14
  virtual BOOL __stdcall Load() = 0;                                                  // 15
  virtual const char* __stdcall GetDescription() = 0;                                 // 16
  virtual HBITMAP __stdcall GetBitmap() = 0;                                          // 17
  virtual BOOL __stdcall Save() = 0;                                                  // 18
  virtual BOOL __stdcall OpenFile(const char* file) = 0;                              // 19
  virtual BOOL __stdcall GotoLine(int line) = 0;                                      // 20
  virtual BOOL __stdcall SelectMatch(int start, int stop) = 0;                        // 21

 protected:
  ~TBaseIDE() = default;
};

// The exports, looked up by these names.
using QuarxInitProc = BOOL(__stdcall*)();
using QuarxIDECountProc = int(__stdcall*)();
using QuarxCreateIDEProc = TBaseIDE*(__stdcall*)(int index, HWND parent);
using QuarxDestroyIDEProc = BOOL(__stdcall*)(TBaseIDE* ide);

// The transfer file's section and keys an open hands to an add-in or the maker's editor.
inline constexpr const char* kTransferSection = "TRANSFER";

}  // namespace qrx
