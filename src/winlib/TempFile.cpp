#include "winlib/TempFile.h"

#include "winlib/Win.h"

TTempFile::TTempFile(const char* prefix) {
  char dir[MAX_PATH + 1] = {};
  char name[MAX_PATH + 1] = {};
  if (::GetTempPathA(sizeof dir, dir) && ::GetTempFileNameA(dir, prefix, 0, name)) name_ = name;
}

TTempFile::~TTempFile() {
  if (!name_.empty()) ::DeleteFileA(name_.c_str());
}
