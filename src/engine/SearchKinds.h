#pragma once
// The values a search request, a saved search and the settings use: what a run does, how
// it reads the search text, what a replace run keeps of a changed file, the option bits
// and the result codes.
#include <cstdint>

// SearchKind: also the index of the main window's tab that starts such a run.
enum : uint8_t { skSearch = 0, skReplace = 1, skForm = 2, skBinary = 3 };
// ExprKind, and the stored "ExprType".
enum : uint8_t { ekStandard = 0, ekRegExp = 1, ekDos = 2 };
// BackupMode.
enum : uint8_t { bmNone = 0, bmNumbered = 1, bmOverwrite = 2 };

// Option bits of a request.
enum : uint16_t {
  optLineNumbers = 0x0001,
  optFileLines = 0x0002,
  optFullPaths = 0x0004,
  optMatchCounts = 0x0008,
  optSubDirs = 0x0010,
  optCaseSensitive = 0x0200,
  optWholeWords = 0x0400,
  optLineStart = 0x0800,
  optLineEnd = 0x1000,
};

// Result codes of Execute.
enum : uint8_t {
  rcFound = 0,
  rcNoMask = 1,
  rcNoText = 2,
  rcBadExpression = 3,
  rcCancelled = 4,
  rcLineLimit = 5,
  rcFileLimit = 6,
  rcIOError = 7,
  rcNoDirectory = 8,
  rcNothingFound = 9,
  rcTreeError = 10,
};
