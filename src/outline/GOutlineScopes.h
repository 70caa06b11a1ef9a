#pragma once
// Scopes every public entry of the outline runs in (private to the control's sources).
#include "outline/GOutline.h"

// Keeps nodes that were taken out of the tree allocated until the outermost call
// returns: event handlers may delete nodes the caller still holds.
class TGCustomOutline::TOpScope {
 public:
  explicit TOpScope(TGCustomOutline& outline) : FOutline(outline) { ++FOutline.FOpDepth; }
  ~TOpScope() {
    if (--FOutline.FOpDepth == 0) FOutline.ReleaseGraveyard();
  }
  TOpScope(const TOpScope&) = delete;
  TOpScope& operator=(const TOpScope&) = delete;

 private:
  TGCustomOutline& FOutline;
};

// Holds the window hooks back while many nodes change, then calls each due hook once.
class TGCustomOutline::TBatchScope {
 public:
  explicit TBatchScope(TGCustomOutline& outline) : FOutline(outline) { ++FOutline.FBatchDepth; }
  ~TBatchScope() {
    if (--FOutline.FBatchDepth == 0) {
      try {
        FOutline.FlushHooks();
      } catch (const std::exception& e) {
        FOutline.ShowError(e.what());
      } catch (...) {
        FOutline.ShowError("Unknown error");
      }
    }
  }
  TBatchScope(const TBatchScope&) = delete;
  TBatchScope& operator=(const TBatchScope&) = delete;

 private:
  TGCustomOutline& FOutline;
};
