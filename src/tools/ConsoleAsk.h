#pragma once
// Asking about each occurrence of a replace run on the console.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

// The action an answer line stands for: r replace, s skip, k skip the rest of the file,
// f replace the rest of the file, a replace all the rest, c cancel (either case, blanks
// around it allowed). Nothing for any other line.
std::optional<uint8_t> ReplaceAnswer(const std::string& line);

// Line lineNumber of a file as the search counts lines (a line of one NUL is not counted);
// empty when the file is shorter or cannot be read.
std::string ReadNumberedLine(const std::string& fileName, int32_t lineNumber);

// The line, then a line that marks columns start to stop (1-based) with carets; tabs in
// front of the mark stay tabs so the carets stand under the occurrence.
std::string MarkOccurrence(const std::string& line, int32_t start, int32_t stop);

// Shows the occurrence on out and reads answers from in until one means something; the end
// of the input cancels.
uint8_t AskOnConsole(std::FILE* in, std::FILE* out, const std::string& fileName, int32_t lineNumber,
                     const std::string& lineText, int32_t start, int32_t stop, const std::string& searchText,
                     const std::string& replaceText);
