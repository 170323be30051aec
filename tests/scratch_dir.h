// A fresh folder of a test's own under the system's temporary folder, as
// mkdtemp makes one, on every platform the tests run on.
#pragma once

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

inline std::string makeScratchDir(const std::string &prefix) {
  std::random_device seed;
  std::mt19937 pick(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / (prefix + std::to_string(pick()));
    // Not made means it was there already: another test's.
    if (std::filesystem::create_directory(dir)) return dir.string();
  }
  throw std::runtime_error("cannot make a temporary folder " + prefix + "*");
}
