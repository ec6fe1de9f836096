#include "crc32_kernels.h"

// This architecture has no fast kernel: the portable table loop does all the work.
const Crc32Kernel* Crc32FastKernel() { return nullptr; }
