// tests/e2e/e2e.h - what the end-to-end tests share: a running Ruvex, and logging it in.
#ifndef RUVEX_TESTS_E2E_E2E_H
#define RUVEX_TESTS_E2E_E2E_H

#include <gtest/gtest.h>

#include "../../app/resource.h"
#include "../harness/driver.h"

constexpr DWORD kExitLoginClosed = 0xFFFFFFFF;

// Each test starts its own ruvex.exe and ends it, whatever happened.
class RuvexTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetServer();
        ASSERT_TRUE(StartRuvex(&ruvex));
        login = WaitForWindow(ruvex, "Login");
        ASSERT_NE(login, nullptr) << "the login dialog did not appear";
    }
    void TearDown() override { EndRuvex(&ruvex); }

    // Types the three texts and presses Login.
    void TryLogin(const std::string &server, const std::string &userName, const std::string &password)
    {
        SetControlText(login, IDC_SERVER, server);
        SetControlText(login, IDC_USERNAME, userName);
        SetControlText(login, IDC_PASSWORD, password);
        PressButton(login, IDC_LOGIN);
    }

    // Logs in as the test server's user and returns the main window, with its first listing shown.
    HWND LogIn(const std::string &userName = "ruvex", const std::string &password = "secret")
    {
        TryLogin("127.0.0.1", userName, password);
        main = WaitForWindow(ruvex, "Ruvex");
        if (main != nullptr) {
            list = GetDlgItem(main, IDC_FILE_LIST);
            Settle(main);
        }
        return main;
    }

    RuvexProcess ruvex = {};
    HWND login = nullptr;
    HWND main = nullptr;
    HWND list = nullptr;
};

#endif
