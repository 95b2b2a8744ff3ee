#include "editor/updateconfirmation.h"

#include "editor/modifiedstate.h"
#include "env/dialogs.h"

#include <QString>

namespace editor {

bool mayReplaceDocument(ModifiedState& state, const QString& rule, int documentType,
                        const std::function<bool()>& saveToDatabase)
{
    if (!state.modified() || documentType < 0)
        return true;
    if (rule == u"上書")
        return saveToDatabase();
    if (rule != u"確認")
        return true;

    const env::Answer answer = env::dialogs().ask(QStringLiteral("現在の文書を保存しますか"),
                                                  env::Buttons::YesNoCancel,
                                                  env::Answer::Yes, env::Icon::None);
    switch (answer) {
    case env::Answer::Yes:
        return saveToDatabase();
    case env::Answer::No:
        state.setModified(false);
        return true;
    case env::Answer::Ok:
    case env::Answer::Cancel:
        break;
    }
    return false;
}

} // namespace editor
