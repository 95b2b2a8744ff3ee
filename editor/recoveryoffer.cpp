#include "editor/recoveryoffer.h"

#include "editor/recoverycopy.h"
#include "editor/utxm.h"
#include "env/dialogs.h"

namespace editor {

namespace {

QString question(const RecoveryRecord& record)
{
    const QString document = record.fileName.isEmpty()
        ? QStringLiteral("(保存されていない新しい文書) ") + record.title
        : record.fileName;
    return QStringLiteral("前回保存されなかった文書があります｡復元しますか") + u'\n' + document + u'\n'
        + record.takenAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

void reportDamaged()
{
    env::dialogs().inform(QStringLiteral("前回保存されなかった文書の控えが壊れているため､復元できません｡"));
}

} // namespace

std::optional<QString> offerLeftRecoveries(uTxm& editor, const QString& workFolder)
{
    for (LeftRecovery& left : leftRecoveries(workFolder)) {
        if (!left.record) {
            reportDamaged();
            left.discard();
            continue;
        }
        const env::Answer answer = env::dialogs().ask(question(*left.record), env::Buttons::YesNoCancel,
                                                      env::Answer::Yes);
        if (answer == env::Answer::Cancel)
            continue;
        if (answer == env::Answer::Yes && !editor.restoreRecovered(*left.record)) {
            reportDamaged();
            left.discard();
            continue;
        }
        left.discard();
        if (answer == env::Answer::Yes)
            return left.record->fileName;
    }
    return std::nullopt;
}

} // namespace editor
