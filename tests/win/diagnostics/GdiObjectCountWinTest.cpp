// The GDI object counter against real GDI: pens made and deleted, counted in this process and by the helper.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "../../diagnostics/GdiObjectCount.h"
#include "common/Numbers.h"

namespace pelluna::diagnostics {
namespace {

// Pens that live as long as the object, each of its own colour.
class Pens {
  public:
    explicit Pens(int count) {
        for (int i = 0; i < count; ++i) pens_.push_back(::CreatePen(PS_SOLID, 0, RGB(i % 256, i / 256, 7)));
    }
    ~Pens() { DeleteAll(); }
    Pens(const Pens&) = delete;
    Pens& operator=(const Pens&) = delete;

    void DeleteAll() {
        for (HPEN pen : pens_) ::DeleteObject(pen);
        pens_.clear();
    }
    const std::vector<HPEN>& handles() const { return pens_; }

  private:
    std::vector<HPEN> pens_;
};

// This process's count as the helper program reads it from outside, through a pipe.
std::optional<std::size_t> CountFromHelper() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    std::wstring helper(path, length);
    helper = helper.substr(0, helper.find_last_of(L'\\') + 1) + L"e2e\\pelluna_gdi_count.exe";
    std::wstring commandLine = L"\"" + helper + L"\" " + std::to_wstring(::GetCurrentProcessId());

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return std::nullopt;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(helper.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                          nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[256];
        DWORD read = 0;
        while (::ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
            output.append(buffer, read);
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(readEnd);

    const std::string key = "gdi_objects ";
    const std::size_t at = output.find(key);
    if (at == std::string::npos) return std::nullopt;
    const std::size_t first = at + key.size();
    const std::string digits = output.substr(first, output.find_first_not_of("0123456789", first) - first);
    const auto value = numbers::ParseDecimal(std::wstring(digits.begin(), digits.end()));
    if (!value || *value < 0) return std::nullopt;
    return static_cast<std::size_t>(*value);
}

std::optional<std::size_t> CountInProcess() {
    return CountGdiObjects(::GetCurrentProcess());
}

// A pen's entry is the one its handle's low word indexes, carrying the handle's high word as Unique; it
// is free again once the pen is deleted. This pins the table's layout, not only its totals.
TEST(GdiObjectCountWin, APensEntryMatchesItsHandleWhileItLives) {
    Pens pens(3);
    std::vector<GdiHandleEntry> table;
    ASSERT_TRUE(ReadGdiHandleTable(::GetCurrentProcess(), table));
    std::vector<std::size_t> indexes;
    for (HPEN pen : pens.handles()) {
        const auto value = reinterpret_cast<std::uintptr_t>(pen);
        const std::size_t index = value & 0xFFFF;
        indexes.push_back(index);
        EXPECT_NE(table[index].Type, 0) << "entry " << index;
        EXPECT_EQ(table[index].Unique, (value >> 16) & 0xFFFF) << "entry " << index;
        EXPECT_NE(table[index].Object, 0u) << "entry " << index;
    }
    pens.DeleteAll();
    ASSERT_TRUE(ReadGdiHandleTable(::GetCurrentProcess(), table));
    for (std::size_t index : indexes) EXPECT_EQ(table[index].Type, 0) << "entry " << index;
}

TEST(GdiObjectCountWin, CountRisesByExactlyNAfterNPensAndFallsBackAfterDeleteObject) {
    struct Reader {
        const char* name;
        std::optional<std::size_t> (*count)();
    };
    const Reader readers[] = {{"this process", &CountInProcess},
                              {"the helper, from outside", &CountFromHelper}};
    for (const Reader& reader : readers) {
        for (int n : {1, 7, 96, 500}) {
            SCOPED_TRACE(std::string(reader.name) + ", " + std::to_string(n) + " pens");
            const std::optional<std::size_t> before = reader.count();
            ASSERT_TRUE(before.has_value());
            Pens pens(n);
            const std::optional<std::size_t> during = reader.count();
            pens.DeleteAll();
            const std::optional<std::size_t> after = reader.count();
            ASSERT_TRUE(during.has_value());
            ASSERT_TRUE(after.has_value());
            EXPECT_EQ(*during, *before + static_cast<std::size_t>(n));
            EXPECT_EQ(*after, *before);
        }
    }
}

}  // namespace
}  // namespace pelluna::diagnostics
