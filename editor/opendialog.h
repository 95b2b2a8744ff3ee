#pragma once
// OpenDialog: the editor's two file dialogs for bringing a file in — the
// document dialog "文書の読み込み" and the text dialog "ﾃｷｽﾄの挿入". It keeps the
// last chosen file between uses, proposes the work copy "Temp.Doc" while it
// is from the current month, and preselects the filter by the extension of
// the file it proposes.

#include <QString>

namespace env {
struct FileRequest;
}

namespace editor {

class OpenDialog {
public:
    // The document to open or insert; "" when cancelled. Unless
    // `noProposal`, the work copy of this month is proposed.
    QString chooseDocument(bool noProposal);
    // The file whose text is to be inserted; "" when cancelled.
    QString chooseTextSource();

private:
    QString choose(env::FileRequest& request);

    QString m_lastFile;
};

} // namespace editor
