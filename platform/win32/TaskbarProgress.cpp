#include "platform/win32/TaskbarProgress.h"

#include <cstring>
#include <objbase.h>
#include <shobjidl.h>

namespace brenvik {

namespace {

// Spelled out here: the import library that defines them would tie the program to one more file.
constexpr CLSID TaskbarListClass = {0x56FDF344, 0xFD6D, 0x11d0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};
constexpr IID TaskbarList3Interface = {0xea1afb91, 0x9e28, 0x4b86, {0x90, 0xe9, 0x9e, 0x9f, 0x8a, 0x5e, 0xef, 0xaf}};

template <typename Function>
Function bound(HMODULE module, const char* name) {
    Function function = nullptr;
    const FARPROC address = GetProcAddress(module, name);
    std::memcpy(&function, &address, sizeof function);
    return function;
}

} // namespace

TaskbarProgress::~TaskbarProgress() {
    if (list_)
        static_cast<ITaskbarList3*>(list_)->Release();
}

bool TaskbarProgress::ready() {
    if (tried_)
        return list_ != nullptr;
    tried_ = true;
    HMODULE ole = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!ole)
        return false;
    const auto initialize = bound<decltype(&CoInitializeEx)>(ole, "CoInitializeEx");
    const auto create = bound<decltype(&CoCreateInstance)>(ole, "CoCreateInstance");
    if (!initialize || !create)
        return false;
    // The window's thread, as a single-threaded apartment: a second call for it changes nothing.
    const HRESULT started = initialize(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(started) && started != RPC_E_CHANGED_MODE)
        return false;
    ITaskbarList3* list = nullptr;
    if (FAILED(create(TaskbarListClass, nullptr, CLSCTX_INPROC_SERVER, TaskbarList3Interface,
                      reinterpret_cast<void**>(&list))) ||
        !list)
        return false;
    if (FAILED(list->HrInit())) {
        list->Release();
        return false;
    }
    list_ = list;
    return true;
}

void TaskbarProgress::show(HWND window, int done, int total) {
    if (!window || !ready())
        return;
    auto* list = static_cast<ITaskbarList3*>(list_);
    if (total <= 0) {
        if (shown_)
            list->SetProgressState(window, TBPF_NOPROGRESS);
        shown_ = false;
        return;
    }
    if (!shown_)
        list->SetProgressState(window, TBPF_NORMAL);
    shown_ = true;
    list->SetProgressValue(window, static_cast<ULONGLONG>(done), static_cast<ULONGLONG>(total));
}

} // namespace brenvik
