// Helpers shared by the tests: scratch folders, fixture files with a chosen CRC-32.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// A fresh, empty folder under the system's temporary folder, removed with its contents
// when the test is done.
struct ScratchDir {
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::filesystem::path path;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// Returns `prefix` followed by four bytes that make the CRC-32 of the whole come out as
// `target`: the register is run backwards from the target over four zero bytes, and the
// difference from the register after `prefix` is what the four bytes must XOR in.
std::string WithCrc32(const std::string& prefix, std::uint32_t target);

// Computes the CRC-32 bit by bit, from the definition, independently of the program's code.
std::uint32_t ReferenceCrc32(const std::string& bytes);

// Returns `size` bytes of fixed pseudo-random content.
std::string PseudoRandomBytes(std::size_t size, std::uint32_t seed = 1);
