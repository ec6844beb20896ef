// tests/e2e/e2e.h - what the end-to-end tests share: a fresh server and a running Ruvex.
#ifndef RUVEX_TESTS_E2E_E2E_H
#define RUVEX_TESTS_E2E_E2E_H

#include <gtest/gtest.h>

#include "../harness/driver.h"

static const char kParent[] = "Up to parent directory";

// While it lives, ruvex.exe gets these libraries in this `order` ("native,builtin"; "" for none).
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

// Each test starts with an empty server root and local folder and its own ruvex.exe at the login window.
class E2e : public testing::Test {
protected:
    void SetUp() override
    {
        ResetServer();
        local = FreshFolder(SessionPath("RUVEX_SESSION_DIR") + "\\local");
        ASSERT_TRUE(StartRuvex(&ruvex, ExeToStart())) << "no login window";
    }
    virtual std::string ExeToStart() { return SessionPath("RUVEX_EXE"); }
    void TearDown() override { EndRuvex(&ruvex); }

    std::string Local(const std::string &name) const { return local + "\\" + name; }
    Texts SentSince(size_t mark) const  // the client's commands after the first `mark`
    { const Texts all = ClientCommands(); return Texts(all.begin() + std::min(mark, all.size()), all.end()); }

    // The browser's messages have the caption "Error" and the main window as owner.
    std::string ErrorBoxText() { return ReadMessageBox(ruvex, "Error", ruvex.main); }
    void ExpectNoMessageBox() { EXPECT_EQ(ReadMessageBox(ruvex, "", nullptr, 300), "<no message box>"); }

    Ruvex ruvex = {};
    std::string local;
};

#endif
