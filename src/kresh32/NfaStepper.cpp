#include "kresh32/NfaStepper.h"

#include <algorithm>

namespace qrx::kresh {

NfaStepper::NfaStepper(const Program& program, bool unanchored)
    : program_(program),
      unanchored_(unanchored),
      stack_(program.insts.size() + 1),
      a_(program.insts.size()),
      b_(program.insts.size()),
      edgeScratch_(program.insts.size()) {}

void NfaStepper::AddClosure(SparseSet& set, std::int32_t pc, unsigned edges) noexcept {
  if (set.Contains(pc)) return;
  // Every pc enters the set when pushed, so the stack never holds more than
  // the program has instructions.
  std::size_t top = 0;
  set.Insert(pc);
  stack_[top++] = pc;
  auto push = [&](std::int32_t target) {
    if (!set.Contains(target)) {
      set.Insert(target);
      stack_[top++] = target;
    }
  };
  while (top > 0) {
    const Inst& inst = program_.insts[stack_[--top]];
    switch (inst.op) {
      case Op::kSplit:
        push(inst.out1);
        push(inst.out);
        break;
      case Op::kJump:
        push(inst.out);
        break;
      case Op::kLineStart:
        if (edges & kAtLineStart) push(inst.out);
        break;
      case Op::kLineEnd:
        if (edges & kAtLineEnd) push(inst.out);
        break;
      case Op::kBytes:
      case Op::kMatch:
        break;
    }
  }
}

void NfaStepper::Start(SparseSet& set, unsigned edges) noexcept {
  set.Clear();
  AddClosure(set, program_.start, edges);
}

void NfaStepper::Step(const SparseSet& from, std::uint8_t byte, SparseSet& to) noexcept {
  to.Clear();
  for (std::int32_t pc : from) {
    const Inst& inst = program_.insts[pc];
    if (inst.op == Op::kBytes && program_.sets[inst.set].Contains(byte)) AddClosure(to, inst.out, kNoEdge);
  }
  if (unanchored_) AddClosure(to, program_.start, kNoEdge);
}

bool NfaStepper::MatchesWithEdges(const SparseSet& set, unsigned edges) noexcept {
  if (HasMatch(set)) return true;
  edgeScratch_.Clear();
  for (std::int32_t pc : set) {
    Op op = program_.insts[pc].op;
    if (op == Op::kLineStart || op == Op::kLineEnd) AddClosure(edgeScratch_, pc, edges);
  }
  return edgeScratch_.Contains(program_.matchPc);
}

void NfaStepper::CanonicalKey(const SparseSet& set, std::vector<std::int32_t>& key) const {
  key.clear();
  for (std::int32_t pc : set) {
    Op op = program_.insts[pc].op;
    if (op != Op::kSplit && op != Op::kJump) key.push_back(pc);
  }
  std::sort(key.begin(), key.end());
}

}  // namespace qrx::kresh
