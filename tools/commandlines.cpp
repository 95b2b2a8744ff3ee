#include "tools/commandlines.h"

namespace tools {

namespace {

// The line of `program` with `arguments`, each shown as `shown` gives it.
CommandLine lineOf(const QString& program, const QStringList& arguments, const QStringList& shown)
{
    QString text = program;
    for (const QString& argument : shown)
        text += u' ' + argument;
    return {program, arguments, text};
}

CommandLine lineOf(const QString& program, const QStringList& arguments)
{
    return lineOf(program, arguments, arguments);
}

} // namespace

CommandLine ftpCommand(const QString& program, const QString& job, const QStringList& values)
{
    QString argument = job + u'|' + values.join(u'|');
    if (argument.endsWith(u'|'))
        argument.chop(1);
    return lineOf(program, {argument});
}

CommandLine syncCommand(const QString& program, const QString& text)
{
    return lineOf(program, {QStringLiteral("Kelvup"), QStringLiteral("/b|") + text});
}

CommandLine pendrelCommand(const QString& program, const QString& pattern, const QString& csvFile)
{
    return lineOf(program, {pattern, csvFile});
}

CommandLine wystaneCommand(const QString& program, const QString& file, const QString& number)
{
    QStringList arguments;
    QStringList shown;
    if (!file.isEmpty()) {
        arguments << file;
        shown << (file.contains(u' ') ? u'"' + file + u'"' : file);
    }
    if (!number.isEmpty()) {
        arguments << number;
        shown << number;
    }
    return lineOf(program, arguments, shown);
}

CommandLine ffftpCommand(const QString& program, const QString& host)
{
    return lineOf(program, {QStringLiteral("-s"), host, QStringLiteral("-m")});
}

} // namespace tools
