#pragma once
// kresh32.dll: the regular-expression component, imported by name.
// Syntax and error numbers: docs/kresh32.md.

#ifdef __cplusplus
extern "C" {
#endif

// Compiles `pattern` (NUL-terminated). Returns a handle that stays valid for
// the rest of the process, or 0 with the error number in *error.
long __stdcall RegComp(const char* pattern, long* error);

// Searches `line` (NUL-terminated) for the leftmost, then longest, match.
// Returns KRESH32_MATCH with range[0] = offset of the first matched byte and
// range[1] = offset just past the match; any other value means no match.
long __stdcall RegExec(long handle, const char* line, long* range);

// As RegExec, for the `length` bytes at `text`, which need no terminator: a NUL among them
// is an ordinary byte. A negative length is a bad argument.
long __stdcall RegExecLength(long handle, const char* text, long length, long* range);

// Sets bytes[b] (256 of them) to 1 for every byte b a match can begin with, 0 for the
// others. Returns KRESH32_MATCH when every match begins with one of them, so a line
// holding none of them cannot match; KRESH32_NO_MATCH when a match may be empty.
long __stdcall RegStartBytes(long handle, unsigned char* bytes);

#ifdef __cplusplus
}
#endif

#define KRESH32_MATCH 0L
#define KRESH32_NO_MATCH 1L
#define KRESH32_BAD_ARGUMENT 2L  // null pointer or a handle RegComp never returned
