#pragma once
// The interactive replace dialog: shows the file around one occurrence as it will look,
// the search text and an editable replacement text, and waits for one of six answers. It
// stays on screen for the whole run, inert between two questions.
#include "controls/FilePrev.h"
#include "winlib/Controls.h"
#include "winlib/Form.h"
#include "winlib/Panels.h"

#include <cstdint>
#include <string>

namespace qrx {

// What one question shows.
struct TReplacePrompt {
  std::string PreviewFile;  // the file as it will be, with the replacements made so far
  int32_t LineNumber = 0;
  int32_t MatchStart = 0, MatchStop = 0;
  std::string FileName;  // shown in the caption
  std::string SearchText;
  std::string ReplaceText;
};

class TdlgReplaceText : public TForm {
 public:
  static constexpr int kDesignWidth = 636, kDesignHeight = 420;
  static constexpr int kMinWidth = 636, kMinHeight = 184;

  explicit TdlgReplaceText(HWND owner);

  // Shows the prompt and waits for an answer; returns the action (0 cancel .. 5 replace
  // all), and replaceText becomes what the box holds then.
  uint8_t Ask(const TReplacePrompt& prompt, std::string& replaceText);
  // Controls usable (waiting for an answer) or inert (the run works on).
  void SetPromptEnabled(bool enabled);
  // Hidden, with nothing in its preview: the state between two runs.
  void Retire();

  TFilePreview lbxFilePreview;
  TPanel pnlButtons;
  TLabel lblPrompt;
  TEdit edtReplaceTxt;
  TCheckBox chkLineNums;
  TButton btnReplaceOne, btnReplaceFile, btnSkipOne, btnSkipFile, btnReplaceAll, btnCancel;
  uint8_t Action = 0;

 protected:
  void Resize() override;
  bool CloseQuery() override;

 private:
  void Answer(uint8_t action);
  void LayoutButtons();
  void chkLineNumsClick();
};

// The stored bounds made usable: at least the minimum size, and on the screen.
RECT ReplaceDialogBounds(int left, int top, int width, int height, const RECT& workArea);

}  // namespace qrx
