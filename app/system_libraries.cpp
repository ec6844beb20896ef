// app/system_libraries.cpp - loading system libraries by full path and binding the functions
// of app/system_libraries.h on their first call.
#include "system_libraries.h"

#include <cstring>

#include "../names/names.h"

HMODULE LoadSystemLibrary(const char *fileName)
{
    char path[MAX_PATH];
    const size_t folderLength = GetSystemDirectoryA(path, sizeof path);
    // A path that would be cut names another file: better none.
    if (folderLength == 0 || folderLength + 1 + std::strlen(fileName) >= sizeof path)
        return nullptr;
    path[folderLength] = '\\';
    CopyTextToBuffer(path + folderLength + 1, sizeof path - folderLength - 1, fileName);
    // Without the flag, the library's own imports would be looked for first beside ruvex.exe.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

struct SystemLibrary {
    const char *fileName;
    HMODULE module;  // null until one of its functions is first called
};

static SystemLibrary g_comctl32 = {"comctl32.dll", nullptr};
static SystemLibrary g_wininet = {"wininet.dll", nullptr};
static SystemLibrary g_comdlg32 = {"comdlg32.dll", nullptr};
static SystemLibrary g_kernel32 = {"kernel32.dll", nullptr};

// Null when the library cannot be loaded or lacks the function; the next call tries again.
static FARPROC FindSystemFunction(SystemLibrary *library, const char *name)
{
    if (library->module == nullptr)
        library->module = LoadSystemLibrary(library->fileName);
    return library->module == nullptr ? nullptr : GetProcAddress(library->module, name);
}

// The stub that stands in `*pointer` until the first call: it puts the function `name` of
// `library` in the pointer and passes the call on, or answers `failure`, of the function's own
// result type, when it cannot be had. Its parameters are those of the pointer's type: a stub
// of another type would unbalance the stack of every 32-bit call.
template <typename Function> struct Binding;
template <typename Result, typename... Parameters> struct Binding<Result(WINAPI *)(Parameters...)> {
    typedef Result(WINAPI *Function)(Parameters...);
    template <Function *pointer, SystemLibrary *library, const char *name, Result failure>
    static Result WINAPI BindAndCall(Parameters... arguments)
    {
        const FARPROC address = FindSystemFunction(library, name);
        if (address == nullptr)
            return failure;
        *pointer = (Function)(void (*)())address;
        return (*pointer)(arguments...);
    }
};

#define RUVEX_DEFINE_POINTER(library, name, failure)                                        \
    static const char kName_##name[] = #name;                                               \
    decltype(&::name) p_##name =                                                            \
        Binding<decltype(&::name)>::BindAndCall<&p_##name, &g_##library, kName_##name, failure>;
RUVEX_SYSTEM_FUNCTIONS(RUVEX_DEFINE_POINTER)
RUVEX_OPTIONAL_SYSTEM_FUNCTIONS(RUVEX_DEFINE_POINTER)

// The choosers move the current folder wherever the person browses, a share or a USB stick
// among them; where SetDefaultDllDirectories is missing, it stays in the search unless taken out.
void RestrictLibrarySearchToSystemFolder()
{
    (void)p_SetDllDirectoryA("");
    (void)p_SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
