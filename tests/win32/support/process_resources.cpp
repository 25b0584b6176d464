#include "tests/win32/support/process_resources.h"

CalHeapTotals CalProcessHeapTotals()
{
    CalHeapTotals t;
    HANDLE heap = GetProcessHeap();
    if (!HeapLock(heap))
        return t;
    PROCESS_HEAP_ENTRY e{};
    while (HeapWalk(heap, &e)) {
        if ((e.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) {
            ++t.blocks;
            t.bytes += e.cbData;
        }
    }
    t.walked = GetLastError() == ERROR_NO_MORE_ITEMS;
    HeapUnlock(heap);
    return t;
}

std::vector<DWORD> CalGraphicsTable()
{
    std::vector<DWORD> types(0x10000);
    for (ULONG_PTR index = 1; index < types.size(); ++index)
        types[index] = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
    return types;
}

long CalLiveGraphicsObjects()
{
    long live = 0;
    for (DWORD type : CalGraphicsTable())
        live += type != 0 ? 1 : 0;
    return live;
}
