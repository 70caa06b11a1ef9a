#pragma once
// A temporary file of the system's temporary-file service, deleted when the owner ends.
#include <string>

class TTempFile {
 public:
  explicit TTempFile(const char* prefix);
  ~TTempFile();
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};
