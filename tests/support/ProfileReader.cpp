// SPDX-License-Identifier: GPL-3.0-or-later
// Reads one key the way the other application does, through the Windows profile API with the
// process's ANSI code page, and prints that code page and the bytes read, in hexadecimal.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s INI SECTION KEY\n", argv[0]);
        return 64;
    }
    char value[255];
    const DWORD length =
        ::GetPrivateProfileStringA(argv[2], argv[3], "", value, sizeof value, argv[1]);
    std::printf("%u ", ::GetACP());
    for (DWORD i = 0; i < length; ++i) {
        std::printf("%02X", static_cast<unsigned char>(value[i]));
    }
    std::printf("\n");
    return 0;
}
