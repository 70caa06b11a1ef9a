#include "kresh32/LazyDfa.h"

#include <algorithm>

namespace qrx::kresh {
namespace {

constexpr std::size_t kInitialSlots = 64;

std::uint32_t HashKey(const std::vector<std::int32_t>& key) noexcept {
  std::uint32_t h = 2166136261u;
  for (std::int32_t pc : key) {
    h ^= static_cast<std::uint32_t>(pc);
    h *= 16777619u;
  }
  return h ^ static_cast<std::uint32_t>(key.size());
}

}  // namespace

LazyDfa::LazyDfa(const Program& program, bool unanchored, unsigned farEdge, std::size_t memoryBudget)
    : program_(program),
      unanchored_(unanchored),
      farEdge_(farEdge),
      budget_(memoryBudget),
      classCount_(static_cast<std::size_t>(program.ClassCount())),
      stepper_(program, unanchored) {
  key_.reserve(program.insts.size());
  keyOffsets_.push_back(0);
  table_.assign(kInitialSlots, kUnknown);
  starts_.fill(kUnknown);
}

void LazyDfa::Reset() noexcept {
  transitions_.clear();
  keyOffsets_.resize(1);
  keys_.clear();
  hashes_.clear();
  std::fill(table_.begin(), table_.end(), kUnknown);
  starts_.fill(kUnknown);
  full_ = false;
}

std::int32_t LazyDfa::MakeStartState(unsigned edges) noexcept {
  std::int32_t& cached = starts_[edges & 3];
  SparseSet& set = stepper_.ScratchA();
  stepper_.Start(set, edges);
  std::int32_t state = Intern(set);
  if (state >= 0) cached = state;
  return state;
}

std::int32_t LazyDfa::Build(std::int32_t state, std::uint8_t byte) noexcept {
  SparseSet& from = stepper_.ScratchA();
  SparseSet& to = stepper_.ScratchB();
  LoadSet(state, from);
  stepper_.Step(from, program_.representative[program_.classOf[byte]], to);
  std::int32_t next = Intern(to);
  if (next >= 0) transitions_[static_cast<std::size_t>(state) + program_.classOf[byte]] = next;
  return next;
}

void LazyDfa::LoadSet(std::int32_t state, SparseSet& set) const noexcept {
  set.Clear();
  const std::size_t number = NumberOf(state);
  for (std::uint32_t i = keyOffsets_[number]; i < keyOffsets_[number + 1]; ++i) set.Insert(keys_[i]);
}

bool LazyDfa::KeyEquals(std::size_t number) const noexcept {
  std::uint32_t begin = keyOffsets_[number];
  std::uint32_t end = keyOffsets_[number + 1];
  return end - begin == key_.size() && std::equal(key_.begin(), key_.end(), keys_.begin() + begin);
}

std::int32_t LazyDfa::Find(std::uint32_t hash) const noexcept {
  std::size_t mask = table_.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    std::int32_t number = table_[slot];
    if (number == kUnknown) return kUnknown;
    if (hashes_[number] == hash && KeyEquals(static_cast<std::size_t>(number))) return number;
  }
}

void LazyDfa::Rehash(std::size_t slots) {
  std::vector<std::int32_t> table(slots, kUnknown);
  std::size_t mask = slots - 1;
  for (std::size_t state = 0; state < hashes_.size(); ++state) {
    std::size_t slot = hashes_[state] & mask;
    while (table[slot] != kUnknown) slot = (slot + 1) & mask;
    table[slot] = static_cast<std::int32_t>(state);
  }
  table_.swap(table);
}

std::int32_t LazyDfa::Intern(const SparseSet& set) noexcept {
  stepper_.CanonicalKey(set, key_);
  std::uint32_t hash = HashKey(key_);
  const std::size_t stride = classCount_ + 1;
  std::int32_t found = Find(hash);
  if (found >= 0) return static_cast<std::int32_t>(static_cast<std::size_t>(found) * stride);

  std::size_t states = hashes_.size();
  std::size_t slots = table_.size();
  if ((states + 1) * 2 > slots) slots *= 2;
  std::size_t bytes = (transitions_.size() + stride) * sizeof(std::int32_t) +
                      (keys_.size() + key_.size()) * sizeof(std::int32_t) +
                      (states + 1) * (2 * sizeof(std::uint32_t)) + slots * sizeof(std::int32_t);
  if (full_ || bytes > budget_) {
    full_ = true;
    return kFull;
  }
  // Everything that can fail to allocate happens before the cache changes.
  try {
    transitions_.reserve(transitions_.size() + stride);
    keys_.reserve(keys_.size() + key_.size());
    keyOffsets_.reserve(states + 2);
    hashes_.reserve(states + 1);
    if (slots != table_.size()) Rehash(slots);
  } catch (...) {
    full_ = true;
    return kFull;
  }

  std::uint8_t flags = 0;
  if (!key_.empty() && key_.front() == program_.matchPc) flags |= kMatchHere;
  if (stepper_.MatchesWithEdges(set, farEdge_)) flags |= kMatchAtFarEdge;
  if (key_.empty() && !unanchored_) flags |= kDead;

  const auto state = static_cast<std::int32_t>(transitions_.size());
  transitions_.insert(transitions_.end(), classCount_, kUnknown);
  transitions_.push_back(flags);
  keys_.insert(keys_.end(), key_.begin(), key_.end());
  keyOffsets_.push_back(static_cast<std::uint32_t>(keys_.size()));
  hashes_.push_back(hash);
  std::size_t mask = table_.size() - 1;
  std::size_t slot = hash & mask;
  while (table_[slot] != kUnknown) slot = (slot + 1) & mask;
  table_[slot] = static_cast<std::int32_t>(states);
  return state;
}

}  // namespace qrx::kresh
