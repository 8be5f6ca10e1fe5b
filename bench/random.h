// A small seedable random source for the workspace generator. Its own arithmetic (splitmix64),
// not the standard library's distributions, so a seed gives the same workspace with every
// compiler and on every platform.
#ifndef TESSMARK_BENCH_RANDOM_H_
#define TESSMARK_BENCH_RANDOM_H_

#include <cstdint>
#include <vector>

namespace tessmark_bench {

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A whole number from lo to hi, both included.
  int between(int lo, int hi) {
    return lo + static_cast<int>(next() % static_cast<uint64_t>(hi - lo + 1));
  }

  // True with the given chance in percent.
  bool chance(int percent) { return between(1, 100) <= percent; }

  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[static_cast<size_t>(between(0, static_cast<int>(items.size()) - 1))];
  }

 private:
  uint64_t state_;
};

}  // namespace tessmark_bench

#endif  // TESSMARK_BENCH_RANDOM_H_
