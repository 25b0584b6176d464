#include "tests/win32/support/record_guard.h"

#include <cstring>
#include <map>

#include "tests/win32/support/import_hooks.h"

namespace {

constexpr size_t kGuard = 16;
constexpr BYTE kPattern = 0xA5;

decltype(&HeapAlloc) g_nextAlloc = nullptr;
decltype(&HeapFree) g_nextFree = nullptr;
std::map<BYTE*, SIZE_T> g_live;  // the address handed out, the size asked for
long g_damaged = 0;

bool Intact(BYTE* user, SIZE_T size)
{
    for (size_t i = 0; i < kGuard; ++i)
        if (user[-1 - static_cast<ptrdiff_t>(i)] != kPattern || user[size + i] != kPattern)
            return false;
    return true;
}

LPVOID WINAPI GuardedAlloc(HANDLE heap, DWORD flags, SIZE_T bytes)
{
    auto* base = static_cast<BYTE*>(g_nextAlloc(heap, flags, bytes + 2 * kGuard));
    if (base == nullptr)
        return nullptr;
    std::memset(base, kPattern, kGuard);
    std::memset(base + kGuard + bytes, kPattern, kGuard);
    g_live[base + kGuard] = bytes;
    return base + kGuard;
}

BOOL WINAPI GuardedFree(HANDLE heap, DWORD flags, LPVOID block)
{
    auto it = g_live.find(static_cast<BYTE*>(block));
    if (it == g_live.end())
        return g_nextFree(heap, flags, block);
    g_damaged += Intact(it->first, it->second) ? 0 : 1;
    BYTE* base = it->first - kGuard;
    g_live.erase(it);
    return g_nextFree(heap, flags, base);
}

}  // namespace

void CalGuardInstall(HMODULE module)
{
    g_nextAlloc = reinterpret_cast<decltype(&HeapAlloc)>(
        CalTestPatchImport(module, "kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(GuardedAlloc)));
    g_nextFree = reinterpret_cast<decltype(&HeapFree)>(
        CalTestPatchImport(module, "kernel32.dll", "HeapFree", reinterpret_cast<void*>(GuardedFree)));
}

long CalGuardDamaged()
{
    return g_damaged;
}

long CalGuardCheck()
{
    for (auto& [user, size] : g_live)
        if (!Intact(user, size)) {
            ++g_damaged;
            std::memset(user - kGuard, kPattern, kGuard);  // counted once
            std::memset(user + size, kPattern, kGuard);
        }
    return static_cast<long>(g_live.size());
}
