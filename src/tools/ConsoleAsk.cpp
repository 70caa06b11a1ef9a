#include "tools/ConsoleAsk.h"

#include "engine/FileSearch.h"
#include "engine/LineMatcher.h"
#include "engine/TextReader.h"

std::optional<uint8_t> ReplaceAnswer(const std::string& line) {
  const std::string word = qrx::TrimText(line);
  if (word.size() != 1) return std::nullopt;
  switch (word[0] | 0x20) {
    case 'r': return raReplace;
    case 's': return raSkip;
    case 'k': return raSkipFile;
    case 'f': return raReplaceFile;
    case 'a': return raReplaceAll;
    case 'c': return raCancel;
    default: return std::nullopt;
  }
}

std::string ReadNumberedLine(const std::string& fileName, int32_t lineNumber) {
  TTextReader reader;
  reader.Assign(fileName, 16384);
  if (!reader.TryOpen()) return {};
  std::string_view line;
  try {
    for (int32_t n = 1; !reader.Eof(); ++n) {
      bool ok = reader.ReadLine(line);
      while (ok && line.size() == 1 && line[0] == '\0' && !reader.Eof()) ok = reader.ReadLine(line);
      if (!ok) break;
      if (n == lineNumber) return std::string(line);
    }
  } catch (const EInOutError&) {
  }
  return {};
}

std::string MarkOccurrence(const std::string& line, int32_t start, int32_t stop) {
  std::string out = line + "\n";
  for (int32_t i = 1; i < start && static_cast<size_t>(i) <= line.size(); ++i)
    out += line[static_cast<size_t>(i - 1)] == '\t' ? '\t' : ' ';
  out.append(static_cast<size_t>(stop >= start ? stop - start + 1 : 1), '^');
  return out + "\n";
}

uint8_t AskOnConsole(std::FILE* in, std::FILE* out, const std::string& fileName, int32_t lineNumber,
                     const std::string& lineText, int32_t start, int32_t stop, const std::string& searchText,
                     const std::string& replaceText) {
  std::fprintf(out, "%s(%d):\n%s", fileName.c_str(), static_cast<int>(lineNumber),
               MarkOccurrence(lineText, start, stop).c_str());
  for (;;) {
    std::fprintf(out, "Replace \"%s\" with \"%s\"? [r]eplace [s]kip s[k]ip file replace [f]ile replace [a]ll [c]ancel: ",
                 searchText.c_str(), replaceText.c_str());
    std::fflush(out);
    std::string answer;
    int c;
    while ((c = std::fgetc(in)) != EOF && c != '\n') answer += static_cast<char>(c);
    if (c == EOF && answer.empty()) {
      std::fprintf(out, "\n");
      return raCancel;  // nobody left to answer: nothing more is changed
    }
    if (std::optional<uint8_t> action = ReplaceAnswer(answer)) return *action;
  }
}
