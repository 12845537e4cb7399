// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/AnsiName.h"

#include "vplayer/FileSystem.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <utility>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace AnsiName
{
namespace
{

std::string upper(std::string s)
{
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The same choice the program makes, so both sides agree on the bytes of a name.
std::string codePageForLocale(const std::string& locale)
{
    const std::string language = locale.substr(0, locale.find_first_of(".@"));
    const std::string lang = upper(language.substr(0, language.find('_')));
    const std::string region =
        language.find('_') == std::string::npos ? "" : upper(language.substr(language.find('_') + 1));
    constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kByLanguage = {{{"KO", "CP949"},
                                                                                           {"JA", "CP932"},
                                                                                           {"RU", "CP1251"},
                                                                                           {"UK", "CP1251"},
                                                                                           {"BG", "CP1251"},
                                                                                           {"EL", "CP1253"},
                                                                                           {"TR", "CP1254"},
                                                                                           {"HE", "CP1255"},
                                                                                           {"AR", "CP1256"}}};
    if (lang == "ZH")
        return region == "TW" || region == "HK" ? "CP950" : "CP936";
    for (const auto& [key, page] : kByLanguage) {
        if (lang == key)
            return std::string(page);
    }
    return "CP1252";
}

#ifndef _WIN32
bool isAscii(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Converts with iconv; nullopt when the converter is missing or a character does not convert.
std::optional<std::string> convert(const std::string& text, const std::string& to, const std::string& from)
{
    const iconv_t converter = iconv_open(to.c_str(), from.c_str());
    if (converter == iconv_t(-1))
        return std::nullopt;
    std::string in = text;
    std::string out(text.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (result == std::size_t(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}
#endif

} // namespace

std::string codePage()
{
    if (auto fromEnvironment = FileSystem::environment("ZVD_CODEPAGE")) {
        std::string name = upper(*fromEnvironment);
        if (name.rfind("WINDOWS-", 0) == 0)
            name = "CP" + name.substr(8);
        if (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0])))
            name = "CP" + name;
        return name;
    }
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        if (auto value = FileSystem::environment(variable))
            return codePageForLocale(*value);
    }
    return "CP1252";
}

std::optional<std::string> fromFileSystem(const std::string& name)
{
#ifdef _WIN32
    return name;
#else
    if (isAscii(name))
        return name;
    // Not UTF-8 at all: the bytes are all there is to go by.
    if (!convert(name, "UTF-16LE", "UTF-8"))
        return name;
    return convert(name, codePage(), "UTF-8");
#endif
}

std::string toFileSystem(const std::string& name)
{
#ifdef _WIN32
    return name;
#else
    if (isAscii(name))
        return name;
    return convert(name, "UTF-8", codePage()).value_or(name);
#endif
}

} // namespace AnsiName
