#include "kresh32/RegexCompiler.h"

#include <utility>

namespace qrx::kresh {
namespace {

// Emits each node in front of the code that follows it ("next"), so every
// instruction's successors exist before it does and no patch lists are needed.
class Emitter {
 public:
  Emitter(const Ast& ast, Direction direction, Program& program)
      : ast_(ast), direction_(direction), program_(program) {}

  std::int32_t Emit(int nodeIndex, std::int32_t next) {
    const AstNode& node = ast_.nodes[nodeIndex];
    switch (node.kind) {
      case NodeKind::kEmpty:
        return next;
      case NodeKind::kBytes:
        return Add({Op::kBytes, next, -1, node.set});
      case NodeKind::kLineStart:
        return Add({Op::kLineStart, next, -1, -1});
      case NodeKind::kLineEnd:
        return Add({Op::kLineEnd, next, -1, -1});
      case NodeKind::kConcat:
        if (direction_ == Direction::kForward) {
          for (auto it = node.children.rbegin(); it != node.children.rend(); ++it) next = Emit(*it, next);
        } else {
          for (int child : node.children) next = Emit(child, next);
        }
        return next;
      case NodeKind::kAlternate: {
        // The last branch is entered last; each split offers one branch and the rest.
        std::int32_t rest = Emit(node.children.back(), next);
        for (auto it = node.children.rbegin() + 1; it != node.children.rend(); ++it) {
          std::int32_t branch = Emit(*it, next);
          rest = Add({Op::kSplit, branch, rest, -1});
        }
        return rest;
      }
      case NodeKind::kStar: {
        std::int32_t loop = Add({Op::kSplit, -1, next, -1});
        program_.insts[loop].out = Emit(node.children.front(), loop);
        return loop;
      }
      case NodeKind::kPlus: {
        std::int32_t loop = Add({Op::kSplit, -1, next, -1});
        std::int32_t body = Emit(node.children.front(), loop);
        program_.insts[loop].out = body;
        return body;
      }
      case NodeKind::kOptional: {
        std::int32_t body = Emit(node.children.front(), next);
        return Add({Op::kSplit, body, next, -1});
      }
    }
    return next;
  }

 private:
  std::int32_t Add(Inst inst) {
    program_.insts.push_back(inst);
    return static_cast<std::int32_t>(program_.insts.size()) - 1;
  }

  const Ast& ast_;
  Direction direction_;
  Program& program_;
};

// Splits the 256 byte values into classes that every set treats alike.
void ComputeByteClasses(Program& program) {
  std::array<int, 256> cls{};  // all bytes start in class 0
  int classCount = 1;
  std::vector<int> remap;
  for (const ByteSet& set : program.sets) {
    // A class splits in two when the set holds some but not all of its bytes.
    remap.assign(static_cast<std::size_t>(classCount) * 2, -1);
    int next = 0;
    for (int b = 0; b < 256; ++b) {
      int key = cls[b] * 2 + (set.Contains(static_cast<std::uint8_t>(b)) ? 1 : 0);
      if (remap[key] < 0) remap[key] = next++;
      cls[b] = remap[key];
    }
    classCount = next;
    if (classCount == 256) break;
  }
  program.representative.assign(classCount, 0);
  std::vector<bool> seen(classCount, false);
  for (int b = 0; b < 256; ++b) {
    program.classOf[b] = static_cast<std::uint8_t>(cls[b]);
    if (!seen[cls[b]]) {
      seen[cls[b]] = true;
      program.representative[cls[b]] = static_cast<std::uint8_t>(b);
    }
  }
}

}  // namespace

Program CompileProgram(const Ast& ast, Direction direction) {
  Program program;
  program.sets = ast.sets;
  program.insts.reserve(static_cast<std::size_t>(ast.instructionCount) + 1);
  program.insts.push_back({Op::kMatch, -1, -1, -1});
  program.matchPc = 0;
  Emitter emitter(ast, direction, program);
  program.start = emitter.Emit(ast.root, program.matchPc);
  ComputeByteClasses(program);
  return program;
}

}  // namespace qrx::kresh
