#include "dialogs/sbtxm.h"

#include "dialogs/popupmenus.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace dialogs {

namespace {

constexpr double kTwipsPerInch = 1440.0;
const QString kFindPage = QStringLiteral("FD");

int twipsToPixels(int twips, double dpi)
{
    return int(std::lround(twips * dpi / kTwipsPerInch));
}

} // namespace

sbTxm::sbTxm(QWidget* parent)
    : QDialog(parent)
    , m_menus(new PopupMenus(this))
    , m_pageArea(new QWidget(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this))
{
    setModal(true);
    auto* pageLayout = new QVBoxLayout(m_pageArea);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pageArea, 1);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &sbTxm::pressOk);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_menus, &PopupMenus::captionChosen, this, &sbTxm::chooseCaption);
    connect(m_menus, &PopupMenus::commandChosen, this,
            [this](int job, const QVariant& argument) { chooseCommand({job, argument}); });
}

sbTxm::~sbTxm() = default;

void sbTxm::cOn(engine::TextEngine* vTx)
{
    m_engine = vTx;
}

void sbTxm::cOff()
{
    m_engine = nullptr;
    m_pageCode.clear();
}

void sbTxm::cTyp(int iTy)
{
    m_documentType = iTy;
    m_menus->applyDocumentType(iTy);
}

void sbTxm::addPage(const QString& code, std::unique_ptr<SettingsPage> page)
{
    page->frame()->setParent(m_pageArea);
    m_pageArea->layout()->addWidget(page->frame());
    page->frame()->hide();
    m_pages[code] = std::move(page);
}

PageResult sbTxm::Act(QString& code, QString& result)
{
    const PageCode page = normalisedPageCode(code);
    code = page.code;
    const QString request = std::exchange(result, QString());
    const auto found = m_pages.find(page.code);
    if (found == m_pages.end())
        return PageResult::NoPage;

    m_pageCode = page.code;
    m_current = found->second.get();
    m_ok->setEnabled(true);
    m_cancel->setEnabled(true);
    showOnly(m_current);
    const bool findPage = page.code == kFindPage;
    m_ok->setVisible(!findPage);
    m_cancel->setVisible(!findPage);
    setWindowTitle(pageTitle(page.code));
    m_result.clear();
    m_current->fill({m_engine, m_documentType, page.objectLink, page.replaceMode, [this] { pressOk(); },
                     [this](bool allowed) { m_ok->setEnabled(allowed); }},
                    request);
    placeOverMainWindow();
    const bool applied = exec() == QDialog::Accepted;
    result = m_result;
    return applied ? PageResult::Applied : PageResult::Cancelled;
}

void sbTxm::RepertJb()
{
    QAction* item = m_menus->repeatItem();
    if (item->isEnabled())
        chooseCaption(item->text(), {});
}

QRect sbTxm::placement(const QRect& mainWindow, double dpi, const QSize& atLeast)
{
    const int width = std::max(twipsToPixels(kWidthTwips, dpi), atLeast.width());
    const int height = std::max(twipsToPixels(kHeightTwips, dpi), atLeast.height());
    return {mainWindow.left() + (mainWindow.width() - width) / 2,
            mainWindow.top() + (mainWindow.height() - height) / 2, width, height};
}

void sbTxm::closeEvent(QCloseEvent* event)
{
    // The dialog lives as long as the editor: its menus keep their state.
    event->ignore();
    hide();
}

void sbTxm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_current && m_current->focusControl())
        m_current->focusControl()->setFocus();
}

void sbTxm::chooseCaption(const QString& caption, const QVariant& argument)
{
    const MenuCommand command = m_translator.translate(caption, argument);
    QAction* repeat = m_menus->repeatItem();
    repeat->setText(m_translator.repeatCaption());
    repeat->setEnabled(m_translator.repeatEnabled());
    chooseCommand(command);
}

void sbTxm::chooseCommand(const MenuCommand& command)
{
    m_command = command;
    if (command.job != 0)
        emit commandChosen(command.job, command.argument);
}

void sbTxm::pressOk()
{
    QString answer;
    if (!m_current || !m_current->apply(answer))
        return;
    m_result = answer;
    accept();
}

void sbTxm::showOnly(SettingsPage* page)
{
    for (const auto& [code, each] : m_pages)
        each->frame()->setVisible(each.get() == page);
}

void sbTxm::placeOverMainWindow()
{
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (main)
        area = main->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    // A page that needs more room than the frame's size gets it.
    setGeometry(placement(area, logicalDpiX(), minimumSizeHint()));
}

} // namespace dialogs
