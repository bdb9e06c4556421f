// What the fuzz targets share: a check that ends the run on a broken property (libFuzzer then
// keeps the input as a crash; the corpus replay fails), and the input cut into texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

[[noreturn]] inline void FuzzCheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, condition);
  std::abort();
}

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : FuzzCheckFailed(#condition, __FILE__, __LINE__))

inline std::string FuzzText(const uint8_t* data, size_t size) {
  return size ? std::string(reinterpret_cast<const char*>(data), size) : std::string();
}

// The input as texts separated by NUL bytes, at least count of them (missing ones empty).
inline std::vector<std::string> FuzzTexts(const uint8_t* data, size_t size, size_t count) {
  std::vector<std::string> texts(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      texts.emplace_back();
    else
      texts.back() += static_cast<char>(data[i]);
  }
  if (texts.size() < count) texts.resize(count);
  return texts;
}
