#pragma once
// Owning wrappers for the platform's handles: one policy per handle kind,
// move-only, closed exactly once.
#include "winlib/Win.h"

#include <utility>

namespace qrx {

template <typename T, typename Traits>
class UniqueResource {
 public:
  UniqueResource() noexcept = default;
  explicit UniqueResource(T value) noexcept : value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueResource() { reset(); }

  T get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return Traits::Valid(value_); }
  T release() noexcept { return std::exchange(value_, Traits::Null()); }
  void reset(T value = Traits::Null()) noexcept {
    if (Traits::Valid(value_)) Traits::Close(value_);
    value_ = value;
  }
  // For functions that fill in a handle through a pointer.
  T* put() noexcept {
    reset();
    return &value_;
  }

 private:
  T value_ = Traits::Null();
};

struct FileHandleTraits {
  static HANDLE Null() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct KernelHandleTraits {
  static HANDLE Null() noexcept { return nullptr; }
  static bool Valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
  static HANDLE Null() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
struct RegKeyTraits {
  static HKEY Null() noexcept { return nullptr; }
  static bool Valid(HKEY h) noexcept { return h != nullptr; }
  static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct ModuleTraits {
  static HMODULE Null() noexcept { return nullptr; }
  static bool Valid(HMODULE h) noexcept { return h != nullptr; }
  static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};
template <typename G>
struct GdiTraits {
  static G Null() noexcept { return nullptr; }
  static bool Valid(G h) noexcept { return h != nullptr; }
  static void Close(G h) noexcept { ::DeleteObject(h); }
};

using UniqueFile = UniqueResource<HANDLE, FileHandleTraits>;      // CreateFile
using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;  // semaphores, processes
using UniqueFind = UniqueResource<HANDLE, FindHandleTraits>;
using UniqueHKey = UniqueResource<HKEY, RegKeyTraits>;
using UniqueModule = UniqueResource<HMODULE, ModuleTraits>;
template <typename G>
using UniqueGdi = UniqueResource<G, GdiTraits<G>>;

}  // namespace qrx

namespace qrx {

struct MenuTraits {
  static HMENU Null() noexcept { return nullptr; }
  static bool Valid(HMENU h) noexcept { return h != nullptr; }
  static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct AccelTraits {
  static HACCEL Null() noexcept { return nullptr; }
  static bool Valid(HACCEL h) noexcept { return h != nullptr; }
  static void Close(HACCEL h) noexcept { ::DestroyAcceleratorTable(h); }
};
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;    // menus not attached to a window
using UniqueAccel = UniqueResource<HACCEL, AccelTraits>;

struct GlobalTraits {
  static HGLOBAL Null() noexcept { return nullptr; }
  static bool Valid(HGLOBAL h) noexcept { return h != nullptr; }
  static void Close(HGLOBAL h) noexcept { ::GlobalFree(h); }
};
struct DcTraits {
  static HDC Null() noexcept { return nullptr; }
  static bool Valid(HDC h) noexcept { return h != nullptr; }
  static void Close(HDC h) noexcept { ::DeleteDC(h); }
};
using UniqueGlobal = UniqueResource<HGLOBAL, GlobalTraits>;  // GlobalAlloc, and what common dialogs hand over
using UniqueDC = UniqueResource<HDC, DcTraits>;              // CreateDC, CreateCompatibleDC; not GetDC

// The memory of a movable global block, locked for the scope.
template <typename T>
class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL h) noexcept : h_(h), p_(h ? static_cast<T*>(::GlobalLock(h)) : nullptr) {}
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  ~LockedGlobal() {
    if (p_) ::GlobalUnlock(h_);
  }
  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  HGLOBAL h_;
  T* p_;
};

}  // namespace qrx
