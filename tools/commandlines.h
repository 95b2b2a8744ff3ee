#pragma once
// The command lines that start the companion programs which are not waited
// for, and the two waited-for FTP runs: the program, the arguments it gets,
// and the line as a Windows command line would read.

#include <QString>
#include <QStringList>

namespace tools {

struct CommandLine {
    QString program;
    QStringList arguments; // as the program receives them, one by one
    QString text;          // the whole line: program, a space, the arguments

    bool operator==(const CommandLine&) const = default;
};

// FTP tool: the job, "|", the values joined with "|"; a trailing "|" is dropped.
CommandLine ftpCommand(const QString& program, const QString& job, const QStringList& values);
// FTP tool's synchronising upload: "Kelvup /b|" and the text.
CommandLine syncCommand(const QString& program, const QString& text);
// Address-label tool: the pattern, then the file holding the addresses.
CommandLine pendrelCommand(const QString& program, const QString& pattern, const QString& csvFile);
// Document-database tool: the file (quoted in the line when it holds a
// space) and the number, each only when given.
CommandLine wystaneCommand(const QString& program, const QString& file, const QString& number);
// FFFTP connecting to the host setting `host`.
CommandLine ffftpCommand(const QString& program, const QString& host);

} // namespace tools
