#include "tools/QrxFindArgs.h"

#include "shared/TextTools.h"

#include <cerrno>
#include <cstdlib>

namespace {


// Decimal or 0x hexadecimal, the whole text, within [lo, hi].
bool ParseNumber(const std::string& text, long long lo, long long hi, long long& value) {
  if (text.empty()) return false;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* begin = text.c_str() + (hex ? 2 : 0);
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(begin, &end, hex ? 16 : 10);
  return errno == 0 && end != begin && *end == '\0' && value >= lo && value <= hi;
}

}  // namespace

const char* QrxFindUsage() {
  return "Usage: qrxfind [/DIR=dir] [/MASK=masks] [/EXPR=0|1|2] [/OPT=n] [/KIND=0|2|3]\r\n"
         "               [/MAXLINES=n] [/SAVE=file] [/LOAD=file]\r\n"
         "               [/REPLACE=text [/BACKUP=0|1|2] [/ASK]] text...\r\n"
         "  /DIR=      start directory (default: the current directory)\r\n"
         "  /MASK=     file masks separated by ';' (default: *.*)\r\n"
         "  /EXPR=     0 standard text, 1 regular expression (default), 2 DOS wildcards\r\n"
         "  /OPT=      option bits, decimal or 0x hexadecimal (default 0x001F):\r\n"
         "             0x0001 line numbers, 0x0002 file lines, 0x0004 full paths,\r\n"
         "             0x0008 match counts, 0x0010 subdirectories, 0x0200 case sensitive,\r\n"
         "             0x0400 whole words, 0x0800 line start, 0x1000 line end\r\n"
         "  /KIND=     0 search (default), 2 form files (*.DFM), 3 binary\r\n"
         "  /MAXLINES= limit on result lines (default 16000)\r\n"
         "  /SAVE=     save the results to a file after the search\r\n"
         "  /LOAD=     load saved results first; without text, just print them\r\n"
         "  /REPLACE=  replace every occurrence of the text (plain text; /OPT= bits 0x0010,\r\n"
         "             0x0200, 0x0400, 0x0800, 0x1000 apply); empty deletes the occurrences\r\n"
         "  /BACKUP=   0 no backup (default), 1 numbered backups, 2 one backup, overwritten\r\n"
         "  /ASK       ask for each occurrence: r replace, s skip, k skip the rest of the file,\r\n"
         "             f replace the rest of the file, a replace all the rest, c cancel\r\n"
         "The words after the switches, joined by single blanks, are the search text.\r\n"
         "Exit status: the search's result code (0 found, 9 nothing found, 4 cancelled, ...),\r\n"
         "7 when a replace run had to leave a file as it was, above 10 on errors.\r\n";
}

bool ParseQrxFindArgs(const std::vector<std::string>& args, QrxFindArgs& out, std::string& error) {
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.empty() || a[0] != '/') break;
    long long n = 0;
    auto value = [&](size_t prefixLength) { return a.substr(prefixLength); };
    if (a == "/?" || qrx::StartsWithNoCase(a, "/HELP")) {
      out.ShowUsage = true;
      return true;
    } else if (qrx::StartsWithNoCase(a, "/DIR=")) {
      out.Directory = value(5);
    } else if (qrx::StartsWithNoCase(a, "/MASK=")) {
      out.Masks = value(6);
    } else if (qrx::StartsWithNoCase(a, "/EXPR=")) {
      if (!ParseNumber(value(6), 0, 2, n)) return error = "bad /EXPR= value: " + a, false;
      out.ExprKind = static_cast<uint8_t>(n);
    } else if (qrx::StartsWithNoCase(a, "/OPT=")) {
      if (!ParseNumber(value(5), 0, 0xFFFF, n)) return error = "bad /OPT= value: " + a, false;
      out.Options = static_cast<uint16_t>(n);
    } else if (qrx::StartsWithNoCase(a, "/KIND=")) {
      if (!ParseNumber(value(6), 0, 3, n) || n == 1) return error = "bad /KIND= value: " + a, false;
      out.Kind = static_cast<uint8_t>(n);
    } else if (qrx::StartsWithNoCase(a, "/MAXLINES=")) {
      if (!ParseNumber(value(10), 1, 0x7FFFFFFF, n)) return error = "bad /MAXLINES= value: " + a, false;
      out.MaxLines = static_cast<int32_t>(n);
    } else if (qrx::StartsWithNoCase(a, "/SAVE=")) {
      out.SaveFile = value(6);
      if (out.SaveFile.empty()) return error = "/SAVE= needs a file name", false;
    } else if (qrx::StartsWithNoCase(a, "/LOAD=")) {
      out.LoadFile = value(6);
      if (out.LoadFile.empty()) return error = "/LOAD= needs a file name", false;
    } else if (qrx::StartsWithNoCase(a, "/REPLACE=")) {
      out.Replace = true;
      out.ReplaceText = value(9);
    } else if (qrx::StartsWithNoCase(a, "/BACKUP=")) {
      if (!ParseNumber(value(8), 0, 2, n)) return error = "bad /BACKUP= value: " + a, false;
      out.BackupMode = static_cast<uint8_t>(n);
    } else if (a.size() == 4 && qrx::StartsWithNoCase(a, "/ASK")) {
      out.Ask = true;
    } else {
      return error = "unknown switch: " + a, false;
    }
  }
  for (size_t first = i; i < args.size(); ++i) {
    if (i > first) out.Text += ' ';
    out.Text += args[i];
  }
  if (out.Text.empty() && out.LoadFile.empty()) return error = "no search text", false;
  if (!out.Replace && (out.Ask || out.BackupMode != 0)) return error = "/ASK and /BACKUP= go with /REPLACE=", false;
  if (out.Replace && (out.Text.empty() || out.Kind != 0))
    return error = "/REPLACE= needs a search text and cannot go with /KIND=", false;
  return true;
}
