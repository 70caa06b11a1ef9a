#pragma once
// The command line of qrxfind: switches first, then the search text.
#include <cstdint>
#include <string>
#include <vector>

struct QrxFindArgs {
  std::string Directory = ".";
  std::string Masks = "*.*";
  uint8_t ExprKind = 1;
  uint16_t Options = 0x001F;
  uint8_t Kind = 0;
  int32_t MaxLines = 16000;
  std::string Text;
  std::string SaveFile;
  std::string LoadFile;
  bool ShowUsage = false;
  // /REPLACE=: a replace run (kind 1) with this text; /BACKUP= and /ASK go with it.
  bool Replace = false;
  std::string ReplaceText;
  uint8_t BackupMode = 0;
  bool Ask = false;
};

// The option bits a replace run takes from /OPT=.
constexpr uint16_t kReplaceOptionBits = 0x0010 | 0x0200 | 0x0400 | 0x0800 | 0x1000;

// Exit codes above the engine's result codes (0..10).
constexpr int kUsageExitCode = 11;
constexpr int kLoadFailedExitCode = 12;
constexpr int kSaveFailedExitCode = 13;
constexpr int kFailureExitCode = 14;
// A replace run that had to leave a file with occurrences as it was.
constexpr int kNotRewrittenExitCode = 7;

// False on a usage error (error then says what was wrong, or is empty when nothing was given).
bool ParseQrxFindArgs(const std::vector<std::string>& args, QrxFindArgs& out, std::string& error);
const char* QrxFindUsage();
