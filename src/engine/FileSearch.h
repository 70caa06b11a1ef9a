#pragma once
// One run of a search over a directory tree: walks the directories, picks the files that
// match the masks and the optional advanced criteria, reads them as lines, matches each
// line and hands the results to the results tree.
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/DosTime.h"
#include "engine/LineMatcher.h"
#include "engine/MaskList.h"
#include "engine/ReplaceFiles.h"
#include "engine/SearchKinds.h"
#include "engine/SearchResultList.h"
#include "engine/TextReader.h"
#include "winlib/Win.h"

class TGCustomOutline;

// The advanced search dialog's record; sizes in kilobytes there, in bytes once stored.
struct AdvancedCriteria {
  int32_t DateKind = 0;  // 0 any, 1 before Date1, 2 after Date1, 3 between
  double Date1 = 0;
  double Date2 = 0;
  int32_t SizeKind = 0;  // 0 any, 1 smaller than Size1, 2 larger, 3 between
  int32_t Size1 = 0;
  int32_t Size2 = 0;
  uint32_t Attributes = 0;  // 1 read-only, 2 hidden, 4 system, 32 archive
};

// The stop signal: its Reason becomes the run's result code.
class EStopSearch : public std::runtime_error {
 public:
  EStopSearch(const std::string& message, uint8_t reason) : std::runtime_error(message), Reason(reason) {}
  uint8_t Reason;
};

class TFileSearchObj;
using TSearchProgressEvent =
    std::function<void(TFileSearchObj* sender, int32_t matches, int32_t filesWithMatches,
                       int32_t filesSearched, const std::string& fileName, bool& cancel)>;
using TReplaceProgressEvent =
    std::function<void(TFileSearchObj* sender, int32_t matches, int32_t replacements, int32_t filesChanged,
                       int32_t filesSearched, const std::string& fileName, bool& cancel)>;
// Asks what to do with one occurrence; action enters as the replace mode implies it and
// leaves as a TReplaceAction. replaceText is the request's own: a change holds for the rest
// of the run.
using TConfirmReplaceEvent =
    std::function<void(TFileSearchObj* sender, const std::string& previewFile, uint8_t& action,
                       std::string& replaceText, const std::string& searchText, int32_t matchStart,
                       int32_t matchStop, int32_t lineNumber, const std::string& fileName)>;

// The answers for one occurrence of a replace run.
enum : uint8_t {
  raCancel = 0,
  raSkip = 1,
  raSkipFile = 2,
  raReplace = 3,
  raReplaceFile = 4,
  raReplaceAll = 5,
};

// A file a replace run had to leave as it was, and why.
struct TUnchangedFile {
  std::string FileName;
  std::string Reason;
  bool Failed = true;  // a rewrite was tried and did not succeed (not a file passed over)
};

class TFileSearchObj {
 public:
  explicit TFileSearchObj(TGCustomOutline& tree);
  ~TFileSearchObj();
  TFileSearchObj(const TFileSearchObj&) = delete;
  TFileSearchObj& operator=(const TFileSearchObj&) = delete;

  void SetCriteria(const AdvancedCriteria& criteria);
  uint8_t Execute();
  int32_t Elapsed() const;

  // Matching on this request's prepared pattern.
  bool CompileExpression(const std::string& pattern);
  std::string CaseAdjust(const std::string& line);
  bool MatchLine(const std::string& line, int32_t& matchStart, int32_t& matchStop);

  // Files that were chosen but could not be opened (locked, gone, denied): passed over.
  const std::vector<std::string>& UnopenedFiles() const { return unopened_; }
  // Replace runs: files with occurrences that were not rewritten, each with the reason.
  const std::vector<TUnchangedFile>& UnchangedFiles() const { return unchanged_; }

