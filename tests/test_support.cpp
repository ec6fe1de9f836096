#include "test_support.h"

#include <array>
#include <atomic>
#include <chrono>
#include <fstream>
#include <random>

namespace {

constexpr std::uint32_t kReflectedPolynomial = 0xEDB88320u;

std::uint32_t BitwiseStep(std::uint32_t crc_register) {
  return (crc_register >> 1) ^ ((crc_register & 1u) != 0 ? kReflectedPolynomial : 0u);
}

std::array<std::uint32_t, 256> MakeTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t entry = i;
    for (int bit = 0; bit < 8; ++bit) {
      entry = BitwiseStep(entry);
    }
    table[i] = entry;
  }
  return table;
}

}  // namespace

ScratchDir::ScratchDir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path = std::filesystem::temp_directory_path() /
         ("vormista-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path, ignored);
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t ReferenceCrc32(const std::string& bytes) {
  std::uint32_t crc_register = 0xFFFFFFFFu;
  for (const char c : bytes) {
    crc_register ^= static_cast<unsigned char>(c);
    for (int bit = 0; bit < 8; ++bit) {
      crc_register = BitwiseStep(crc_register);
    }
  }
  return ~crc_register;
}

std::string WithCrc32(const std::string& prefix, std::uint32_t target) {
  static const std::array<std::uint32_t, 256> table = MakeTable();
  // The top byte of a table entry names its index: undo one byte step per round.
  std::uint32_t state = ~target;
  for (int round = 0; round < 4; ++round) {
    std::uint32_t index = 0;
    while ((table[index] >> 24) != (state >> 24)) {
      ++index;
    }
    state = ((state ^ table[index]) << 8) | index;
  }
  const std::uint32_t patch = state ^ ~ReferenceCrc32(prefix);
  std::string result = prefix;
  for (int shift = 0; shift < 32; shift += 8) {
    result.push_back(static_cast<char>((patch >> shift) & 0xFFu));
  }
  return result;
}

std::string PseudoRandomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    c = static_cast<char>(generator() & 0xFFu);
  }
  return bytes;
}
