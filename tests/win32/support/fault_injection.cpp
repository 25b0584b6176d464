#include "tests/win32/support/fault_injection.h"

#include <cstdio>
#include <deque>

#include "tests/win32/support/fault_table.h"

namespace {

template <typename T> T* At(HMODULE module, DWORD rva)
{
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

// One routed import. The dispatcher below reads the first three fields by
// offset: keep them first and in this order.
struct Route {
    void* next;       // 0: where a call that is not failed goes
    DWORD popBytes;   // 4: the argument bytes a failed __stdcall call removes
    DWORD failValue;  // 8: the result of a failed call
    const CalFaultEntry* entry;
    std::string name;
};

struct State {
    DWORD thread = 0;
    long failAt = 0;
    bool fromThereOn = false;
    CalFaultCounts counts;
};

State& g_state = *new State;
// Stable addresses for the thunks, never destroyed: a window of the library
// may still call through a thunk while the process exits.
std::deque<Route>& g_routes = *new std::deque<Route>;
BYTE* g_thunks = nullptr;
size_t g_thunksUsed = 0;
constexpr size_t kThunkBytes = 10;
constexpr size_t kThunkSpace = 256 * 1024;

}  // namespace

// Called by the dispatcher for every routed call: non-zero fails it.
extern "C" int __cdecl CalFaultDecide(Route* route)
{
    State& s = g_state;
    if (GetCurrentThreadId() != s.thread)
        return 0;
    ++s.counts.calls;
    if (route->entry->kind != CalFaultKind::Fails)
        return 0;
    const long index = ++s.counts.failable;
    if (s.failAt == 0 || !(index == s.failAt || (s.fromThereOn && index > s.failAt)))
        return 0;
    if (s.counts.failed++ == 0)
        s.counts.firstFailed = route->name + " (call " + std::to_string(index) + ")";
    SetLastError(route->entry->lastError);
    return 1;
}

// The shared body of every thunk. A thunk pushes its Route and jumps here;
// the call's arguments and return address lie above it. ecx and edx are kept
// for the real function although no import reads them.
asm(R"(
    .text
    .globl _CalFaultDispatch
_CalFaultDispatch:
    pushl %ecx
    pushl %edx
    pushl 8(%esp)
    call _CalFaultDecide
    addl $4, %esp
    popl %edx
    popl %ecx
    testl %eax, %eax
    jnz 1f
    popl %eax
    jmp *(%eax)
1:
    popl %ecx
    popl %edx
    addl 4(%ecx), %esp
    movl 8(%ecx), %eax
    jmp *%edx
)");
extern "C" void CalFaultDispatch();

namespace {

void* MakeThunk(Route* route)
{
    if (g_thunks == nullptr)
        g_thunks = static_cast<BYTE*>(
            VirtualAlloc(nullptr, kThunkSpace, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (g_thunks == nullptr || g_thunksUsed + kThunkBytes > kThunkSpace)
        return nullptr;
    BYTE* t = g_thunks + g_thunksUsed;
    g_thunksUsed += kThunkBytes;
    t[0] = 0x68;  // push imm32
    *reinterpret_cast<Route**>(t + 1) = route;
    t[5] = 0xE9;  // jmp rel32
    *reinterpret_cast<LONG*>(t + 6) =
        static_cast<LONG>(reinterpret_cast<BYTE*>(&CalFaultDispatch) - (t + kThunkBytes));
    FlushInstructionCache(GetCurrentProcess(), t, kThunkBytes);
    return t;
}

// Calls visit(dll, name, slot) for every import of the module by name.
template <typename Visit> void ForEachImport(HMODULE module, Visit visit)
{
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = At<IMAGE_NT_HEADERS>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return;
    for (auto* imp = At<IMAGE_IMPORT_DESCRIPTOR>(module, dir.VirtualAddress); imp->Name != 0; ++imp) {
        auto* names =
            At<IMAGE_THUNK_DATA>(module, imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk);
        auto* slots = At<IMAGE_THUNK_DATA>(module, imp->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            const char* name = nullptr;
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                name = reinterpret_cast<const char*>(
                    At<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData))->Name);
            visit(At<char>(module, imp->Name), name, &slots->u1.Function);
        }
    }
}

void Store(ULONG_PTR* slot, void* value)
{
    DWORD old;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = reinterpret_cast<ULONG_PTR>(value);
    VirtualProtect(slot, sizeof *slot, old, &old);
}

std::function<void(const std::string&)>& g_crashReport = *new std::function<void(const std::string&)>;

LONG CALLBACK OnException(EXCEPTION_POINTERS* e)
{
    const DWORD code = e->ExceptionRecord->ExceptionCode;
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
        case EXCEPTION_ILLEGAL_INSTRUCTION:
        case EXCEPTION_PRIV_INSTRUCTION:
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
        case EXCEPTION_STACK_OVERFLOW:
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        case 0xC0000374:  // heap corruption
        case 0xC0000409:  // stack buffer overrun
            break;
        default:
            return EXCEPTION_CONTINUE_SEARCH;
    }
    char what[160];
    std::snprintf(what, sizeof what, "exception 0x%08lX at %p", code, e->ExceptionRecord->ExceptionAddress);
    const CalFaultCounts c = g_state.counts;
    std::string text = what;
    text += c.firstFailed.empty() ? ", with no call failed" : ", after failing " + c.firstFailed;
    if (g_crashReport)
        g_crashReport(text);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

HMODULE CalLoadUnresolved(const char* path)
{
    return LoadLibraryExA(path, nullptr, DONT_RESOLVE_DLL_REFERENCES);
}

bool CalBindImports(HMODULE module)
{
    bool ok = true;
    ForEachImport(module, [&](const char* dll, const char* name, ULONG_PTR* slot) {
        HMODULE system = LoadLibraryA(dll);
        void* target = system != nullptr && name != nullptr
            ? reinterpret_cast<void*>(GetProcAddress(system, name))
            : nullptr;
        ok = ok && target != nullptr;
        Store(slot, target);
    });
    return ok;
}

BOOL CalCallEntry(HMODULE module, DWORD reason)
{
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = At<IMAGE_NT_HEADERS>(module, static_cast<DWORD>(dos->e_lfanew));
    if (nt->OptionalHeader.AddressOfEntryPoint == 0)
        return TRUE;
    auto entry = reinterpret_cast<BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID)>(
        At<BYTE>(module, nt->OptionalHeader.AddressOfEntryPoint));
    return entry(module, reason, nullptr);
}

std::vector<std::string> CalFaultInstall(HMODULE module)
{
    if (g_state.thread == 0)
        g_state.thread = GetCurrentThreadId();
    std::vector<std::string> unknown;
    ForEachImport(module, [&](const char* dll, const char* name, ULONG_PTR* slot) {
        const CalFaultEntry* entry = name != nullptr ? CalFaultFind(name) : nullptr;
        if (entry == nullptr) {
            unknown.push_back(std::string(dll) + "!" + (name != nullptr ? name : "(by ordinal)"));
            return;
        }
        if (entry->kind == CalFaultKind::Data)
            return;
        Route& route = g_routes.emplace_back(
            Route{reinterpret_cast<void*>(*slot), entry->argBytes, entry->failValue, entry, name});
        if (void* thunk = MakeThunk(&route))
            Store(slot, thunk);
        else
            unknown.push_back(std::string(name) + " (no room for its thunk)");
    });
    return unknown;
}

void CalFaultArm(long failAt, bool fromThereOn)
{
    g_state.thread = GetCurrentThreadId();
    g_state.failAt = failAt;
    g_state.fromThereOn = fromThereOn;
    g_state.counts = CalFaultCounts{};
}

void CalFaultDisarm()
{
    g_state.failAt = 0;
    g_state.fromThereOn = false;
}

CalFaultCounts CalFaultSnapshot()
{
    return g_state.counts;
}

void CalFaultCatchCrashes(std::function<void(const std::string&)> report)
{
    g_crashReport = std::move(report);
    static PVOID handler = AddVectoredExceptionHandler(1, OnException);
    (void)handler;
}
