// The DLL's exports: thin wrappers that turn the core's results into the
// status values callers rely on. Nothing may escape them as an exception.
#include <cstring>
#include <string_view>

#include "kresh32/HandleRegistry.h"
#include "kresh32/RegexMatcher.h"
#include "kresh32/kresh32.h"

using qrx::kresh::HandleRegistry;
using qrx::kresh::MatchRange;
using qrx::kresh::Regex;
using qrx::kresh::RegexError;

extern "C" long __stdcall RegComp(const char* pattern, long* error) {
  long ignored = 0;
  long& code = error != nullptr ? *error : ignored;
  try {
    if (pattern == nullptr) {
      code = static_cast<long>(RegexError::kNullArgument);
      return 0;
    }
    qrx::kresh::CompileResult compiled = Regex::Compile(pattern);
    if (!compiled.regex) {
      code = static_cast<long>(compiled.error);
      return 0;
    }
    long handle = HandleRegistry::Process().Add(std::move(compiled.regex));
    code = handle != 0 ? 0 : static_cast<long>(RegexError::kTooManyExpressions);
    return handle;
  } catch (...) {
    code = static_cast<long>(RegexError::kOutOfMemory);
    return 0;
  }
}

extern "C" long __stdcall RegExecLength(long handle, const char* text, long length, long* range) {
  try {
    if (text == nullptr || range == nullptr || length < 0) return KRESH32_BAD_ARGUMENT;
    Regex* regex = HandleRegistry::Process().Find(static_cast<std::int32_t>(handle));
    if (regex == nullptr) return KRESH32_BAD_ARGUMENT;
    MatchRange match;
    if (!regex->Search(std::string_view(text, static_cast<std::size_t>(length)), match)) return KRESH32_NO_MATCH;
    range[0] = static_cast<long>(match.begin);
    range[1] = static_cast<long>(match.end);
    return KRESH32_MATCH;
  } catch (...) {
    return KRESH32_BAD_ARGUMENT;
  }
}

extern "C" long __stdcall RegExec(long handle, const char* line, long* range) {
  if (line == nullptr) return KRESH32_BAD_ARGUMENT;
  return RegExecLength(handle, line, static_cast<long>(std::strlen(line)), range);
}

extern "C" long __stdcall RegStartBytes(long handle, unsigned char* bytes) {
  try {
    if (bytes == nullptr) return KRESH32_BAD_ARGUMENT;
    Regex* regex = HandleRegistry::Process().Find(static_cast<std::int32_t>(handle));
    if (regex == nullptr) return KRESH32_BAD_ARGUMENT;
    qrx::kresh::ByteSet set;
    const bool known = regex->StartBytes(set);
    for (int b = 0; b < 256; ++b) bytes[b] = set.Contains(static_cast<std::uint8_t>(b)) ? 1 : 0;
    return known ? KRESH32_MATCH : KRESH32_NO_MATCH;
  } catch (...) {
    return KRESH32_BAD_ARGUMENT;
  }
}
