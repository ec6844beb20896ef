// tests/e2e/test_login.cpp - logging in against the real server, and the exit codes.
#include "e2e.h"

#include <algorithm>

static const char kLoginFailed[] =
    "Could not login! Make sure server, username, and password are correct and try again.";

TEST_F(RuvexTest, WrongPasswordIsReportedThenTheRightOneLogsIn)
{
    SetControlText(login, IDC_SERVER, "127.0.0.1");
    SetControlText(login, IDC_USERNAME, "ruvex");
    SaveScreenshot(login, "login-window");
    TryLogin("127.0.0.1", "ruvex", "wrong");
    MessageBoxSeen box = {};
    ASSERT_TRUE(WaitForMessageBox(ruvex, &box));
    EXPECT_EQ(box.caption, "Error!");
    EXPECT_EQ(box.text, kLoginFailed);
    EXPECT_EQ(box.owner, nullptr);
    DismissMessageBox(box);

    ASSERT_TRUE(IsWindowVisible(login));
    EXPECT_EQ(ControlText(login, IDC_SERVER), "127.0.0.1");
    EXPECT_EQ(ControlText(login, IDC_USERNAME), "ruvex");
    EXPECT_EQ(ControlText(login, IDC_PASSWORD), "wrong");

    SetControlText(login, IDC_PASSWORD, "secret");
    PressButton(login, IDC_LOGIN);
    main = WaitForWindow(ruvex, "Ruvex");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitForWindowGone(login));
}

TEST_F(RuvexTest, EmptyUserNameAndPasswordLogInAnonymously)
{
    ASSERT_NE(LogIn("", ""), nullptr);
    EXPECT_EQ(CountCommandsStartingWith("USER anonymous"), 1u);
}

TEST_F(RuvexTest, LongUserNameReachesTheServerCutTo254)
{
    TryLogin("127.0.0.1", std::string(300, 'u'), "pw");
    MessageBoxSeen box = {};
    ASSERT_TRUE(WaitForMessageBox(ruvex, &box));
    DismissMessageBox(box);
    const std::vector<std::string> commands = ServerCommands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "USER " + std::string(254, 'u')), 1);
}

TEST_F(RuvexTest, EnterAndEscapeDoNothing)
{
    SetControlText(login, IDC_SERVER, "127.0.0.1");
    SetControlText(login, IDC_USERNAME, "ruvex");
    SetControlText(login, IDC_PASSWORD, "secret");
    for (int id : {IDC_SERVER, IDC_USERNAME, IDC_PASSWORD}) {
        PressKey(GetDlgItem(login, id), VK_RETURN);
        PressKey(GetDlgItem(login, id), VK_ESCAPE);
    }
    Settle(login);
    EXPECT_TRUE(IsWindowVisible(login));
    EXPECT_TRUE(VisibleWindows(ruvex, "Ruvex").empty());
    EXPECT_EQ(CountCommandsStartingWith("USER"), 0u);
    EXPECT_EQ(WaitForExit(ruvex, 0), STILL_ACTIVE);
}

TEST_F(RuvexTest, ClosingTheLoginDialogEndsWithMinusOne)
{
    CloseByCloseBox(login);
    EXPECT_EQ(WaitForExit(ruvex), kExitLoginClosed);
}

TEST_F(RuvexTest, ClosingTheLoginDialogAfterAFailedAttemptEndsWithMinusOne)
{
    TryLogin("127.0.0.1", "nobody", "nothing");
    MessageBoxSeen box = {};
    ASSERT_TRUE(WaitForMessageBox(ruvex, &box));
    DismissMessageBox(box);
    CloseByCloseBox(login);
    EXPECT_EQ(WaitForExit(ruvex), kExitLoginClosed);
}

TEST_F(RuvexTest, ClosingTheMainWindowEndsTheSessionAndExitsWithZero)
{
    ASSERT_NE(LogIn(), nullptr);
    SaveScreenshot(main, "main-window");
    CloseByCloseBox(main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
    EXPECT_TRUE(WaitUntil([] { return ServerLog().find("DISCONNECT") != std::string::npos; }));
}

TEST_F(RuvexTest, UnreachableServerIsReportedLikeARefusedLogin)
{
    TryLogin("127.0.0.2", "ruvex", "secret");  // nothing listens there
    MessageBoxSeen box = {};
    ASSERT_TRUE(WaitForMessageBox(ruvex, &box, 60000));
    EXPECT_EQ(box.text, kLoginFailed);
    DismissMessageBox(box);
    EXPECT_TRUE(IsWindowVisible(login));
}
