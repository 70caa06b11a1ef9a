#pragma once
// The file side of replacing: the new content is the old file's bytes with the replaced
// occurrences swapped in, and it takes the old file's place only when it is complete.
// Whatever fails on the way, the old file keeps its bytes, attributes and date.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "winlib/Win.h"

// One replaced occurrence, placed in the bytes of the original file.
struct TFileEdit {
  uint64_t Offset = 0;
  uint32_t Length = 0;
  std::string Text;
};

// Copies source to target from the current positions to the end of source, with the edits
// (ascending, not overlapping) swapped in. False on a read or write failure.
bool CopyWithEdits(HANDLE source, HANDLE target, const std::vector<TFileEdit>& edits);

// The name the backup of name (in dir, which ends with "\") gets, or nothing when every
// name the scheme allows is taken. backupMode 1 picks the first free numbered name;
// mode 2 answers the one name that is overwritten each time.
std::optional<std::string> BackupFileName(const std::string& dir, const std::string& name, uint8_t backupMode,
                                          bool longNames, const std::function<bool(const std::string&)>& exists);

// The file as the walk found it: a file that differs from this when it is written back has
// been changed by someone else in the meantime.
struct TReplaceTarget {
  std::string Path;  // as the file system spells it
  uint64_t Size = 0;
  FILETIME LastWrite{};
};

struct TCommitResult {
  bool Replaced = false;
  std::string BackupName;  // full name of the backup made, if any
  std::string Problem;     // why the file was left as it was
};

// Writes the new content beside the file, flushes it, makes the backup copy, and only then
// puts the new content in the file's place in one step.
TCommitResult CommitReplacement(const TReplaceTarget& target, const std::vector<TFileEdit>& edits, uint8_t backupMode,
                                bool longNames);

// Writes source with the edits made so far into previewFile (through workFile when one is
// given). Throws std::runtime_error when the preview cannot be put in place.
void WriteReplacePreview(const std::string& source, const std::vector<TFileEdit>& edits, const std::string& workFile,
                         const std::string& previewFile);

// The system's text for an error code, without its line end.
std::string SystemErrorText(DWORD code);
