// Replace runs: every occurrence of the search text is offered, replaced or left alone, and
// the file is written back with nothing changed but the replaced occurrences.
#include "engine/FileSearch.h"

namespace {

// An 8-bit replacement would tear UTF-16 text apart.
bool StartsWithUtf16Mark(std::string_view line) {
  return line.size() >= 2 && ((line[0] == '\xFF' && line[1] == '\xFE') || (line[0] == '\xFE' && line[1] == '\xFF'));
}

// Binary form files (with or without their resource header) are searched on the form tab
// and never rewritten as text.
bool IsBinaryForm(std::string_view line) {
  return line.substr(0, 4) == "TPF0" || (line.size() >= 2 && line[0] == '\xFF' && line[1] == '\x0A');
}

}  // namespace

void TFileSearchObj::ReplaceInFile() {
  edits_.clear();
  occurrenceSeen_ = false;
  OutputOpen = false;
  // Stopped or failed inside the file: nothing of it has been written, and nothing is.
  struct Discard {
    TFileSearchObj* self;
    ~Discard() {
      self->CloseInput();
      self->edits_.clear();
      self->OutputOpen = false;
      self->FileChanged = false;
    }
  } discard{this};

  LineNumber = 0;
  std::string_view line;
  bool firstLine = true;
  while (!reader_.Eof()) {
    ++LineNumber;
    const bool ok = ReadNextLine(line);
    if (firstLine) {
      firstLine = false;
      if (ok && reader_.LastLineOffset() == 0 && StartsWithUtf16Mark(line)) {
        unchanged_.push_back({CurrentFile, "it holds UTF-16 text, which is never rewritten", false});
        return;
      }
      if (ok && reader_.LastLineOffset() == 0 && IsBinaryForm(line)) {
        unchanged_.push_back({CurrentFile, "it is a binary form file, which is never rewritten", false});
        return;
      }
    }
    if (ok && !SkipRestOfFile) ReplaceInLine(line, reader_.LastLineOffset());
  }
  CloseInput();
  if (FileChanged) CommitFile();
}

void TFileSearchObj::ReplaceInLine(std::string_view line, uint64_t lineOffset) {
  if (LineNumber % 100 == 0 && OnProcessMessages) OnProcessMessages();
  // Occurrences are found in the line as read, so the anchors and word ends are judged as a
  // search judges them; shift maps a place in the read line to the line as changed so far.
  const std::string_view adjusted = matcher_.CaseAdjust(line);
  int64_t shift = 0;
  size_t from = 0;
  int32_t start, stop;
  while (!SkipRestOfFile && matcher_.FindOccurrence(adjusted, from, start, stop)) {
    ConfirmAndAct(lineOffset, start, stop, shift);
    ProgressCheck();
    from = static_cast<size_t>(stop);  // what was inserted is never searched again
  }
}

void TFileSearchObj::ConfirmAndAct(uint64_t lineOffset, int32_t start, int32_t stop, int64_t& shift) {
  uint8_t action = static_cast<uint8_t>(raReplace + ReplaceMode);
  const bool firstInFile = !occurrenceSeen_;
  const bool ask = OnConfirmReplace && (ReplaceMode == 0 || (ReplaceMode == 1 && firstInFile));
  if (ask) {
    BuildPreview();
    OnConfirmReplace(this, PreviewFileName, action, ReplaceText, EnteredText, static_cast<int32_t>(start + shift),
                     static_cast<int32_t>(stop + shift), LineNumber, CurrentFile);
  }
  if (firstInFile) {
    occurrenceSeen_ = true;
    MatchesInFile = 0;
    ++FilesWithMatches;
  }
  ++Matches;
  ++MatchesInFile;
  switch (action) {
    case raSkip:
      // A skip the user chose is a wish to decide again at the next occurrence, even
      // after "Replace File" in an earlier file.
      if (ask) ReplaceMode = 0;
      break;
    case raSkipFile:
      SkipRestOfFile = true;
      break;
    case raReplace:
    case raReplaceFile:
    case raReplaceAll: {
      const uint32_t length = static_cast<uint32_t>(stop - start + 1);
      edits_.push_back(TFileEdit{lineOffset + static_cast<uint64_t>(start - 1), length, ReplaceText});
      shift += static_cast<int64_t>(ReplaceText.size()) - length;
      ++Replacements;
      FileChanged = true;
      OutputOpen = true;
      ReplaceMode = static_cast<uint8_t>(action - raReplace);
      break;
    }
    default:  // raCancel, or an answer no button gives
      throw EStopSearch("Replace cancelled by user.", rcCancelled);
  }
}

void TFileSearchObj::BuildPreview() {
  OutputOpen = true;
  if (PreviewFileName.empty()) return;
  WriteReplacePreview(FilePath, edits_, WorkFileName, PreviewFileName);
}

void TFileSearchObj::CommitFile() {
  const TCommitResult result = CommitReplacement(target_, edits_, BackupMode, LongNames);
  if (!result.Replaced) {
    unchanged_.push_back({CurrentFile, result.Problem});
    return;
  }
  ++FilesChanged;
  if (!result.BackupName.empty()) ReplacedFiles.insert(result.BackupName);
}
