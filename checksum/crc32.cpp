#include "crc32.h"

#include "crc32_kernels.h"

std::uint32_t Crc32UpdatePortable(std::uint32_t crc_register, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) {
    crc_register = (crc_register >> 8) ^ Crc32Table[(crc_register ^ bytes[i]) & 0xFFu];
  }
  return crc_register;
}

namespace {

// Chosen once, at first use, so the same binary runs on processors with and without
// the instructions the fast kernels need.
const Crc32Kernel* ChosenKernel() {
  static const Crc32Kernel* const kernel = [] {
    const Crc32KernelList fast = Crc32FastKernels();
    return fast.count > 0 ? fast.kernels[0] : nullptr;
  }();
  return kernel;
}

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc_register, const void* data, std::size_t size) {
  const Crc32Kernel* kernel = ChosenKernel();
  if (kernel == nullptr) {
    return Crc32UpdatePortable(crc_register, data, size);
  }
  return kernel->update(crc_register, static_cast<const unsigned char*>(data), size);
}

const char* Crc32KernelName() {
  const Crc32Kernel* kernel = ChosenKernel();
  return kernel == nullptr ? "portable" : kernel->name;
}
