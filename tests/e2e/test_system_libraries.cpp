// tests/e2e/test_system_libraries.cpp - a library that cannot be had leads to the program's usual
// way out. (That planted libraries are never loaded, the shipped program's session shows.)
#include "e2e.h"

TEST_F(E2e, AMissingLibraryFailsAsItsFunctionsWould)
{
    EndRuvex(&ruvex);
    const LoadOrder none({"wininet"}, "");
    ASSERT_TRUE(StartRuvex(&ruvex));
    TypeLogin(ruvex, "127.0.0.1", "ruvex", "secret");
    EXPECT_EQ(ReadMessageBox(ruvex, "Error!", nullptr),
              "Could not login! Make sure server, username, and password are correct and try again.");
    CloseByCloseBox(ruvex.login);
    EXPECT_EQ(WaitForExit(ruvex), 0xFFFFFFFFu) << "closing the login window";
}
