#include "env/lockrecord.h"

#include <QCoreApplication>
#include <QStringList>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace env {

namespace {

constexpr qsizetype kMaxRecordBytes = 64 * 1024;
const QString kFumiOwner = QStringLiteral("Fumi:");
const QString kTimeForm = QStringLiteral("dd.MM.yyyy hh:mm");

QString escaped(const QString& field)
{
    QString out;
    for (const QChar c : field) {
        if (c == u'\\' || c == u',' || c == u';')
            out += u'\\';
        out += c;
    }
    return out;
}

// The fields before the record's closing semicolon; nullopt without one.
std::optional<QStringList> fieldsOf(const QString& text)
{
    QStringList fields(1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u';')
            return fields;
        if (c == u',')
            fields.append(QString());
        else if (c == u'\\' && i + 1 < text.size())
            fields.last() += text.at(++i);
        else
            fields.last() += c;
    }
    return std::nullopt;
}

QString loginName()
{
    const passwd* entry = getpwuid(geteuid());
    return entry && entry->pw_name ? QString::fromLocal8Bit(entry->pw_name) : qEnvironmentVariable("USER");
}

} // namespace

std::optional<LockRecord> LockRecord::parse(const QByteArray& bytes)
{
    if (bytes.size() > kMaxRecordBytes || !QUtf8StringView(bytes).isValidUtf8())
        return std::nullopt;
    const std::optional<QStringList> fields = fieldsOf(QString::fromUtf8(bytes));
    if (!fields || fields->size() < 4)
        return std::nullopt;
    return LockRecord{fields->at(0), fields->at(1), fields->at(2), fields->at(3), fields->value(4)};
}

LockRecord LockRecord::ofThisProcess()
{
    return {QString(), loginName(), QSysInfo::machineHostName(),
            QDateTime::currentDateTime().toString(kTimeForm),
            kFumiOwner + QString::number(QCoreApplication::applicationPid())};
}

QByteArray LockRecord::bytes() const
{
    const QStringList fields{name, user, host, when, owner};
    QStringList out;
    for (const QString& field : fields)
        out.append(escaped(field));
    return (out.join(u',') + u';').toUtf8();
}

std::optional<qint64> LockRecord::fumiProcess() const
{
    if (!owner.startsWith(kFumiOwner))
        return std::nullopt;
    bool ok = false;
    const qint64 pid = owner.mid(kFumiOwner.size()).toLongLong(&ok);
    return ok && pid > 0 ? std::optional<qint64>(pid) : std::nullopt;
}

QString LockRecord::holderName() const
{
    return name.isEmpty() ? user : name;
}

QDateTime LockRecord::time() const
{
    return QDateTime::fromString(when, kTimeForm);
}

} // namespace env
