#include "engine/ReplaceFiles.h"

#include <algorithm>
#include <stdexcept>

#include "engine/SearchKinds.h"
#include "winlib/Handles.h"

namespace {

// Moves bytes from one handle to another in large blocks.
class TBlockCopier {
 public:
  TBlockCopier(HANDLE source, HANDLE target) : source_(source), target_(target), buf_(1 << 16) {}

  // Copies (or, with write false, passes over) exactly count bytes; false when the source
  // ends first or a call fails.
  bool Move(uint64_t count, bool write) {
    while (count > 0) {
      const DWORD want = static_cast<DWORD>(std::min<uint64_t>(count, buf_.size()));
      DWORD got = 0;
      if (!::ReadFile(source_, buf_.data(), want, &got, nullptr) || got == 0) return false;
      if (write && !Write(buf_.data(), got)) return false;
      count -= got;
    }
    return true;
  }
  bool CopyRest() {
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(source_, buf_.data(), static_cast<DWORD>(buf_.size()), &got, nullptr)) return false;
      if (got == 0) return true;
      if (!Write(buf_.data(), got)) return false;
    }
  }
  // A short write (a full disk) is a failure, not a shorter file.
  bool Write(const char* data, size_t size) {
    while (size > 0) {
      DWORD done = 0;
      const DWORD part = static_cast<DWORD>(std::min<size_t>(size, 1u << 20));
      if (!::WriteFile(target_, data, part, &done, nullptr) || done == 0) return false;
      data += done;
      size -= done;
    }
    return true;
  }

 private:
  HANDLE source_;
  HANDLE target_;
  std::vector<char> buf_;
};

bool FileExists(const std::string& name) { return ::GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string LastErrorText() { return SystemErrorText(::GetLastError()); }

// Deletes a work file that did not take the original's place.
class TWorkFileGuard {
 public:
  explicit TWorkFileGuard(std::string name) : name_(std::move(name)) {}
  ~TWorkFileGuard() {
    if (!name_.empty()) ::DeleteFileA(name_.c_str());
  }
  void Release() { name_.clear(); }

 private:
  std::string name_;
};

uint64_t Size64(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

bool SameTime(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

}  // namespace

std::string SystemErrorText(DWORD code) {
  char buffer[512] = {};
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                             sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  if (text.empty()) text = "error " + std::to_string(code);
  return text;
}

bool CopyWithEdits(HANDLE source, HANDLE target, const std::vector<TFileEdit>& edits) {
  TBlockCopier copier(source, target);
  uint64_t pos = 0;
  for (const TFileEdit& edit : edits) {
    if (edit.Offset < pos) return false;  // overlapping edits: refuse rather than guess
    if (!copier.Move(edit.Offset - pos, true)) return false;
    if (!copier.Move(edit.Length, false)) return false;
    if (!copier.Write(edit.Text.data(), edit.Text.size())) return false;
    pos = edit.Offset + edit.Length;
  }
  return copier.CopyRest();
}

std::optional<std::string> BackupFileName(const std::string& dir, const std::string& name, uint8_t backupMode,
                                          bool longNames, const std::function<bool(const std::string&)>& exists) {
  if (longNames) {
    std::string b = dir + "Backup of " + name;
    if (backupMode != bmNumbered) return b;
    // A limit, so a folder full of backups ends the search for a name.
    for (int k = 2; exists(b); ++k) {
      if (k > 9999) return std::nullopt;
      b = dir + "Backup (" + std::to_string(k) + ") of " + name;
    }
    return b;
  }
  const size_t dot = name.rfind('.');
  std::string b = dir + (dot == std::string::npos ? name : name.substr(0, dot)) + ".QXB";
  if (backupMode != bmNumbered) return b;
  const std::string stem = name.substr(0, name.find('.'));
  // The counter is a byte: past 255 there is no name left that would not overwrite one.
  for (int k = 1; exists(b); ++k) {
    if (k > 255) return std::nullopt;
    const std::string digits = std::to_string(k);
    const std::string shortName = stem.size() + digits.size() < 9 ? stem : stem.substr(0, 8 - digits.size());
    b = dir + shortName + digits + ".QXB";
  }
  return b;
}

TCommitResult CommitReplacement(const TReplaceTarget& target, const std::vector<TFileEdit>& edits, uint8_t backupMode,
                                bool longNames) {
  TCommitResult result;
  const std::string& path = target.Path;
  const size_t slash = path.rfind('\\');
  const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = path.substr(dir.size());

  std::optional<std::string> backup;
  if (backupMode != bmNone) {
    backup = BackupFileName(dir, name, backupMode, longNames, FileExists);
    if (!backup) {
      result.Problem = "no free backup name is left";
      return result;
    }
  }

  char work[MAX_PATH + 1] = {};
  if (::GetTempFileNameA(dir.empty() ? "." : dir.c_str(), "qrx", 0, work) == 0) {
    result.Problem = "no work file can be created in its folder: " + LastErrorText();
    return result;
  }
  TWorkFileGuard workGuard(work);
  DWORD attributes = 0;
  {
    // Others may read while the new content is made, but not write: what is copied is
    // what was searched.
    qrx::UniqueFile source(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source) {
      result.Problem = "it cannot be read again: " + LastErrorText();
      return result;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(source.get(), &info) ||
        Size64(info.nFileSizeHigh, info.nFileSizeLow) != target.Size || !SameTime(info.ftLastWriteTime, target.LastWrite)) {
      result.Problem = "it was changed by another program while it was searched";
      return result;
    }
    attributes = info.dwFileAttributes;
    qrx::UniqueFile output(
        ::CreateFileA(work, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output) {
      result.Problem = "no work file can be written in its folder: " + LastErrorText();
      return result;
    }
    if (!CopyWithEdits(source.get(), output.get(), edits) || !::FlushFileBuffers(output.get())) {
      result.Problem = "the new content could not be written: " + LastErrorText();
      return result;
    }
    FILETIME created{};
    if (::GetFileTime(source.get(), &created, nullptr, nullptr)) ::SetFileTime(output.get(), &created, nullptr, nullptr);
  }

  if (backup && !::CopyFileA(path.c_str(), backup->c_str(), backupMode == bmNumbered)) {
    result.Problem = "the backup \"" + *backup + "\" could not be made: " + LastErrorText();
    return result;
  }
  constexpr DWORD kKept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  ::SetFileAttributesA(work, (attributes & kKept) ? (attributes & kKept) : FILE_ATTRIBUTE_NORMAL);
  // One step: either the new content stands under the name, or the old one still does.
  if (!::MoveFileExA(work, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    result.Problem = "it could not be replaced: " + LastErrorText();
    // A new numbered backup of a file that did not change would only mislead.
    if (backup && backupMode == bmNumbered) ::DeleteFileA(backup->c_str());
    return result;
  }
  workGuard.Release();
  result.Replaced = true;
  if (backup) result.BackupName = *backup;
  return result;
}

void WriteReplacePreview(const std::string& source, const std::vector<TFileEdit>& edits, const std::string& workFile,
                         const std::string& previewFile) {
  const std::string& written = workFile.empty() ? previewFile : workFile;
  {
    qrx::UniqueFile input(::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    qrx::UniqueFile output(::CreateFileA(written.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!input || !output || !CopyWithEdits(input.get(), output.get(), edits))
      throw std::runtime_error("Could not write preview file");
  }
  if (written == previewFile) return;
  ::DeleteFileA(previewFile.c_str());
  if (!::MoveFileExA(workFile.c_str(), previewFile.c_str(), MOVEFILE_REPLACE_EXISTING))
    throw std::runtime_error("Could not rename preview file");
}