  // Request
  std::string Masks;
  std::string EnteredText;
  std::string SearchText;
  std::string ReplaceText;
  std::string Directory;
  int32_t MaxLines = 16000;
  int32_t MaxFiles = -1;
  uint16_t Options = optLineNumbers | optFileLines | optFullPaths;
  uint8_t SearchKind = 0;
  uint8_t ExprKind = ekRegExp;
  uint8_t ReplaceMode = 0;
  uint8_t BackupMode = 0;
  std::unique_ptr<AdvancedCriteria> Criteria;
  int32_t ProgressInterval = 500;
  int32_t ReaderBufferSize = 4096;
  // Bytes one read of a file asks for; 0 for the reader's default.
  uint32_t ReadBlockSize = 0;
  // Searches look for the text over whole read blocks and split lines only where they must;
  // false sends every line through the line reader one at a time, as replace runs do.
  bool BlockScan = true;
  // The scratch file form files are converted into (kind 2), and replace previews are
  // written through.
  std::string WorkFileName;
  // Where a replace run shows the file as it will be before asking about an occurrence.
  std::string PreviewFileName;

  // Run state
  TSearchResultList ResultList;
  TMaskList MaskList;
  uint32_t LastProgressTick = 0;
  uint32_t StartTick = 0;
  int32_t ElapsedTicks = 0;
  int32_t Matches = 0;
  int32_t FilesWithMatches = 0;
  int32_t Replacements = 0;
  int32_t FilesChanged = 0;
  int32_t FilesSearched = 0;
  int32_t MatchesInFile = 0;
  std::string CurrentFile;
  // The current file's name as the file system spells it: what is opened and rewritten.
  std::string FilePath;
  // Replace runs: every file processed and every backup made, by FilePath, so none is
  // taken up twice.
  std::set<std::string> ReplacedFiles;
  double FileDate = 0;
  int32_t FileSize = 0;
  int32_t LineNumber = 0;
  bool SkipRestOfFile = false;
  bool FileChanged = false;
  bool InputOpen = false;
  bool OutputOpen = false;
  std::string FormSourceName;
  long RegexHandle = 0;
  std::string ErrorMessage;
  bool LongNames = false;

  TSearchProgressEvent OnSearchProgress;
  TReplaceProgressEvent OnReplaceProgress;
  TConfirmReplaceEvent OnConfirmReplace;
  // Lets the user interface handle its pending messages (every 100 lines).
  std::function<void()> OnProcessMessages;

 private:
  // One directory on the way down from the start directory; its identity is asked for only
  // when a link could lead back to it.
  struct TPathStep {
    std::string Dir;
    bool Known = false;
    BY_HANDLE_FILE_INFORMATION Identity{};
  };
  void Walk(const std::string& dir, std::vector<TPathStep>& path);
  bool LeadsBack(const std::string& dir, std::vector<TPathStep>& path);
  static bool IsSubdirectory(const WIN32_FIND_DATAA& entry);
  bool PassesFilter(const WIN32_FIND_DATAA& entry) const;
  void SearchFile();
  bool OpenInput();
  void CloseInput() noexcept;
  void ProcessLine(std::string_view line, bool& firstMatch);
  void ReportMatch(std::string_view line, int32_t start, int32_t stop, bool& firstMatch);
  // The block scan (BlockSearch.cpp).
  void SearchBlocks(bool& firstMatch);
  bool ReadNextLine(std::string_view& line);
  // Replace runs (FileReplace.cpp).
  void ReplaceInFile();
  void ReplaceInLine(std::string_view line, uint64_t lineOffset);
  void ConfirmAndAct(uint64_t lineOffset, int32_t start, int32_t stop, int64_t& shift);
  void BuildPreview();
  void CommitFile();
  void ProgressCheck();
  void CheckLineLimit();
  void DetectLongNames();

  TGCustomOutline& tree_;
  qrx::TLineMatcher matcher_;
  TTextReader reader_;
  std::unique_ptr<TLocalFileTimes> localTimes_;
  std::vector<std::string> unopened_;
  std::vector<TUnchangedFile> unchanged_;
  std::vector<TFileEdit> edits_;  // the current file's replacements, in file order
  bool occurrenceSeen_ = false;   // the current file has had its first occurrence
  TReplaceTarget target_;
  std::vector<char> block_;  // the block scan's bytes: an unfinished line, then a new block
};
