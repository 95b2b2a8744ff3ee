#include "dialogs/linkpage.h"

#include "env/desktop.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "env/yini.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace dialogs {

namespace {

constexpr int kFavouritesFolder = 6;
const QString kObjectCaption = QStringLiteral(" ");

// Object placeholders (character 1, and the engine's object character) are
// not part of a caption.
QString withoutObjects(QString caption)
{
    caption.remove(QChar(1));
    caption.remove(QChar::ObjectReplacementCharacter);
    return caption.trimmed();
}

QString readShortcut(const QString& path)
{
    QFile file(path);
    if (file.size() > LinkPage::kMaxShortcutBytes || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString shortcutTarget(const QString& contents)
{
    const qsizetype start = contents.indexOf(QStringLiteral("URL="));
    if (start < 0)
        return {};
    const qsizetype from = start + 4;
    qsizetype end = from;
    while (end < contents.size() && contents[end] != u'\r' && contents[end] != u'\n')
        ++end;
    return contents.mid(from, end - from).trimmed();
}

LinkPage::LinkPage()
    : m_frame(std::make_unique<QWidget>())
    , m_target(new QLineEdit(m_frame.get()))
    , m_caption(new QLineEdit(m_frame.get()))
    , m_keepCaption(new QCheckBox(QStringLiteral("ｷｬﾌﾟｼｮﾝはそのまま"), m_frame.get()))
    , m_message(new QLabel(m_frame.get()))
{
    m_target->setObjectName(QStringLiteral("txLnk0"));
    m_caption->setObjectName(QStringLiteral("txLnk1"));
    m_keepCaption->setObjectName(QStringLiteral("chLnkHg"));
    const std::array<QString, 3> captions{QStringLiteral("ﾌｧｲﾙを参照します"),
                                          QStringLiteral("お気に入りから URLを参照します"),
                                          QStringLiteral("IEの検索ﾍﾟｰｼﾞから指定")};
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i] = new QPushButton(captions[i], m_frame.get());
        m_buttons[i]->setObjectName(QStringLiteral("cmLnk%1").arg(i));
    }

    auto* layout = new QGridLayout(m_frame.get());
    layout->addWidget(new QLabel(QStringLiteral("ﾘﾝｸ先"), m_frame.get()), 0, 0);
    layout->addWidget(m_target, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("ｷｬﾌﾟｼｮﾝ"), m_frame.get()), 1, 0);
    layout->addWidget(m_caption, 1, 1);
    layout->addWidget(m_keepCaption, 2, 1);
    layout->addWidget(m_message, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : m_buttons)
        buttons->addWidget(button);
    layout->addLayout(buttons, 4, 0, 1, 2);

    QObject::connect(m_keepCaption, &QCheckBox::toggled, m_frame.get(), [this](bool keep) { keepCaptionToggled(keep); });
    QObject::connect(m_buttons[0], &QPushButton::clicked, m_frame.get(), [this] { chooseFile(); });
    QObject::connect(m_buttons[1], &QPushButton::clicked, m_frame.get(), [this] { chooseFavourite(); });
    QObject::connect(m_buttons[2], &QPushButton::clicked, m_frame.get(), [this] { searchInBrowser(); });
}

LinkPage::~LinkPage() = default;

QWidget* LinkPage::frame()
{
    return m_frame.get();
}

QWidget* LinkPage::focusControl()
{
    return m_target;
}

void LinkPage::fill(const PageContext& context, const QString& request)
{
    m_objectLink = context.objectLink;
    m_confirm = context.confirm;
    const qsizetype tab = request.indexOf(u'\t');
    const QString target = tab < 0 ? QString() : request.mid(tab + 1).trimmed();
    m_existingCaption = withoutObjects(tab < 0 ? request : request.left(tab));
    m_proposedCaption.clear();

    m_target->setText(target);
    m_caption->setVisible(!m_objectLink);
    m_caption->setEnabled(!m_objectLink);
    const QSignalBlocker quiet(m_keepCaption);
    const bool keep = !m_existingCaption.isEmpty() && !m_objectLink;
    m_keepCaption->setChecked(keep);
    m_keepCaption->setEnabled(keep);
    m_keepCaption->setVisible(!m_objectLink);
    m_caption->setText(m_objectLink ? kObjectCaption : m_existingCaption);
    if (keep)
        m_caption->setEnabled(false);
    m_message->setText(m_objectLink ? QString() : QStringLiteral("ﾘﾝｸ先を指定して下さい"));
}

bool LinkPage::apply(QString& result)
{
    const QString target = m_target->text().trimmed();
    const QString caption = m_objectLink ? kObjectCaption : m_caption->text().trimmed();
    if (target.isEmpty()) {
        env::dialogs().inform(QStringLiteral("ﾘﾝｸ先が指定されていません"));
        m_target->setFocus();
        return false;
    }
    if (caption.isEmpty() && m_caption->isEnabled()) {
        env::dialogs().inform(QStringLiteral("ｷｬﾌﾟｼｮﾝが指定されていません"));
        m_caption->setFocus();
        return false;
    }
    result = caption + u'\t' + target;
    return true;
}

void LinkPage::keepCaptionToggled(bool keep)
{
    m_caption->setText(keep ? m_existingCaption : m_proposedCaption);
    m_caption->setEnabled(!keep);
}

void LinkPage::chooseFile()
{
    const QString site = env::gsUsrPh + QStringLiteral("Site");
    QDir().mkpath(site);
    env::FileRequest request;
    request.title = QStringLiteral("ﾘﾝｸ先のﾄﾞｷｭﾒﾝﾄ");
    request.folder = site;
    request.filters = {QStringLiteral("全てのﾌｧｲﾙ (*)")};
    const QString path = env::dialogs().openFile(request);
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    targetChosen(QDir::toNativeSeparators(path), name.left(name.indexOf(u'.')));
}

void LinkPage::chooseFavourite()
{
    env::FileRequest request;
    request.title = QStringLiteral("お気に入り");
    request.folder = env::gxIni().FsGtSpFld(kFavouritesFolder);
    request.filters = {QStringLiteral("ｲﾝﾀｰﾈｯﾄｼｮｰﾄｶｯﾄ (*.url *.desktop)")};
    const QString path = env::dialogs().openFile(request);
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    targetChosen(shortcutTarget(readShortcut(path)), dot < 0 ? name : name.left(dot));
}

// Any way of letting the user look up an address will do: the default
// browser opens a search page and the user copies the address by hand.
void LinkPage::searchInBrowser()
{
    env::desktop().openUrl(QUrl(QString::fromLatin1(kSearchPage)));
}

void LinkPage::targetChosen(const QString& target, const QString& proposedCaption)
{
    m_target->setText(target);
    m_proposedCaption = proposedCaption;
    if (m_keepCaption->isChecked())
        m_confirm();
    else if (!m_objectLink)
        m_caption->setText(m_proposedCaption);
}

} // namespace dialogs
