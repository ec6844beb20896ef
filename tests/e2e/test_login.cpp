// tests/e2e/test_login.cpp - logging in against the real server, and the exit codes.
#include "e2e.h"

TEST_F(E2e, LoginIsRetriedUntilItSucceedsAndClosingTheMainWindowExitsWithZero)
{
    for (int id : {IDC_SERVER, IDC_USERNAME, IDC_PASSWORD}) {
        PressKey(GetDlgItem(ruvex.login, id), VK_RETURN);
        PressKey(GetDlgItem(ruvex.login, id), VK_ESCAPE);
    }
    Settle(ruvex.login);
    EXPECT_EQ(VisibleWindows(ruvex), std::vector<HWND>{ruvex.login}) << "Enter or Escape acted";

    TypeLogin(ruvex, "127.0.0.1", "ruvex", "wrong");
    // The refusal's box has no owner, and the login window stays for the next try.
    EXPECT_EQ(ReadMessageBox(ruvex, "Error!", nullptr, 60000),
              "Could not login! Make sure server, username, and password are correct and try again.");
    EXPECT_EQ(ControlText(ruvex.login, IDC_USERNAME) + ControlText(ruvex.login, IDC_PASSWORD), "ruvexwrong");

    ASSERT_TRUE(LogIn(&ruvex, "", ""));  // empty texts log in anonymously
    CloseByCloseBox(ruvex.main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
    EXPECT_TRUE(WaitUntil([] { return ServerLog().back() == "DISCONNECT"; }));  // no QUIT is sent
}
