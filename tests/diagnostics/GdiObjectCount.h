// Counts a process's live GDI objects from its GDI handle table (GetGuiResources gives 0 under Wine).
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace pelluna::diagnostics {

// One entry of the table that the PEB's GdiSharedHandleTable points at (Wine keeps Windows' layout).
// The low 16 bits of a handle index the table; the high 16 bits equal the entry's Unique.
struct GdiHandleEntry {
    std::uint64_t Object;
    std::uint16_t OwnerProcessId;
    std::uint16_t Count;
    std::uint16_t Unique;
    std::uint8_t Type;  // 0 for a free entry
    std::uint8_t Flags;
    std::uint64_t UserPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "the table's entries are 24 bytes");

constexpr std::size_t kGdiHandleTableEntries = 0x10000;
constexpr std::size_t kPebGdiSharedHandleTableOffset = 0xF8;  // in the 64-bit PEB

// The table's address in the process (opened with PROCESS_QUERY_INFORMATION | PROCESS_VM_READ).
inline std::optional<std::uint64_t> GdiHandleTableAddress(HANDLE process) {
    // Resolved at run time: ntdll's import library is not among the toolchain's defaults.
    using QueryInformation = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess");
    if (found == nullptr) return std::nullopt;
    const auto query = reinterpret_cast<QueryInformation>(reinterpret_cast<void*>(found));
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return std::nullopt;
    if (basic.PebBaseAddress == nullptr) return std::nullopt;

    std::uint64_t table = 0;
    SIZE_T read = 0;
    const auto* field =
        reinterpret_cast<const std::byte*>(basic.PebBaseAddress) + kPebGdiSharedHandleTableOffset;
    if (!::ReadProcessMemory(process, field, &table, sizeof table, &read) || read != sizeof table) {
        return std::nullopt;
    }
    if (table == 0) return std::nullopt;
    return table;
}

// A copy of the whole table; false when it cannot be read.
inline bool ReadGdiHandleTable(HANDLE process, std::vector<GdiHandleEntry>& entries) {
    const std::optional<std::uint64_t> address = GdiHandleTableAddress(process);
    if (!address) return false;
    entries.assign(kGdiHandleTableEntries, GdiHandleEntry{});
    const SIZE_T size = entries.size() * sizeof(GdiHandleEntry);
    SIZE_T read = 0;
    return ::ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(*address)),
                               entries.data(), size, &read) &&
           read == size;
}

// Entries in use. Under Wine each process has a table of its own and leaves the owner field 0, so
// every live entry is the process's own (stock objects included).
inline std::size_t CountLive(const std::vector<GdiHandleEntry>& entries) {
    std::size_t live = 0;
    for (const GdiHandleEntry& entry : entries) {
        if (entry.Type != 0) ++live;
    }
    return live;
}

inline std::optional<std::size_t> CountGdiObjects(HANDLE process) {
    std::vector<GdiHandleEntry> entries;
    if (!ReadGdiHandleTable(process, entries)) return std::nullopt;
    return CountLive(entries);
}

}  // namespace pelluna::diagnostics
