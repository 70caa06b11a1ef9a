#pragma once
// The editor and IDE drivers inside the extension DLL. What differs between products is
// data (window classes, titles, keystroke templates) read from EDITORS.INI under the
// driver's key prefix; the classes differ only in how they reach the editor.
#include "extdll/AddinSetup.h"
#include "shared/IdeDriver.h"
#include "winlib/Win.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace qrx {

// An operation the driver does not offer; the program never calls one.
class EAbstractOperation : public std::logic_error {
 public:
  EAbstractOperation() : std::logic_error("Abstract operation") {}
};

// A driver that types its commands into the editor.
class TIDE {
 public:
  explicit TIDE(std::string prefix) : prefix_(std::move(prefix)) {}
  virtual ~TIDE() = default;
  TIDE(const TIDE&) = delete;
  TIDE& operator=(const TIDE&) = delete;

  virtual bool StartsItself() const { return false; }
  virtual bool ActivateWindow(HWND) { throw EAbstractOperation(); }
  // Null until the driver has loaded its entry once.
  const char* GetAppClass() const { return Text(appClass_); }
  const char* GetAppText() const { return Text(appText_); }
  const char* GetEditClass() const { return Text(editClass_); }
  const char* GetDescription() const { return Text(desc_); }
  virtual int GetIDEType() const { return iaPlain; }
  virtual bool CanInstall() const { return false; }
  virtual bool IsInstalled() const { return true; }
  virtual bool Install() { throw EAbstractOperation(); }
  virtual bool Uninstall() { throw EAbstractOperation(); }
  virtual bool IsIDEReady() const { return true; }
  // Opens the file (none: it is open already), goes to the line and selects the match.
  virtual bool SyncIDE(const char* file, int line, int start, int stop);
  virtual bool Load();
  HBITMAP GetBitmap() const;
  bool Save() const;
  bool OpenFile(const char* file);
  bool GotoLine(int line);
  bool SelectMatch(int, int) { return true; }

  const std::string& Prefix() const { return prefix_; }
  // The key strings OpenFile and GotoLine would type, or nothing to type.
  std::string OpenCommand(const std::string& file) const;
  std::string GotoCommand(int line) const;

 protected:
  std::string ReadKey(const char* key, const char* fallback = "") const;
  const std::string& Description() const { return desc_; }

 private:
  const char* Text(const std::string& s) const { return loaded_ ? s.c_str() : nullptr; }

  std::string prefix_;
  bool loaded_ = false;
  std::string desc_, appClass_, appText_, editClass_, open_, goto_;
  bool openWithLFN_ = false;
};

// An MDI editor: a child window already showing the file only needs the line.
class TMDIIDE : public TIDE {
 public:
  using TIDE::TIDE;
  int GetIDEType() const override { return iaMdi; }
};

// Typing goes to the editor window of class EditClass, brought to the front first.
class TDelphi1IDE : public TIDE {
 public:
  using TIDE::TIDE;
  int GetIDEType() const override { return iaEditClass; }
};

// The main window is found by the beginnings of its class and title.
class TEnumIDE : public TIDE {
 public:
  using TIDE::TIDE;
  int GetIDEType() const override { return iaEnumerated; }
};

// IDEs that take files through our add-in: a posted message makes it read the transfer file.
class TDelphi2IDE : public TDelphi1IDE {
 public:
  using TDelphi1IDE::TDelphi1IDE;
  bool CanInstall() const override { return Addin()->CanInstall(); }
  bool IsInstalled() const override { return Addin()->IsInstalled(); }
  bool Install() override { return Addin()->Install(); }
  bool Uninstall() override { return Addin()->Uninstall(); }
  bool IsIDEReady() const override;
  bool SyncIDE(const char* file, int line, int start, int stop) override;
  bool Load() override;

 protected:
  virtual std::unique_ptr<TAddinSetup> Addin() const;
  const std::string& RegKey() const { return regKey_; }

 private:
  HWND AddinWindow() const;
  std::string utilAppClass_, utilAppText_, regKey_;
};

class TBC5IDE : public TDelphi2IDE {
 public:
  using TDelphi2IDE::TDelphi2IDE;
  int GetIDEType() const override { return iaPlain; }

 protected:
  std::unique_ptr<TAddinSetup> Addin() const override;
};

// The maker's own editor: started when it does not run, told by messages to come
// forward and to open the transfer file's target.
class TZephyxIDE : public TIDE {
 public:
  using TIDE::TIDE;
  bool StartsItself() const override { return true; }
  bool ActivateWindow(HWND window) override;
  bool SyncIDE(const char* file, int line, int start, int stop) override;
};

inline constexpr int kDriverCount = 18;
// Driver number index of the DLL's list, loaded; null outside 0..17.
std::unique_ptr<TIDE> CreateDriver(int index);

}  // namespace qrx
