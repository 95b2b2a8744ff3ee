#include "dialogs/okcancel.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace dialogs {

OkCancelRow okCancelRow(QDialog& dialog)
{
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), &dialog);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    return {buttons, ok};
}

} // namespace dialogs
