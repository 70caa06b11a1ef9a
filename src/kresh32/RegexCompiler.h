#pragma once
// Compiles an Ast into a Program that reads the line forwards, or one that
// reads it backwards (for finding where the leftmost match starts).
#include "kresh32/RegexAst.h"
#include "kresh32/RegexProgram.h"

namespace qrx::kresh {

enum class Direction { kForward, kReverse };

Program CompileProgram(const Ast& ast, Direction direction);

}  // namespace qrx::kresh
