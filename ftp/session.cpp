// ftp/session.cpp - opening and closing the FTP connection.
#include "session.h"

#include "../app/system_libraries.h"
#include "../names/names.h"

FtpSession g_session;

static const char kUserAgent[] = "Ruvex/1.0 (compatible; PostUrlEncoded 1.0; Windows)";
constexpr size_t kUserAgentBufferSize = 64;

// WinINet takes an absent text as "use your default", which an empty string is not.
static const char *TextOrNull(const char *text)
{
    return TextEquals(text, "") ? nullptr : text;
}

void ConnectSession(const char *server, INTERNET_PORT port, const char *userName, const char *password)
{
    char userAgent[kUserAgentBufferSize] = {};
    CopyTextToBuffer(userAgent, sizeof userAgent, kUserAgent);

    g_session.internet = p_InternetOpenA(userAgent, INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY, nullptr, nullptr, 0);
    if (g_session.internet == nullptr)
        return;
    // Flags 0: active-mode data connections, nothing else.
    g_session.connection = p_InternetConnectA(g_session.internet, TextOrNull(server), port, TextOrNull(userName),
                                            TextOrNull(password), INTERNET_SERVICE_FTP, 0, (DWORD_PTR)&g_session.context);
}

void CloseSession()
{
    (void)p_InternetCloseHandle(g_session.connection);
    (void)p_InternetCloseHandle(g_session.internet);
    g_session.connection = nullptr;
    g_session.internet = nullptr;
}

bool IsSessionOpen()
{
    return g_session.connection != nullptr;
}
