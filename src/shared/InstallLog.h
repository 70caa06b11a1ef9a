#pragma once
// INSTALL.LOG: a record of every registry value the program wrote to install itself,
// kept for whoever removes it later. The program only ever extends a log that is
// already there; it never creates one.
#include "winlib/Win.h"

#include <string>

namespace qrx {

extern const char* const kLogKeyTag;   // "RegDB Key: ", first line of a value record
extern const char* const kLogValTag;   // "RegDB Val: "
extern const char* const kLogNameTag;  // "RegDB Name: "
extern const char* const kLogRootTag;  // "RegDB Root: "
extern const char* const kLogTreeTag;  // "RegDB TREE: ", first line of a tree record

// HKEY_CLASSES_ROOT 0, HKEY_CURRENT_USER 1, HKEY_LOCAL_MACHINE 2, HKEY_USERS 3; no root
// (null) is the default root, HKEY_CURRENT_USER, so 1 as well.
int RootNumber(HKEY root);

class TInstallLog {
 public:
  explicit TInstallLog(std::string path) : path_(std::move(path)) {}
  // INSTALL.LOG in the running program's directory.
  static TInstallLog OfProgram();
  const std::string& Path() const { return path_; }

  // Whether a record starting with firstTag names this key under this root (and, for
  // value records, this value name); keys and names compare ignoring case.
  bool FindEntry(HKEY root, const std::string& firstTag, const std::string& key, const std::string& valueName) const;
  // Append a record unless the log lacks or already holds it.
  void AddValueEntry(HKEY root, const std::string& key, const std::string& data, const std::string& valueName) const;
  void AddTreeEntry(HKEY root, const std::string& key) const;

 private:
  void Append(const std::string& lines) const;

  std::string path_;
};

}  // namespace qrx
