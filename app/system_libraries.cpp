// app/system_libraries.cpp - loading system libraries by full path and binding the functions
// of app/system_libraries.h on their first call.
#include "system_libraries.h"

#include <cstring>
#include <type_traits>

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

// Each pointer's type is written out in the header; the SDK's own declaration checks it, since a
// wrong parameter list would unbalance the stack of every call.
#define RUVEX_DEFINE_POINTER(library, result, name, parameters, arguments, failure)                 \
    static result WINAPI BindAndCall_##name parameters                                              \
    {                                                                                               \
        const FARPROC address = FindSystemFunction(&g_##library, #name);                            \
        if (address == nullptr)                                                                     \
            return failure;                                                                         \
        p_##name = (result(WINAPI *) parameters)(void (*)())address;                                \
        return p_##name arguments;                                                                  \
    }                                                                                               \
    result(WINAPI *p_##name) parameters = BindAndCall_##name;                                       \
    static_assert(std::is_same<decltype(p_##name), decltype(&::name)>::value, #name " has another type");
RUVEX_SYSTEM_FUNCTIONS(RUVEX_DEFINE_POINTER)
RUVEX_OPTIONAL_SYSTEM_FUNCTIONS(RUVEX_DEFINE_POINTER)

// The choosers move the current folder wherever the person browses, a share or a USB stick
// among them; where SetDefaultDllDirectories is missing, it stays in the search unless taken out.
void RestrictLibrarySearchToSystemFolder()
{
    (void)p_SetDllDirectoryA("");
    (void)p_SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
