// Throughput of each CRC-32 kernel on blocks of the size the program reads (4096 bytes)
// and on a few others, in bytes per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "crc32.h"
#include "crc32_kernels.h"

namespace {

using Update = std::uint32_t (*)(std::uint32_t, const unsigned char*, std::size_t);

std::uint32_t Portable(std::uint32_t crc_register, const unsigned char* data, std::size_t size) {
  return Crc32UpdatePortable(crc_register, data, size);
}

std::uint32_t Dispatched(std::uint32_t crc_register, const unsigned char* data, std::size_t size) {
  return Crc32Update(crc_register, data, size);
}

void Run(benchmark::State& state, Update update) {
  const auto size = static_cast<std::size_t>(state.range(0));
  std::vector<unsigned char> block(size);
  for (std::size_t i = 0; i < size; ++i) {
    block[i] = static_cast<unsigned char>(i * 131u + 7u);
  }
  std::uint32_t crc_register = kCrc32Preset;
  for (auto _ : state) {
    crc_register = update(crc_register, block.data(), size);
    benchmark::DoNotOptimize(crc_register);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(size));
}

void BM_Portable(benchmark::State& state) { Run(state, Portable); }

void BM_Dispatched(benchmark::State& state) {
  state.SetLabel(Crc32KernelName());
  Run(state, Dispatched);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("BM_Portable", BM_Portable)->Arg(4096);
  benchmark::RegisterBenchmark("BM_Dispatched", BM_Dispatched)->Arg(4096);
  const Crc32KernelList fast = Crc32FastKernels();
  for (int i = 0; i < fast.count; ++i) {
    const Crc32Kernel* kernel = fast.kernels[i];
    benchmark::RegisterBenchmark(kernel->name,
                                 [kernel](benchmark::State& state) { Run(state, kernel->update); })
        ->Arg(64)
        ->Arg(256)
        ->Arg(4096)
        ->Arg(1 << 20);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
