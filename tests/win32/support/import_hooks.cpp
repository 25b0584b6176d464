#include "tests/win32/support/import_hooks.h"

namespace {

template <typename T> T* At(HMODULE module, DWORD rva)
{
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

}  // namespace

void* CalTestPatchImport(HMODULE module, const char* dll, const char* function, void* replacement)
{
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = At<IMAGE_NT_HEADERS>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return nullptr;
    for (auto* imp = At<IMAGE_IMPORT_DESCRIPTOR>(module, dir.VirtualAddress); imp->Name != 0; ++imp) {
        if (lstrcmpiA(At<char>(module, imp->Name), dll) != 0)
            continue;
        auto* names =
            At<IMAGE_THUNK_DATA>(module, imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk);
        auto* slots = At<IMAGE_THUNK_DATA>(module, imp->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = At<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) != 0)
                continue;
            DWORD oldProtect;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &oldProtect);
            void* previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, oldProtect, &oldProtect);
            return previous;
        }
    }
    return nullptr;
}
