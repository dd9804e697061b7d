// The fuzzers' view of their input: bytes taken one at a time, zeros once
// they run out.
#pragma once

#include <cstddef>
#include <cstdint>

namespace numbloc::fuzz {

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  std::uint8_t Next() { return at < size ? data[at++] : 0; }
};

}  // namespace numbloc::fuzz
