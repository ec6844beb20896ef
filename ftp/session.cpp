// ftp/session.cpp - opening and closing the FTP connection.
#include "session.h"

#include <cstring>

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

static FtpFailure FailureOfError(DWORD error)
{
    switch (error) {
    case ERROR_INTERNET_EXTENDED_ERROR:  // the server's reply says why
        return FTP_REFUSED;
    case ERROR_INTERNET_CONNECTION_ABORTED:
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_INTERNET_TIMEOUT:
    case ERROR_FTP_DROPPED:
    case WSAECONNRESET:
    case WSAECONNABORTED:
    case WSAENOTCONN:
    case WSAESHUTDOWN:
    case WSAETIMEDOUT:
    // Wine's WinINet reports a reply that never came this way. Ruvex never leaves a transfer
    // or a listing open, so for it the error cannot mean what its name says.
    case ERROR_FTP_TRANSFER_IN_PROGRESS:
        return FTP_CONNECTION_LOST;
    }
    return FTP_NOT_COMPLETED;
}

// The library's last reply is the last one the server sent, whichever command it answered.
// Wine's WinINet also reports a reply that never came as a refusal, leaving the reply before
// it, a success or progress reply (1xx to 3xx): only a 4xx or 5xx reply is a refusal's.
FtpFailure ReadFtpFailure(DWORD error, char *reply, DWORD size)
{
    CopyTextToBuffer(reply, size, "");
    const FtpFailure failure = FailureOfError(error);
    if (failure != FTP_REFUSED)
        return failure;
    // Offered two bytes less than it holds, all zero: whatever is written is followed by a zero.
    std::memset(reply, 0, size);
    DWORD length = size - 2, replyError = 0;
    (void)p_InternetGetLastResponseInfoA(&replyError, reply, &length);
    if (reply[0] == '4' || reply[0] == '5')
        return FTP_REFUSED;
    const bool answered = reply[0] != '\0';  // a reply too long for the buffer is not written
    CopyTextToBuffer(reply, size, "");
    return answered ? FTP_CONNECTION_LOST : FTP_REFUSED;
}
