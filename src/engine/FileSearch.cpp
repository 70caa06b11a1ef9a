#include "engine/FileSearch.h"

#include <cmath>

#include "outline/GOutline.h"
#include "engine/DosTime.h"
#include "engine/FormFile.h"
#include "engine/ResultNodes.h"
#include "kresh32/kresh32.h"
#include "shared/TextTools.h"

namespace {

constexpr DWORD kSkipWithoutCriteria =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY | 0x8 /* volume label */;
constexpr DWORD kSkipForReplace = kSkipWithoutCriteria | FILE_ATTRIBUTE_READONLY;


uint32_t Now() { return ::GetTickCount(); }

// The identity of a directory, whatever name or link leads to it.
bool DirectoryIdentity(const std::string& dir, BY_HANDLE_FILE_INFORMATION& info) {
  qrx::UniqueFile h(::CreateFileA(dir.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return h && ::GetFileInformationByHandle(h.get(), &info);
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

TFileSearchObj::TFileSearchObj(TGCustomOutline& tree) : ResultList(tree, *this), tree_(tree) {}

TFileSearchObj::~TFileSearchObj() { CloseInput(); }

void TFileSearchObj::SetCriteria(const AdvancedCriteria& criteria) {
  if (!Criteria) Criteria = std::make_unique<AdvancedCriteria>();
  *Criteria = criteria;
  Criteria->Size1 = criteria.Size1 * 1024;
  Criteria->Size2 = criteria.Size2 * 1024;
}

int32_t TFileSearchObj::Elapsed() const {
  if (ElapsedTicks > 0) return ElapsedTicks;
  return static_cast<int32_t>(Now() - StartTick);
}

bool TFileSearchObj::CompileExpression(const std::string& pattern) {
  std::string text = (Options & optCaseSensitive) ? pattern : qrx::UpperCase(pattern);
  long error = 0;
  RegexHandle = RegComp(text.c_str(), &error);
  char message[64];
  std::snprintf(message, sizeof message, "Error (%d) compiling Regular Expression.", static_cast<int>(error));
  ErrorMessage = message;
  return RegexHandle != 0;
}

std::string TFileSearchObj::CaseAdjust(const std::string& line) { return std::string(matcher_.CaseAdjust(line)); }

bool TFileSearchObj::MatchLine(const std::string& line, int32_t& matchStart, int32_t& matchStop) {
  return matcher_.MatchAdjusted(line, matchStart, matchStop);
}

void TFileSearchObj::DetectLongNames() {
  LongNames = false;
  if (Directory.size() < 4 || Directory[1] != ':') return;
  std::string root = Directory.substr(0, 3);
  DWORD maxLength = 0, flags = 0;
  if (::GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, &maxLength, &flags, nullptr, 0))
    LongNames = maxLength > 12;
}

uint8_t TFileSearchObj::Execute() {
  uint8_t code = rcFound;
  if (SearchText.empty()) code = rcNoText;
  if (Directory.empty()) code = rcNoDirectory;
  EnteredText = SearchText;
  DetectLongNames();

  if (SearchKind == skReplace) {
    ExprKind = ekStandard;
    ReplaceMode = 0;
  } else if (ExprKind == ekRegExp || ExprKind == ekDos) {
    if (ExprKind == ekDos) SearchText = qrx::ConvertDosPattern(SearchText);
    if (!CompileExpression(SearchText)) code = rcBadExpression;
  }

  if (SearchKind == skForm) Masks = "*.DFM";
  MaskList.Split(Masks);
  if (MaskList.Count() == 0) code = rcNoMask;

  if (!(Options & optCaseSensitive)) SearchText = qrx::UpperCase(SearchText);
  if (code != rcFound) return code;

  StartTick = Now();
  if (Directory.back() != '\\') Directory += '\\';
  ErrorMessage.clear();
  matcher_.Prepare(Options, ExprKind, SearchText, RegexHandle);
  unopened_.clear();
  unchanged_.clear();
  ReplacedFiles.clear();

  localTimes_ = std::make_unique<TLocalFileTimes>();
  try {
    ResultList.BeginSearch();
    std::vector<TPathStep> path;
    Walk(Directory, path);
    LastProgressTick = 0;
    ProgressCheck();
    if (Matches == 0) code = rcNothingFound;
  } catch (const EStopSearch& stop) {
    code = stop.Reason;
    ErrorMessage = stop.what();
  }
  CloseInput();
  ElapsedTicks = static_cast<int32_t>(Now() - StartTick);
  ResultList.EndSearch(code);
  return code;
}

void TFileSearchObj::Walk(const std::string& dir, std::vector<TPathStep>& path) {
  path.push_back(TPathStep{dir});
  struct PopGuard {
    std::vector<TPathStep>& path;
    ~PopGuard() { path.pop_back(); }
  } pop{path};

  // A mask that takes every entry lists the subdirectories too, which saves a second
  // enumeration of the directory (each one costs a call per entry).
  const bool walkSubdirs = (Options & optSubDirs) != 0;
  bool haveSubdirs = false;
  std::vector<std::pair<std::string, bool>> subdirs;  // name, reached through a link

  WIN32_FIND_DATAA entry;
  for (const std::string& mask : MaskList.Items()) {
    std::string pattern = dir + mask;
    const bool everything = mask == "*.*" || mask == "*";
    qrx::UniqueFind find(::FindFirstFileA(pattern.c_str(), &entry));
    if (everything) haveSubdirs = true;
    if (!find) continue;
    do {
      if (everything && walkSubdirs && IsSubdirectory(entry))
        subdirs.emplace_back(entry.cFileName, (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
      FilePath = dir + entry.cFileName;
      CurrentFile = qrx::AsciiLower(FilePath);
      FileDate = DosDateTimeToDateTime(localTimes_->DosPacked(entry.ftLastWriteTime));
      FileSize = entry.nFileSizeHigh ? INT32_MAX : static_cast<int32_t>(std::min<DWORD>(entry.nFileSizeLow, INT32_MAX));
      if (PassesFilter(entry)) {
        if (SearchKind == skReplace) {
          // A rewritten file, or a backup, may turn up again later in the enumeration.
          if (!ReplacedFiles.insert(FilePath).second) continue;
          target_ = TReplaceTarget{FilePath, (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow,
                                   entry.ftLastWriteTime};
        }
        LastProgressTick = 0;
        ProgressCheck();
        SearchFile();
      }
    } while (::FindNextFileA(find.get(), &entry));
  }

  if (!walkSubdirs) return;
  if (!haveSubdirs) {
    qrx::UniqueFind find(::FindFirstFileA((dir + "*.*").c_str(), &entry));
    if (find) {
      do {
        if (IsSubdirectory(entry))
          subdirs.emplace_back(entry.cFileName, (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
      } while (::FindNextFileA(find.get(), &entry));
    }
  }
  // No enumeration stays open across the recursion.
  for (const auto& [name, link] : subdirs) {
    std::string sub = dir + name + "\\";
    // A link (symbolic link, junction) may lead back to a directory on the way down, and
    // would recurse without end.
    if (link && LeadsBack(sub, path)) continue;
    Walk(sub, path);
  }
}

bool TFileSearchObj::LeadsBack(const std::string& dir, std::vector<TPathStep>& path) {
  BY_HANDLE_FILE_INFORMATION target{};
  if (!DirectoryIdentity(dir, target)) return true;  // cannot tell: better not enter
  for (TPathStep& step : path) {
    if (!step.Known) step.Known = DirectoryIdentity(step.Dir, step.Identity);
    if (step.Known && SameFile(step.Identity, target)) return true;
  }
  return false;
}

// Hidden and system directories are never entered, nor those whose name begins with ".".
bool TFileSearchObj::IsSubdirectory(const WIN32_FIND_DATAA& entry) {
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) && entry.cFileName[0] != '.';
}

bool TFileSearchObj::PassesFilter(const WIN32_FIND_DATAA& entry) const {
  const DWORD attr = entry.dwFileAttributes;
  if (SearchKind == skReplace) return (attr & kSkipForReplace) == 0;
  if (!Criteria) return (attr & kSkipWithoutCriteria) == 0;
  // A directory whose name matches a mask cannot be read as a text file.
  if (attr & (FILE_ATTRIBUTE_DIRECTORY | 0x8)) return false;

  const AdvancedCriteria& c = *Criteria;
  const double day = std::floor(FileDate);
  switch (c.DateKind) {
    case 1:
      if (!(day < std::floor(c.Date1))) return false;
      break;
    case 2:
      if (!(day > std::floor(c.Date1))) return false;
      break;
    case 3:
      if (!(std::floor(c.Date1) <= day && day <= std::floor(c.Date2))) return false;
      break;
    default:
      break;
  }
  const int64_t size = (static_cast<int64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  switch (c.SizeKind) {
    case 1:
      if (!(size < c.Size1)) return false;
      break;
    case 2:
      if (!(size > c.Size1)) return false;
      break;
    case 3:
      if (!(c.Size1 <= size && size <= c.Size2)) return false;
      break;
    default:
      break;
  }
  constexpr DWORD kTested =
      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const DWORD has = attr & kTested;
  return (has & ~c.Attributes) == 0;
}

bool TFileSearchObj::OpenInput() {
  CloseInput();
  if (SearchKind == skForm) {
    if (!ConvertFormFile(FilePath, WorkFileName)) return false;
    FormSourceName = CurrentFile;
    reader_.Assign(WorkFileName, ReaderBufferSize, ReadBlockSize);
  } else {
    // Opened by the name the folder gave: two names that differ only in case are two files.
    reader_.Assign(FilePath, ReaderBufferSize, ReadBlockSize);
  }
  if (!reader_.TryOpen()) {
    // Locked, denied or gone since the enumeration: passed over, remembered for the report.
    if (SearchKind != skForm) unopened_.push_back(CurrentFile);
    return false;
  }
  InputOpen = true;
  return true;
}

void TFileSearchObj::CloseInput() noexcept {
  reader_.Close();
  InputOpen = false;
}

void TFileSearchObj::SearchFile() {
  ++FilesSearched;
  if (MaxFiles >= 1 && FilesSearched >= MaxFiles) throw EStopSearch("Max. number of files exceeded.", rcFileLimit);
  bool firstMatch = true;
  SkipRestOfFile = false;
  FileChanged = false;
  if (!OpenInput()) return;
  if (SearchKind == skReplace) {
    ReplaceInFile();
    return;
  }
  // A run stopped inside the file still gives the file line the matches it shows.
  struct FileGuard {
    TFileSearchObj* self;
    const bool& firstMatch;
    ~FileGuard() {
      self->CloseInput();
      if (!firstMatch) self->ResultList.UpdateFileCount();
    }
  } guard{this, firstMatch};

  if (BlockScan) {
    SearchBlocks(firstMatch);
    // One file of a few long lines must not keep its size of memory for the rest of the run.
    if (block_.capacity() > (8u << 20)) std::vector<char>().swap(block_);
    return;
  }
  LineNumber = 0;
  std::string_view line;
  while (!reader_.Eof()) {
    ++LineNumber;
    if (ReadNextLine(line) && !SkipRestOfFile) ProcessLine(line, firstMatch);
  }
}

bool TFileSearchObj::ReadNextLine(std::string_view& line) {
  try {
    bool ok = reader_.ReadLine(line);
    // A line of one NUL byte is not a line: the next one takes its number.
    while (ok && line.size() == 1 && line[0] == '\0' && !reader_.Eof()) ok = reader_.ReadLine(line);
    return ok;
  } catch (const EInOutError&) {
    return false;  // the line is lost; the reader reports the end from here on
  }
}

void TFileSearchObj::ProcessLine(std::string_view line, bool& firstMatch) {
  if (LineNumber % 100 == 0 && OnProcessMessages) OnProcessMessages();
  int32_t start, stop;
  if (matcher_.Match(line, start, stop)) ReportMatch(line, start, stop, firstMatch);
}

void TFileSearchObj::ReportMatch(std::string_view line, int32_t start, int32_t stop, bool& firstMatch) {
  if (SearchKind == skBinary) {
    ProgressCheck();
    return;
  }
  if (firstMatch) {
    if (Options & optFileLines) ResultList.AddFile();
    MatchesInFile = 0;
    firstMatch = false;
    ++FilesWithMatches;
  }
  ++Matches;
  ++MatchesInFile;
  ResultList.AddMatch(line, LineNumber, start, stop);
  CheckLineLimit();
  ProgressCheck();
}

void TFileSearchObj::CheckLineLimit() {
  const int64_t lines = static_cast<int64_t>(tree_.ItemCount()) - static_cast<int64_t>(SearchNodes.size());
  if (lines >= MaxLines) throw EStopSearch("Max. number of matches exceeded.", rcLineLimit);
}

void TFileSearchObj::ProgressCheck() {
  const uint32_t now = Now();
  if (static_cast<int64_t>(now - LastProgressTick) <= ProgressInterval) return;
  bool cancel = false;
  if (SearchKind == skReplace) {
    if (OnReplaceProgress)
      OnReplaceProgress(this, Matches, Replacements, FilesChanged, FilesSearched, CurrentFile, cancel);
  } else if (OnSearchProgress) {
    OnSearchProgress(this, Matches, FilesWithMatches, FilesSearched, CurrentFile, cancel);
  }
  LastProgressTick = Now();
  if (cancel)
    throw EStopSearch(SearchKind == skReplace ? "Replace cancelled by user." : "Search cancelled by user.", rcCancelled);
}
