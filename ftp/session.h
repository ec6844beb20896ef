// ftp/session.h - the program's one FTP connection, through WinINet.
#ifndef RUVEX_FTP_SESSION_H
#define RUVEX_FTP_SESSION_H

#include <windows.h>
#include <wininet.h>

constexpr INTERNET_PORT kFtpPort = 21;

struct FtpSession {
    HINTERNET internet;    // from InternetOpenA; null until the first connect attempt
    HINTERNET connection;  // from InternetConnectA; non-null exactly while connected
    DWORD_PTR context;     // only its address is used, as the context value of calls
};

extern FtpSession g_session;

// Opens the internet library and logs in to `server` in active mode. Reports nothing:
// the caller tests g_session.connection. Empty texts go to the library as absent, so an
// empty user name and password log in anonymously.
void ConnectSession(const char *server, INTERNET_PORT port, const char *userName, const char *password);

// Closes the connection and the internet handle and forgets both, so that no later call
// can reach the server through them.
void CloseSession();

// True while the session holds a connection.
bool IsSessionOpen();

// Why an FTP call failed.
enum FtpFailure {
    FTP_REFUSED,          // the server answered with a refusal
    FTP_CONNECTION_LOST,  // the connection to the server is gone, and nothing reconnects it
    FTP_NOT_COMPLETED,    // anything else: a local file, a data connection that never opened
};

// Tells why an FTP call failed from the error it left: GetLastError() read right after it,
// before any other call. For a refusal, `reply` (of `size` bytes) gets the server's words,
// or "" when they do not fit; otherwise "".
FtpFailure ReadFtpFailure(DWORD error, char *reply, DWORD size);

#endif
