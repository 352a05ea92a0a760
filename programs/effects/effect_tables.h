// The integer tables of the effects: sine tables, the fold table, the stripe tables and the
// two-sine table of effect 7, each an array over an index range filled once from its rule.
//
// The effects index their tables with sums of the cell position and a frame counter that grows
// without bound, so some lookups leave a table's range after enough frames. Such a lookup takes
// its value from the table's rule: a table reads as if it went on for ever, the animation simply
// goes on, and no array is ever read past its end. Indices are 64-bit so that no sum of a cell
// position and a counter can overflow on its way to a lookup.
//
// Past the ends, a frame's indices fill a few windows that move by a few entries per frame, so
// values computed there are kept in a small direct-mapped cache: each is computed about once
// and a frame past the ends costs little more than one inside them. The cache makes lookups
// unsafe to share between threads; each effect uses its tables on the program's thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace effects {

// trunc(sin(i / k) * a), i / k and the product formed in extended precision.
struct SineRule {
  int32_t k;
  int32_t a;
  int32_t operator()(int64_t i) const;
};

// F[i]: the remainder of i modulo 255 in 0..254 for i <= 0, in 1..255 for i >= 1.
struct FoldRule {
  int32_t operator()(int64_t i) const;
};

// Stripes sixteen entries wide with gaps of sixteen: `value` at k when k <= 1007 and
// (k + 1024) mod 32 < 16, 0 elsewhere (the table is cleared, then the stripes from -1024 on are
// set in runs of sixteen every 32 entries, the last run ending at 1007).
struct StripeRule {
  int32_t value;
  int32_t operator()(int64_t i) const;
};

// trunc(sin(i / 35) * 128 + sin(i / 17) * 72), the sum formed in extended precision.
struct TwoSineRule {
  int32_t operator()(int64_t i) const;
};

template <typename Rule>
class RuleTable {
 public:
  // Fills entries low..high from the rule, in ascending order.
  RuleTable(int32_t low, int32_t high, Rule rule) : low_(low), rule_(rule) {
    values_.reserve(static_cast<size_t>(static_cast<int64_t>(high) - low + 1));
    for (int64_t i = low; i <= high; ++i)
      values_.push_back(rule_(i));
  }

  int32_t operator[](int64_t i) const {
    const uint64_t offset = static_cast<uint64_t>(i) - static_cast<uint64_t>(int64_t{low_});
    if (offset < values_.size()) [[likely]] {
      return values_[offset];
    }
    return Beyond(i);
  }

 private:
  // The cache slot of i holds i's value once computed. Slots start holding low, an index that
  // is always answered from the array and so never looked up here.
  struct BeyondSlot {
    int64_t index;
    int32_t value;
  };
  static constexpr size_t kBeyondSlots = 8192;

  [[gnu::noinline]] int32_t Beyond(int64_t i) const {
    if (beyond_.empty()) beyond_.assign(kBeyondSlots, BeyondSlot{low_, 0});
    BeyondSlot& slot = beyond_[static_cast<uint64_t>(i) & (kBeyondSlots - 1)];
    if (slot.index != i) slot = BeyondSlot{i, rule_(i)};
    return slot.value;
  }

  int32_t low_;
  Rule rule_;
  std::vector<int32_t> values_;
  mutable std::vector<BeyondSlot> beyond_;  // allocated on the first lookup past an end
};

// `SineTable`(k, a) over low..high.
class SineTable : public RuleTable<SineRule> {
 public:
  SineTable(int32_t k, int32_t a, int32_t low, int32_t high)
      : RuleTable<SineRule>(low, high, SineRule{k, a}) {}
};

using FoldTable = RuleTable<FoldRule>;
using StripeTable = RuleTable<StripeRule>;
using TwoSineTable = RuleTable<TwoSineRule>;

}  // namespace effects
