#pragma once
// Records message boxes and beeps instead of showing them, for the scope.
#include "winlib/MsgBox.h"

#include <string>
#include <vector>

namespace qrx::test {

class UiRecorder {
 public:
  explicit UiRecorder(int answer = IDOK) {
    oldMsg_ = SetMessageSink([this, answer](const MessageRequest& r) {
      Boxes.push_back(r);
      return answer;
    });
    oldBeep_ = SetBeepSink([this](UINT) { ++Beeps; });
  }
  UiRecorder(const UiRecorder&) = delete;
  UiRecorder& operator=(const UiRecorder&) = delete;
  ~UiRecorder() {
    SetMessageSink(oldMsg_);
    SetBeepSink(oldBeep_);
  }
  void Clear() {
    Boxes.clear();
    Beeps = 0;
  }
  std::vector<MessageRequest> Boxes;
  int Beeps = 0;

 private:
  MessageSink oldMsg_;
  BeepSink oldBeep_;
};

}  // namespace qrx::test
