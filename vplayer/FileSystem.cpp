// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>
#else
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#endif

namespace FileSystem
{

char separator()
{
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

bool isSeparator(char c)
{
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

std::string join(const std::string& a, const std::string& b)
{
    if (a.empty())
        return b;
    if (isSeparator(a.back()))
        return a + b;
    return a + separator() + b;
}

std::string fileName(const std::string& path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isSeparator(path[i - 1]))
            return path.substr(i);
    }
    return path;
}

#ifdef _WIN32

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isDirectory(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::uint64_t> fileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::nullopt;
    return (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

static bool makeOneDirectory(const std::string& path)
{
    return _mkdir(path.c_str()) == 0;
}

bool removeFile(const std::string& path)
{
    return DeleteFileA(path.c_str()) != 0;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::vector<std::string> listFiles(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(join(folder, "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

void sleepMilliseconds(std::uint32_t ms)
{
    Sleep(ms);
}

static bool flushToDisk(FILE* file)
{
    return std::fflush(file) == 0;
}

#else

bool exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool isDirectory(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::uint64_t> fileSize(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return std::uint64_t(info.st_size);
}

static bool makeOneDirectory(const std::string& path)
{
    return ::mkdir(path.c_str(), 0777) == 0;
}

bool removeFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

std::vector<std::string> listFiles(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && !isDirectory(join(folder, name)))
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

void sleepMilliseconds(std::uint32_t ms)
{
    timespec remaining{time_t(ms / 1000), long(ms % 1000) * 1000000L};
    while (::nanosleep(&remaining, &remaining) != 0) {
    }
}

// The state file must survive a crash right after the rename, so its bytes reach the disk first.
static bool flushToDisk(FILE* file)
{
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

#endif

bool makeDirectories(const std::string& path)
{
    if (path.empty() || isDirectory(path))
        return !path.empty();
    std::size_t end = path.size();
    while (end > 0 && isSeparator(path[end - 1]))
        --end;
    std::size_t cut = end;
    while (cut > 0 && !isSeparator(path[cut - 1]))
        --cut;
    if (cut > 1 && !makeDirectories(path.substr(0, cut - 1)))
        return false;
    // Another process may create the same folder at the same moment.
    return makeOneDirectory(path.substr(0, end)) || isDirectory(path);
}

FILE* openFile(const std::string& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

std::optional<std::string> readFile(const std::string& path, std::uint64_t limit)
{
    // Read what the opened file holds rather than trusting an earlier size: the file may be
    // replaced between a stat and the open.
    FILE* file = openFile(path, "rb");
    if (!file)
        return std::nullopt;
    std::string data;
    char buffer[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && data.size() <= limit)
        data.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || data.size() > limit)
        return std::nullopt;
    return data;
}

bool writeFileAtomic(const std::string& path, const std::string& data)
{
    const std::string temporary = path + ".new";
    FILE* file = openFile(temporary, "wb");
    if (!file)
        return false;
    bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
    ok = flushToDisk(file) && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && replaceFile(temporary, path))
        return true;
    removeFile(temporary);
    return false;
}

std::optional<std::uint64_t> sizeOf(FILE* file)
{
    const auto stamp = stampOf(file);
    return stamp ? std::optional<std::uint64_t>(stamp->size) : std::nullopt;
}

#ifdef _WIN32
static bool seekTo(FILE* file, std::uint64_t offset)
{
    return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
}
static bool cutTo(FILE* file, std::uint64_t size)
{
    return std::fflush(file) == 0 && _chsize_s(_fileno(file), static_cast<__int64>(size)) == 0;
}
std::optional<FileStamp> stampOf(FILE* file)
{
    struct _stat64 info;
    if (_fstat64(_fileno(file), &info) != 0)
        return std::nullopt;
    return FileStamp{std::uint64_t(info.st_size), 0, std::int64_t(info.st_mtime)};
}

std::optional<std::string> readAt(FILE* file, std::uint64_t offset, std::uint64_t length)
{
    if (!seekTo(file, offset))
        return std::nullopt;
    std::string data(static_cast<std::size_t>(length), '\0');
    if (length > 0 && std::fread(data.data(), 1, data.size(), file) != data.size())
        return std::nullopt;
    return data;
}

bool writeEnd(FILE* file, std::uint64_t size, const std::string& data)
{
    const auto current = sizeOf(file);
    if (!current || (*current != size && !cutTo(file, size)) || !seekTo(file, size))
        return false;
    return std::fwrite(data.data(), 1, data.size(), file) == data.size() && std::fflush(file) == 0;
}
#else
std::optional<FileStamp> stampOf(FILE* file)
{
    struct stat info;
    if (::fstat(::fileno(file), &info) != 0)
        return std::nullopt;
    return FileStamp{std::uint64_t(info.st_size),
                     (std::uint64_t(info.st_dev) << 40) ^ std::uint64_t(info.st_ino),
                     std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

// Straight to the descriptor: the stream's buffer would read a whole block around the offset
// (and ask for the file's size to choose the block) where only a few bytes are wanted. Nothing
// here reads or writes through the stream itself.
std::optional<std::string> readAt(FILE* file, std::uint64_t offset, std::uint64_t length)
{
    std::string data(static_cast<std::size_t>(length), '\0');
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t got = ::pread(::fileno(file), data.data() + done, data.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt;
        done += std::size_t(got);
    }
    return data;
}

bool writeEnd(FILE* file, std::uint64_t size, const std::string& data)
{
    const auto current = sizeOf(file);
    if (!current || (*current != size && ::ftruncate(::fileno(file), static_cast<off_t>(size)) != 0))
        return false;
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t put =
            ::pwrite(::fileno(file), data.data() + done, data.size() - done, static_cast<off_t>(size + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += std::size_t(put);
    }
    return true;
}
#endif

std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

#ifdef __linux__
// A process that has ended but was not yet reaped (its parent died too, and the system's first
// process is slow to reap) still answers kill(pid, 0): its state in /proc says it is gone.
bool isZombie(long long pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%lld/stat", pid);
    FILE* file = std::fopen(path, "r");
    if (!file)
        return false;
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    // "pid (name) S ...": the state follows the last closing parenthesis.
    const char* close = read ? std::strrchr(line, ')') : nullptr;
    return close && close[1] == ' ' && close[2] == 'Z';
}
#endif

bool processAlive(std::uint64_t pid)
{
    if (pid == 0)
        return false;
#ifdef _WIN32
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
#else
    if (pid > std::uint64_t(std::numeric_limits<pid_t>::max()))
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
#ifdef __linux__
    return !isZombie((long long)pid);
#else
    return true;
#endif
#endif
}

} // namespace FileSystem
