#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ExchangeOrder.h"

namespace {

// The classic exchange sort on plain numbers: every pair i < j compared once,
// exchanged when out of order. Answers the record indexes in its order.
std::vector<int> LiteralExchangeOrder(const std::vector<uint64_t>& key, bool ascending) {
  std::vector<int> order(key.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  for (size_t i = 0; i < order.size(); ++i)
    for (size_t j = i + 1; j < order.size(); ++j) {
      const uint64_t a = key[order[i]], b = key[order[j]];
      if (ascending ? a > b : a < b) std::swap(order[i], order[j]);
    }
  return order;
}

// The keys handed over in record order, then shuffled as a walk in memory
// order hands them: both give the same order.
void ExpectExchangeOrder(const std::vector<uint64_t>& key, const char* shape) {
  std::mt19937 rng(7);
  for (bool ascending : {true, false}) {
    const std::vector<int> expected = LiteralExchangeOrder(key, ascending);
    for (bool shuffled : {false, true}) {
      TLargeVector<TSortKey> keys(key.size());
      for (size_t i = 0; i < key.size(); ++i) keys[i] = {key[i], static_cast<uint32_t>(i), 0};
      if (shuffled) std::shuffle(keys.begin(), keys.end(), rng);
      const TLargeVector<int> order = ExchangeOrder(keys, ascending, nullptr);
      ASSERT_EQ(std::vector<int>(order.begin(), order.end()), expected)
          << shape << (ascending ? " ascending" : " descending")
          << (shuffled ? ", keys shuffled" : "");
    }
  }
}

TEST(ExchangeOrder, LargeGroupsOfEqualKeysKeepTheExchangeOrder) {
  std::mt19937 rng(2026);
  // Three keys over 3,000 records: groups of a thousand whose queues turn a
  // little at a time.
  std::vector<uint64_t> few(3000);
  for (uint64_t& k : few) k = rng() % 3;
  ExpectExchangeOrder(few, "three keys");
  // 200 records of one key, each after 70 of a smaller one: the group's queue
  // turns far at each step.
  std::vector<uint64_t> spaced;
  for (int g = 0; g < 200; ++g) {
    for (int s = 0; s < 70; ++s) spaced.push_back(rng() % 2 ? 0 : 5);
    spaced.push_back(9);
  }
  ExpectExchangeOrder(spaced, "spaced group");
  // Numbers over all 64 bits, with repeats.
  std::vector<uint64_t> wide(2000);
  for (uint64_t& k : wide) k = rng() % 4 ? (uint64_t{rng()} << 32 | rng()) : rng() % 4;
  ExpectExchangeOrder(wide, "wide numbers");
}

}  // namespace
