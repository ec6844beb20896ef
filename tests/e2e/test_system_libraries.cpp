// tests/e2e/test_system_libraries.cpp - the libraries Ruvex loads come from the system folder
// only, and one that cannot be had leads to the program's usual way out.
#include "e2e.h"

// While it lives, Wine chooses between its own copy of each library and a native file
// (`order`: "native,builtin", or "" to load neither) as told for programs named ruvex.exe.
// Wine reads it when the program starts.
struct LoadOrder {
    LoadOrder(const Texts &libraries, const char *order)
    {
        HKEY overrides = nullptr;
        RegCreateKeyA(HKEY_CURRENT_USER, kKey, &overrides);
        for (const std::string &library : libraries)
            RegSetValueExA(overrides, library.c_str(), 0, REG_SZ, (const BYTE *)order, strlen(order) + 1);
        RegCloseKey(overrides);
    }
    ~LoadOrder() { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }
    static constexpr const char *kKey = "Software\\Wine\\AppDefaults\\ruvex.exe\\DllOverrides";
};

// Wine is told to prefer a native file to its own copy, as Windows does for every library it
// does not protect, so a planted file would be loaded if the program looked for it by name.
TEST_F(E2e, LibrariesPlantedBesideTheProgramAreNeverLoaded)
{
    const std::string folder = FreshFolder(Local("downloads")), exe = folder + "\\ruvex.exe";
    char tests[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, tests, MAX_PATH);
    const std::string planted = std::filesystem::path(tests).parent_path().string() + "\\planted_library.dll";
    CopyFileA(SessionPath("RUVEX_EXE").c_str(), exe.c_str(), FALSE);
    for (const char *name : {"comctl32.dll", "wininet.dll", "comdlg32.dll"})
        CopyFileA(planted.c_str(), (folder + "\\" + name).c_str(), FALSE);
    WriteLocalFile(FtpRootPath("notes.txt"), "x");
    const LoadOrder nativeFirst({"comctl32", "wininet", "comdlg32"}, "native,builtin");
    EndRuvex(&ruvex);
    ASSERT_TRUE(StartRuvex(&ruvex, exe) && LogIn(&ruvex));
    EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "notes.txt"}));
    ASSERT_TRUE(Choose(ruvex, OpenChooser(ruvex, ""), "") && Choose(ruvex, OpenChooser(ruvex, "notes.txt"), ""));
    CloseByCloseBox(ruvex.main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
    EXPECT_EQ(LocalFolderNames(folder), (Texts{"comctl32.dll", "comdlg32.dll", "ruvex.exe", "wininet.dll"}));
}

TEST_F(E2e, ALibraryThatCannotBeLoadedFailsAsItsFunctionsWould)
{
    EndRuvex(&ruvex);
    {
        const LoadOrder noWinInet({"wininet"}, "");
        ASSERT_TRUE(StartRuvex(&ruvex));
        TypeLogin(ruvex, "127.0.0.1", "ruvex", "secret");
        EXPECT_EQ(ReadMessageBox(ruvex, "Error!", nullptr),
                  "Could not login! Make sure server, username, and password are correct and try again.");
    }
    WriteLocalFile(FtpRootPath("notes.txt"), "x");
    EndRuvex(&ruvex);
    const LoadOrder noDialogs({"comdlg32"}, "");
    ASSERT_TRUE(StartRuvex(&ruvex) && LogIn(&ruvex));
    ASSERT_TRUE(Press(ruvex, IDC_UPLOAD) && ClickEntry(ruvex, "notes.txt", true));
    EXPECT_EQ(VisibleWindows(ruvex), std::vector<HWND>{ruvex.main}) << "a chooser showed";
    EXPECT_EQ(CountStartingWith(ClientCommands(), "STOR") + CountStartingWith(ClientCommands(), "RETR"), 0u);
    CloseByCloseBox(ruvex.main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
}
