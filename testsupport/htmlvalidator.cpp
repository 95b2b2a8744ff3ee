#include "testsupport/htmlvalidator.h"

#include <QProcess>
#include <QStandardPaths>

namespace testsupport {

namespace {

const QString kValidator = QStringLiteral("onsgmls");

} // namespace

bool htmlValidatorInstalled()
{
    return !QStandardPaths::findExecutable(kValidator).isEmpty();
}

QString htmlValidatorComplaints(const QString& path)
{
    QProcess validator;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The files are UTF-8 whatever they declare.
    environment.insert(QStringLiteral("SP_CHARSET_FIXED"), QStringLiteral("YES"));
    environment.insert(QStringLiteral("SP_ENCODING"), QStringLiteral("UTF-8"));
    validator.setProcessEnvironment(environment);
    validator.start(kValidator, {QStringLiteral("-s"), QStringLiteral("-c"),
                                 QStringLiteral("/usr/share/xml/w3c-sgml-lib/schema/dtd/sgml.soc"), path});
    if (!validator.waitForFinished(60000))
        return kValidator + QStringLiteral(" did not finish");
    const QString complaints = QString::fromUtf8(validator.readAllStandardError());
    return validator.exitCode() == 0 ? complaints
                                     : complaints + QStringLiteral(" (exit code %1)").arg(validator.exitCode());
}

} // namespace testsupport
