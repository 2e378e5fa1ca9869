// Recording fake of the kernel32 port: INI files kept in memory by the system's rules, files, exit.
#include "FakeKernel.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <sstream>
#include <vector>

namespace pelluna::testing {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string> Lines(const std::string& content) {
    std::vector<std::string> lines;
    std::istringstream stream(content);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

}  // namespace

std::wstring FakeKernel::GetModuleFileNameW() {
    log_.Add("GetModuleFileNameW()");
    return moduleFileName;
}

std::uint32_t FakeKernel::GetPrivateProfileStringA(const char* appName, const char* keyName,
                                                   const char* defaultText, char* returned,
                                                   std::uint32_t size, const char* fileName) {
    if (logProfileCalls) {
        log_.Add(Call("GetPrivateProfileStringA", Quote(appName), Quote(keyName), Quote(defaultText), size,
                      Quote(fileName)));
    }
    std::string value = defaultText ? defaultText : "";
    if (const auto file = files.find(fileName); file != files.end()) {
        bool inSection = false;
        for (const std::string& line : Lines(file->second)) {
            if (const auto section = SectionName(line)) {
                inSection = SameName(*section, appName);
                continue;
            }
            const auto equals = line.find('=');
            if (!inSection || equals == std::string::npos) continue;
            if (SameName(Trim(std::string_view(line).substr(0, equals)), keyName)) {
                std::string_view found = Trim(std::string_view(line).substr(equals + 1));
                if (found.size() >= 2 && found.front() == '"' && found.back() == '"') {
                    found = found.substr(1, found.size() - 2);
                }
                value = found;
                break;
            }
        }
    }
    if (size == 0) return 0;
    const std::size_t copied = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(returned, value.data(), copied);
    returned[copied] = '\0';
    return static_cast<std::uint32_t>(copied);
}

bool FakeKernel::WritePrivateProfileStringA(const char* appName, const char* keyName, const char* text,
                                            const char* fileName) {
    log_.Add(
        Call("WritePrivateProfileStringA", Quote(appName), Quote(keyName), Quote(text), Quote(fileName)));
    if (folders.count(fileName)) return false;
    if (failingWrite > 0 && ++writeCount >= failingWrite) {
        lastError = writeError;
        return false;
    }
    std::vector<std::string> lines = Lines(files[fileName]);
    const std::string entry = std::string(keyName) + "=" + text;
    auto sectionLine = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        const auto section = SectionName(line);
        return section && SameName(*section, appName);
    });
    if (sectionLine == lines.end()) {
        lines.push_back(std::string("[") + appName + "]");
        lines.push_back(entry);
    } else {
        auto line = sectionLine + 1;
        auto lastEntry = sectionLine;
        for (; line != lines.end() && !SectionName(*line); ++line) {
            const auto equals = line->find('=');
            if (equals != std::string::npos &&
                SameName(Trim(std::string_view(*line).substr(0, equals)), keyName)) {
                *line = entry;
                break;
            }
            if (!Trim(*line).empty()) lastEntry = line;
        }
        if (line == lines.end() || SectionName(*line)) lines.insert(lastEntry + 1, entry);
    }
    std::string content;
    for (const std::string& line : lines) content += line + "\r\n";
    files[fileName] = content;
    return true;
}

Handle FakeKernel::CreateFileA(const char* fileName, std::uint32_t desiredAccess, std::uint32_t shareMode,
                               std::uint32_t creationDisposition) {
    log_.Add(Call("CreateFileA", Quote(fileName), desiredAccess, shareMode, creationDisposition));
    return files.count(fileName) ? ++nextFile_ : win::INVALID_HANDLE_VALUE;
}

std::uint32_t FakeKernel::GetFileAttributesW(const std::wstring& fileName) {
    return directories.count(fileName) ? win::FILE_ATTRIBUTE_DIRECTORY : win::INVALID_FILE_ATTRIBUTES;
}

bool FakeKernel::CloseHandle(Handle handle) {
    log_.Add(Call("CloseHandle", handle));
    return true;
}

int FakeKernel::MulDiv(int number, int numerator, int denominator) {
    log_.Add(Call("MulDiv", number, numerator, denominator));
    if (denominator == 0) return -1;
    // The system's rule: a 64-bit product, rounded half away from zero, -1 when it does not fit.
    const long long product = static_cast<long long>(number) * numerator;
    long long quotient = product / denominator;
    const long long remainder = product % denominator;
    if (2 * (remainder < 0 ? -remainder : remainder) >= (denominator < 0 ? -denominator : denominator)) {
        quotient += ((product < 0) != (denominator < 0)) ? -1 : 1;
    }
    if (quotient > 2147483647LL || quotient < -2147483648LL) return -1;
    return static_cast<int>(quotient);
}

Handle FakeKernel::CreateMutexA(void* attributes, bool initialOwner, const char* name) {
    log_.Add(Call("CreateMutexA", static_cast<const void*>(attributes), initialOwner, Quote(name)));
    lastError = mutexes.insert(name).second ? 0 : win::ERROR_ALREADY_EXISTS;
    return ++nextFile_;
}

Handle FakeKernel::OpenMutexA(std::uint32_t desiredAccess, bool inheritHandle, const char* name) {
    log_.Add(Call("OpenMutexA", desiredAccess, inheritHandle, Quote(name)));
    constexpr std::uint32_t kFileNotFound = 2;
    lastError = mutexes.count(name) ? 0 : kFileNotFound;
    return lastError == 0 ? ++nextFile_ : 0;
}

std::uint32_t FakeKernel::FormatMessageW(std::uint32_t flags, const void* source, std::uint32_t messageId,
                                         std::uint32_t languageId, wchar_t* buffer, std::uint32_t size) {
    log_.Add(Call("FormatMessageW", flags, source, messageId, languageId, size));
    const auto text = systemMessages.find(messageId);
    if (text == systemMessages.end() || text->second.size() >= size) return 0;
    std::copy(text->second.begin(), text->second.end(), buffer);
    buffer[text->second.size()] = L'\0';
    return static_cast<std::uint32_t>(text->second.size());
}

std::uint32_t FakeKernel::GetLastError() {
    log_.Add("GetLastError()");
    return lastError;
}

void FakeKernel::ExitProcess(std::uint32_t exitCode) {
    log_.Add(Call("ExitProcess", exitCode));
    throw ProcessExit{exitCode};
}

}  // namespace pelluna::testing
