// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The converter module's entry: the real converter's functions, handed to the program that
// loaded it.
#include "convert/CodecModule.h"

extern "C" __attribute__((visibility("default"))) const CodecModule::Functions* zvd_codec_functions()
{
    static const CodecModule::Functions functions{CodecModule::Layout, &Mp3Converter::convert,
                                                  &Mp3Converter::duration, &Mp3Converter::estimatedSize};
    return &functions;
}
