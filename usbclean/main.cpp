// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// usbclean VENDOR-ID PRODUCT-ID: removes the player's old USB driver entries from the registry.
#include "usbclean/DriverCleanup.h"
#include "usbclean/WindowsRegistry.h"

#include <iostream>
#include <new>

int main(int argc, char** argv)
{
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        usbclean::WindowsRegistry platform;
        const int status = usbclean::runDriverCleanup(platform, args, std::cout);
        std::cout.flush();
        return status;
    } catch (const std::bad_alloc&) {
        // No memory for a key path: nothing sensible can be printed either.
        return usbclean::ExitFailed;
    }
}
