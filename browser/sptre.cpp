#include "browser/sptre.h"

#include <QMenu>

namespace browser {

spTrE::spTrE(QWidget* parent)
    : QObject(parent),
      m_folder(new QMenu(QStringLiteral("ﾌｫﾙﾀﾞ"), parent)),
      m_file(new QMenu(QStringLiteral("ﾌｧｲﾙ"), parent))
{
    m_folder->setObjectName(QStringLiteral("mnFld"));
    m_file->setObjectName(QStringLiteral("mnFile"));
    QAction* explore = m_folder->addAction(QStringLiteral("ｴｸｽﾌﾟﾛｰﾗｰ"));
    connect(explore, &QAction::triggered, this, [this] { emit folderChosen(Explore); });

    const std::array<const char16_t*, kFileItems> captions = {
        u"切り取り", u"ｺﾋﾟｰ", u"貼り付け", nullptr, u"削除", u"名前の変更", nullptr, u"新規ﾌｧｲﾙ"};
    for (int i = 0; i < kFileItems; ++i) {
        const char16_t* caption = captions[static_cast<size_t>(i)];
        QAction* item = caption ? m_file->addAction(QString::fromUtf16(caption)) : m_file->addSeparator();
        if (caption)
            connect(item, &QAction::triggered, this, [this, i] { emit fileChosen(i); });
        m_fileItems[static_cast<size_t>(i)] = item;
    }
}

QAction* spTrE::mnFile(int index) const
{
    return index >= 0 && index < kFileItems ? m_fileItems[static_cast<size_t>(index)] : nullptr;
}

void spTrE::SetFmnu(bool bFL, bool bCp)
{
    for (const int item : {Cut, Copy, Delete, Rename})
        mnFile(item)->setEnabled(bFL);
    mnFile(Paste)->setEnabled(bCp);
}

} // namespace browser
