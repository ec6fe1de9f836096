// Prints the name of the CRC-32 kernel that the program picks on this processor.
#include <cstdio>

#include "crc32.h"

int main() {
  std::puts(Crc32KernelName());
  return 0;
}
