// tests/e2e/test_system_libraries.cpp - the libraries Ruvex loads come from the system folder
// only, and one that cannot be had leads to the program's usual way out.
#include "e2e.h"

// While it lives, Wine chooses between its own copy of each library and a native file
// (`order`: "native,builtin", or "" for neither) as told for programs named ruvex.exe.
struct LoadOrder {
    LoadOrder(const Texts &libraries, const char *order)
    {
        HKEY key = nullptr;
        RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key);
        for (const std::string &library : libraries)
            RegSetValueExA(key, library.c_str(), 0, REG_SZ, (const BYTE *)order, strlen(order) + 1);
        RegCloseKey(key);
    }
    ~LoadOrder() { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }
    static constexpr const char *kKey = "Software\\Wine\\AppDefaults\\ruvex.exe\\DllOverrides";
};

// Planted files (tests/e2e/planted_library.cpp) record being loaded. Wine is told to prefer
// them, as Windows does a file beside the program for every library it does not protect. mpr.dll
// is one WinINet imports, which a planted manifest sends to the program's folder.
TEST_F(E2e, PlantedLibrariesAreNeverLoadedAndAMissingOneFailsAsItsFunctionsWould)
{
    const std::string folder = FreshFolder(Local("downloads")), exe = folder + "\\ruvex.exe";
    CopyFileA(SessionPath("RUVEX_EXE").c_str(), exe.c_str(), FALSE);
    for (const char *name : {"comctl32.dll", "wininet.dll", "comdlg32.dll", "mpr.dll"})
        CopyFileA(SessionPath("RUVEX_PLANTED_LIBRARY").c_str(), (folder + "\\" + name).c_str(), FALSE);
    WriteLocalFile(exe + ".manifest", "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
                   "<assemblyIdentity type=\"win32\" name=\"p\" version=\"1.0.0.0\"/><file name=\"mpr.dll\"/></assembly>");
    WriteLocalFile(FtpRootPath("notes.txt"), "x");
    EndRuvex(&ruvex);
    {
        const LoadOrder nativeFirst({"comctl32", "wininet", "comdlg32", "mpr"}, "native,builtin");
        ASSERT_TRUE(StartRuvex(&ruvex, exe) && LogIn(&ruvex));
        EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "notes.txt"}));
        ASSERT_TRUE(Choose(ruvex, OpenChooser(ruvex, ""), "") && Choose(ruvex, OpenChooser(ruvex, "notes.txt"), ""));
        EndRuvex(&ruvex);
        EXPECT_EQ(LocalFolderNames(folder), (Texts{"comctl32.dll", "comdlg32.dll", "mpr.dll", "ruvex.exe",
                                                   "ruvex.exe.manifest", "wininet.dll"}));
    }
    const LoadOrder none({"wininet"}, "");
    ASSERT_TRUE(StartRuvex(&ruvex));
    TypeLogin(ruvex, "127.0.0.1", "ruvex", "secret");
    EXPECT_EQ(ReadMessageBox(ruvex, "Error!", nullptr),
              "Could not login! Make sure server, username, and password are correct and try again.");
    CloseByCloseBox(ruvex.login);
    EXPECT_EQ(WaitForExit(ruvex), 0xFFFFFFFFu) << "closing the login window";
}
