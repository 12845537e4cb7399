// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The few file-system services the virtual player needs, over narrow (ANSI) paths, so the same
// code runs on POSIX and in the MinGW build, where paths arrive in the ANSI code page.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace FileSystem
{

// The platform's preferred separator, and whether a character separates path components.
char separator();
bool isSeparator(char c);

// a + separator + b, without doubling a separator that a already ends with.
std::string join(const std::string& a, const std::string& b);

// The last component of a path (the file name), empty when the path ends in a separator.
std::string fileName(const std::string& path);

bool exists(const std::string& path);
bool isDirectory(const std::string& path);
std::optional<std::uint64_t> fileSize(const std::string& path);

// Creates the folder and any missing parents.
bool makeDirectories(const std::string& path);

bool removeFile(const std::string& path);

// Moves from over to, replacing an existing file in one step.
bool replaceFile(const std::string& from, const std::string& to);

// The plain files in a folder (names only).
std::vector<std::string> listFiles(const std::string& folder);

// Reads a whole file of at most limit bytes; nullopt when it cannot be read or is larger.
std::optional<std::string> readFile(const std::string& path, std::uint64_t limit);

// Writes data to a sibling temporary file, flushes it and renames it over path, so a reader
// sees either the old or the new content, never a torn one.
bool writeFileAtomic(const std::string& path, const std::string& data);

FILE* openFile(const std::string& path, const char* mode);

// What tells one version of a file from another without reading it: its length, which file it
// is (a file renamed over it is another one; POSIX only) and when it was last written.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t identity = 0;
    std::int64_t modified = 0;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> stampOf(FILE* file);

// Positioned access to an open file, with 64-bit offsets on every platform.
std::optional<std::uint64_t> sizeOf(FILE* file);
// Reads exactly length bytes at offset; nullopt when the file holds fewer or cannot be read.
std::optional<std::string> readAt(FILE* file, std::uint64_t offset, std::uint64_t length);
// Cuts the file to size bytes, then writes data there (so data ends the file) and flushes it
// to the operating system.
bool writeEnd(FILE* file, std::uint64_t size, const std::string& data);

// An environment variable, or nullopt when it is unset or empty.
std::optional<std::string> environment(const char* name);

void sleepMilliseconds(std::uint32_t ms);

// Whether a process of that id runs now on this machine.
bool processAlive(std::uint64_t pid);

} // namespace FileSystem
