#include "install_files.h"

InstallFile InstallFiles[kInstallFileCount] = {
    {"vorinst.exe", 0xC5C9AFCB, 0},
    {"vorinstLite.exe", 0x4309BC1C, 0},
    {"vorupdt.exe", 0x9543E57E, 0},
    {"vorupdtLite.exe", 0x9A256DC4, 0},
    // 0 is the CRC-32 of an empty file, so only an empty vordbupdt.exe passes.
    {"vordbupdt.exe", 0x00000000, 0},
    {"vorinstNetServer.exe", 0x6C2243BB, 0},
    {"vorinstNetClient.exe", 0x1381E70A, 0},
};

const char ProductVersion[] = "3.62";
