#pragma once
// What a process (this one or another) holds: GDI objects, kernel handles and private memory.
// GetGuiResources and GetProcessHandleCount answer 0 under Wine, so the GDI count is read from the process's
// own GDI handle table (PEB -> GdiSharedHandleTable) and the handles from the system-wide handle list.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <vector>

namespace kpv::test {

// ntdll's queries, looked up at run time so the tests need no import library for them.
template <typename Fn>
Fn NtdllFunction(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

struct GdiHandleEntry {  // the layout of one entry of the 64-bit GDI handle table
    uint64_t object;
    uint16_t ownerProcessId;
    uint16_t ownerCount;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);

inline long GdiObjectCount(HANDLE process) {
    SetLastError(0);
    const DWORD reported = GetGuiResources(process, GR_GDIOBJECTS);
    if (reported != 0) return static_cast<long>(reported);
    PROCESS_BASIC_INFORMATION info{};
    ULONG got = 0;
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = NtdllFunction<QueryProcess>("NtQueryInformationProcess");
    if (!query || query(process, ProcessBasicInformation, &info, sizeof(info), &got) != 0) return -1;
    constexpr size_t kTableOffsetInPeb = 0xF8;
    uint64_t table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const uint8_t*>(info.PebBaseAddress) + kTableOffsetInPeb, &table,
                           sizeof(table), &read) || !table)
        return -1;
    std::vector<GdiHandleEntry> entries(0x10000);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(GdiHandleEntry), &read))
        return -1;
    const auto pid = static_cast<uint16_t>(GetProcessId(process));
    long count = 0;
    for (const auto& e : entries) {
        if (e.type != 0 && (e.ownerProcessId == 0 || e.ownerProcessId == pid)) ++count;
    }
    return count;
}

inline long HandleCount(HANDLE process) {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT handleValue;
        PVOID object;
        ACCESS_MASK access;
    };
    constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
    using QuerySystem = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    const auto querySystem = NtdllFunction<QuerySystem>("NtQuerySystemInformation");
    if (!querySystem) return -1;
    std::vector<uint8_t> buffer(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status = querySystem(kSystemHandleInformation, buffer.data(),
                                                         static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            const ULONG n = *reinterpret_cast<const ULONG*>(buffer.data());
            const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
            const DWORD pid = GetProcessId(process);
            long count = 0;
            for (ULONG i = 0; i < n; ++i) count += entries[i].ownerPid == pid ? 1 : 0;
            return count;
        }
        buffer.resize(buffer.size() * 4);
    }
    return -1;
}

// Committed private memory (Wine reports it as the page-file usage and leaves PrivateUsage at 0).
inline int64_t PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters)))
        return -1;
    return static_cast<int64_t>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

}  // namespace kpv::test
