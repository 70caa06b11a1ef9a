// qrxfind: the search engine without a window, for scripts and for testing end to end.
// Runs one search into a results tree and writes the tree to standard output, one line per
// tree line: (level - 1) TABs, the line's text, CR LF.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "outline/GOutline.h"
#include "engine/FileSearch.h"
#include "engine/ResultNodes.h"
#include "engine/ResultTree.h"
#include "engine/SavedResults.h"
#include "engine/TextBuffer.h"
#include "tools/ConsoleAsk.h"
#include "tools/QrxFindArgs.h"
#include "winlib/TempFile.h"

namespace {

void WriteTree(TGCustomOutline& tree) {
  qrx::TTextBuffer out;
  for (TGOutlineNode* node = tree.FirstNode(); node; node = tree.NextNode(node)) {
    out.Append(static_cast<size_t>(node->Level() - 1), '\t');
    // The nodes answer for the texts; asking them directly spares a string per line.
    if (TBaseNode* result = ResultNodeOf(node))
      result->AppendDisplayText(out);
    else
      out.Append(node->Text());
    out.Append("\r\n", 2);
    if (out.Size() > (1 << 20)) {
      std::fwrite(out.Data(), 1, out.Size(), stdout);
      out.Clear();
    }
  }
  std::fwrite(out.Data(), 1, out.Size(), stdout);
  std::fflush(stdout);
}

int Run(int argc, char** argv) {
  QrxFindArgs args;
  std::string error;
  if (!ParseQrxFindArgs(std::vector<std::string>(argv + 1, argv + argc), args, error)) {
    if (!error.empty()) std::fprintf(stderr, "qrxfind: %s\n", error.c_str());
    std::fputs(QrxFindUsage(), stderr);
    return kUsageExitCode;
  }
  if (args.ShowUsage) {
    std::fputs(QrxFindUsage(), stdout);
    return 0;
  }
  _setmode(_fileno(stdout), _O_BINARY);

  auto owned = std::make_unique<TGREPOutline>();
  TGREPOutline& tree = *owned;
  BindResultTree(tree);
  int code = 0;
  if (!args.LoadFile.empty()) {
    std::string loadError;
    if (!LoadResults(tree, args.LoadFile, loadError)) {
      std::fprintf(stderr, "qrxfind: %s\n", loadError.c_str());
      return kLoadFailedExitCode;
    }
  }
  if (!args.Text.empty() || args.LoadFile.empty()) {
    TTempFile work("QZT");
    TTempFile preview("QZT");
    TFileSearchObj search(tree);
    search.Directory = args.Directory;
    search.Masks = args.Masks;
    search.SearchText = args.Text;
    search.ExprKind = args.ExprKind;
    search.Options = args.Options;
    search.SearchKind = args.Kind;
    search.MaxLines = args.MaxLines;
    search.WorkFileName = work.Name();
    if (args.Replace) {
      search.SearchKind = skReplace;
      search.ExprKind = ekStandard;
      search.Options = args.Options & kReplaceOptionBits;
      search.ReplaceText = args.ReplaceText;
      search.BackupMode = args.BackupMode;
      if (args.Ask) {
        search.PreviewFileName = preview.Name();
        search.OnConfirmReplace = [](TFileSearchObj*, const std::string& previewFile, uint8_t& action,
                                     std::string& replaceText, const std::string& searchText, int32_t start,
                                     int32_t stop, int32_t lineNumber, const std::string& fileName) {
          action = AskOnConsole(stdin, stderr, fileName, lineNumber, ReadNumberedLine(previewFile, lineNumber), start,
                                stop, searchText, replaceText);
        };
      }
    }
    code = search.Execute();
    if (args.Replace)
      std::fprintf(stderr, "Found : %d  Replaced : %d  Files changed : %d  Searched : %d  Time : %.1f s\n",
                   search.Matches, search.Replacements, search.FilesChanged, search.FilesSearched,
                   search.Elapsed() / 1000.0);
    else
      std::fprintf(stderr, "Found : %d  Files : %d  Searched : %d  Time : %.1f s\n", search.Matches,
                   search.FilesWithMatches, search.FilesSearched, search.Elapsed() / 1000.0);
    if (!search.ErrorMessage.empty()) std::fprintf(stderr, "%s\n", search.ErrorMessage.c_str());
    for (const std::string& name : search.UnopenedFiles()) std::fprintf(stderr, "Could not open: %s\n", name.c_str());
    for (const TUnchangedFile& file : search.UnchangedFiles()) {
      std::fprintf(stderr, "Not changed: %s: %s\n", file.FileName.c_str(), file.Reason.c_str());
      if (file.Failed && code == 0) code = kNotRewrittenExitCode;
    }
  }
  if (!args.SaveFile.empty()) {
    std::string saveError;
    if (!SaveResults(tree, args.SaveFile, saveError)) {
      std::fprintf(stderr, "qrxfind: %s\n", saveError.c_str());
      return kSaveFailedExitCode;
    }
  }
  WriteTree(tree);
  // The process ends here and its memory goes with it: taking a big tree apart row by row
  // would only add to the run's time. Every file is closed by now.
  static_cast<void>(owned.release());
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qrxfind: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "qrxfind: unexpected error\n");
  }
  return kFailureExitCode;
}
