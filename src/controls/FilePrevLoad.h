#pragma once
// The preview's lines without a window: which window of lines around the target line to
// load, reading them through the line reader, and the state that lets showing the same
// line of the same file again skip the reload.
#include <cstdint>
#include <string>
#include <vector>

class TTextReader;

namespace qrx::preview {

// The reader's buffer for the preview; each read of the file asks for half of it, so the
// preview reads little beyond the last line it shows.
constexpr int32_t kBufferSize = 16384;
constexpr uint32_t kBlockSize = kBufferSize / 2;
// A line is kept up to this many characters: the pane cannot scroll sideways, and a
// file of one huge line must not be drawn whole on every paint.
constexpr size_t kMaxLineChars = 4096;

struct TPreviewLine {
  int32_t Number;    // 1-based line number in the file
  std::string Text;  // without its line end
};

// How many lines to load: enough to fill the view, and at least totalLines.
int32_t LoadCount(int32_t visibleRows, int32_t totalLines);
// First line to load so that the target sits in the middle of count lines.
int32_t FirstLine(int32_t target, int32_t count);
// The top row that puts the target in the middle of a view of visibleRows rows.
int32_t CentredTopIndex(int32_t targetIndex, int32_t visibleRows);

// Reads the next line, passing over lines of exactly one NUL byte (each such run
// belongs to the line after it). False when the file has no more lines.
bool ReadCountedLine(TTextReader& reader, std::string& line);

// Appends line first and up to count - 1 lines after it from an open reader. Nothing is
// added when the file ends before line first or before line target. The file's last line
// is left out when it is empty or one NUL, unless it is the target line. A read error
// propagates; the lines added before it stay in out.
void LoadLines(TTextReader& reader, int32_t first, int32_t count, int32_t target, std::vector<TPreviewLine>& out);

// The builder of the preview's message for a failed load: the text the user sees.
std::string PreviewErrorText(const std::string& fileName, const std::string& cause);

class TPreviewContent {
 public:
  int32_t TotalLines = 50;

  // Whether line of fileName (in any letter case) is the line already shown.
  bool Shows(const std::string& fileName, int32_t line) const;
  // Loads the window of lines around line of fileName for a view of visibleRows rows.
  // Answers false, loading nothing and keeping the old match range, when Shows(). Throws std::runtime_error with
  // PreviewErrorText when the file cannot be read; the lines read before stay.
  bool Show(const std::string& fileName, int32_t line, int32_t matchStart, int32_t matchStop,
            int32_t visibleRows);
  // Forgets the file, the target line, the match range and the lines.
  void Clear();

  const std::vector<TPreviewLine>& Lines() const { return lines_; }
  const std::string& FileName() const { return fileName_; }
  int32_t TargetLine() const { return targetLine_; }
  int32_t TargetIndex() const { return targetIndex_; }
  int32_t MatchStart() const { return matchStart_; }
  int32_t MatchStop() const { return matchStop_; }
  int32_t LoadedCount() const { return loadCount_; }

 private:
  std::vector<TPreviewLine> lines_;
  std::string fileName_;
  int32_t loadCount_ = 0;
  int32_t targetLine_ = 0;
  int32_t targetIndex_ = 0;
  int32_t matchStart_ = 0;
  int32_t matchStop_ = 0;
};

}  // namespace qrx::preview
