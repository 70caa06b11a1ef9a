#include "ide/ExtensionDLL.h"

namespace qrx {
namespace {

// An export by name, as the function type both sides agree on.
template <typename Proc>
Proc Export(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

TExtensionDLL::TExtensionDLL(const std::string& directory, const std::string& fileName) : fileName_(fileName) {
  std::string path = directory;
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += fileName;
  const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  module_.reset(::LoadLibraryA(path.c_str()));
  ::SetErrorMode(oldMode);
  if (!module_) return;
  init_ = Export<QuarxInitProc>(module_.get(), "QUARX_Init");
  ideCount_ = Export<QuarxIDECountProc>(module_.get(), "QUARX_IDECount");
  createIDE_ = Export<QuarxCreateIDEProc>(module_.get(), "QUARX_CreateIDE");
  destroyIDE_ = Export<QuarxDestroyIDEProc>(module_.get(), "QUARX_DestroyIDE");
}

bool TExtensionDLL::IsValid() const { return module_ && ideCount_ && createIDE_ && destroyIDE_; }

int TExtensionDLL::IDECount() const { return ideCount_ ? ideCount_() : 0; }

TBaseIDE* TExtensionDLL::CreateIDE(int index, HWND parent) {
  if (!IsValid()) return nullptr;
  if (!initialized_) initialized_ = !init_ || init_();
  return createIDE_(index, parent);
}

void TExtensionDLL::DestroyIDE(TBaseIDE* ide) const {
  if (ide && destroyIDE_) destroyIDE_(ide);
}

TGrepIDE::TGrepIDE(TExtensionDLL& extension, int index, HWND parent)
    : extension_(extension), index_(index), driver_(extension.CreateIDE(index, parent)) {}

TGrepIDE::~TGrepIDE() { extension_.DestroyIDE(driver_); }

}  // namespace qrx
