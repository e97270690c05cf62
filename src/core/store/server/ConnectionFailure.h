#pragma once

#include <QString>

namespace quilloa {

// Why a connection to the database server failed, read from the client library's own text (in
// English or in the Chinese it is translated to), so that the user is told the one thing to
// mend instead of a list of guesses. classify() and explain() depend on nothing but their
// arguments; passwordFile() is the one look at the disk (see PasswordFileLocation).
class ConnectionFailure
{
public:
    enum class Cause
    {
        Other,
        WrongPassword,  // the server refused the password
        NoPassword,     // the server asks for one and the client has none to give
        HostUnknown,    // the host name does not resolve
        Refused,        // nothing listens on that port, or no server on that socket
        NoAnswer,       // timed out, or no route to the host
        NoDatabase,     // the database does not exist
        NoRole,         // the user (role) does not exist
        NotAllowed,     // the server's access rules (pg_hba.conf) do not let this user in
        LoginRefused,   // the role may not log in
        TooManyClients, // every connection slot is taken
        ServerStarting, // the server is starting up or shutting down
    };

    // What stands in the password file, as far as the client library is concerned.
    enum class PasswordFile
    {
        Missing,
        Private,
        ReadableByOthers, // the client library warns and ignores it
    };

    static Cause classify(const QString& clientText);
    // The cause and what to do, in plain Chinese; `server` names the server ("数据库服务器 …").
    // Empty for Cause::Other.
    static QString explain(Cause cause, const QString& server, PasswordFile file,
                           const QString& clientText = QString());
    // The password file the client library reads, and its state.
    static PasswordFile passwordFile(const QString& path);
};

} // namespace quilloa
