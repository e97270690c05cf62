#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace quilloa {

// The program's command line: --data DIR, --store SERVER, --copy-stores-to SERVER,
// --prepare-server SERVER with --workstation-role ROLE, --import-old-data FOLDER with --dry-run,
// --help, --version, and
// --quit-after-start, which is left out of --help because only the package test and the benchmark
// need it (they start the program headless and must see it end by itself once its stores are
// prepared and its first window painted, which it tells on its output with the line "painted").
class CommandLine
{
public:
    CommandLine();

    // False when the arguments are not understood; errorText() then says why.
    bool parse(const QStringList& arguments);
    QString errorText() const { return m_error; }

    bool helpRequested() const;
    bool versionRequested() const;
    QString dataFolder() const { return m_parser.value(m_data); }
    // The database server named with --store; empty when not given.
    QString store() const { return m_parser.value(m_store); }
    bool quitAfterStart() const { return m_parser.isSet(m_quitAfterStart); }
    // The server named with --copy-stores-to: the data folder's store files are copied there and
    // the program ends without a window. Empty when not given.
    QString copyStoresTo() const { return m_parser.value(m_copyStoresTo); }
    // The server named with --prepare-server, to be made ready for workstations that connect as
    // --workstation-role; empty when not given.
    QString prepareServer() const { return m_parser.value(m_prepareServer); }
    QString workstationRole() const { return m_parser.value(m_workstationRole); }
    // The older program's folder named with --import-old-data; empty when not given.
    QString importOldData() const { return m_parser.value(m_importOldData); }
    bool dryRun() const { return m_parser.isSet(m_dryRun); }

    // The usual usage and options text (for --help-all with the window system's options),
    // followed by the line naming the data folder in use.
    QString helpText(const QString& dataFolderLine) const;
    // "quilloa 2.0"
    static QString versionText();

    // True when the program only answers with text and ends: --help, --help-all, --version, or
    // arguments it refuses. None of it needs a screen, so it is decided before the window system
    // starts (which, without a display, would abort before the real fault could be named).
    static bool asksForTextOnly(const QStringList& arguments);
    // True when the arguments ask only for the copy to a server, which needs no screen either.
    static bool asksToCopyStores(const QStringList& arguments);
    // True when the arguments ask only to prepare a server, which needs no screen either.
    static bool asksToPrepareServer(const QStringList& arguments);
    // True when the arguments ask for the import of the older program's data, done without a
    // window too.
    static bool asksToImportOldData(const QStringList& arguments);

private:
    QCommandLineParser m_parser;
    QString m_error;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_data;
    QCommandLineOption m_store;
    QCommandLineOption m_copyStoresTo;
    QCommandLineOption m_prepareServer;
    QCommandLineOption m_workstationRole;
    QCommandLineOption m_importOldData;
    QCommandLineOption m_dryRun;
    QCommandLineOption m_quitAfterStart;
};

} // namespace quilloa
