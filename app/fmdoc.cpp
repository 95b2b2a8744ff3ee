#include "app/fmdoc.h"

#include "app/startup.h"
#include "env/globals.h"
#include "env/settingstext.h"
#include "env/shell.h"
#include "env/yini.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <cmath>

namespace app {

namespace {

const QString kScreenGroup = QStringLiteral("TX_SCREEN");
const QString kShown = QStringLiteral("表示");
const QString kHidden = QStringLiteral("非表示");

QString withSlash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

int toPixelsX(int twips) { return static_cast<int>(std::lround(twips / env::twipsPerPixelX())); }
int toPixelsY(int twips) { return static_cast<int>(std::lround(twips / env::twipsPerPixelY())); }
// Window values are kept as single-precision numbers of twips.
QString twipsText(int pixels, double factor)
{
    return env::numberText(static_cast<float>(pixels * factor));
}

// A first start takes three quarters of the work area, centred.
QRect designGeometry()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const QSize size(area.width() * 3 / 4, area.height() * 3 / 4);
    return QRect(area.topLeft() + QPoint((area.width() - size.width()) / 2,
                                         (area.height() - size.height()) / 2),
                 size);
}

} // namespace

QString documentFromCommandLine(const QStringList& arguments)
{
    QString text = arguments.join(u' ');
    text.remove(u'"');
    const qsizetype tab = text.indexOf(u'\t');
    if (tab >= 0)
        text.truncate(tab);
    if (text.isEmpty() || !text.contains(u'/'))
        return {};
    const QFileInfo info(text);
    return info.isFile() ? info.absoluteFilePath() : QString();
}

fmDoc::fmDoc(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QApplication::applicationDisplayName());
    setCentralWidget(new QWidget(this));
    setGeometry(designGeometry());
}

void fmDoc::Act(const QStringList& arguments)
{
    env::gbActing = true;
    readScreenSettings();
    takeCommandLine(arguments);
    placeWindow();
    env::gbActing = false;
    show();
}

void fmDoc::readScreenSettings()
{
    env::yIni& ini = env::gxIni();
    ini.GetGtx(kScreenGroup);
    m_left = std::max(0, ini.vGtVal(QStringLiteral("LEFT"), 0));
    m_top = std::max(0, ini.vGtVal(QStringLiteral("TOP"), 0));
    m_width = ini.vGtVal(QStringLiteral("WIDTH"), 0);
    m_height = ini.vGtVal(QStringLiteral("HEIGHT"), 0);
    const QString stored = ini.vGtVal(QStringLiteral("PATH"), QString());
    m_showFkeys = ini.vGtVal(QStringLiteral("FUNC"), kHidden) != kHidden;

    // A relative folder lies below the user data folder; a folder that is
    // gone, or none at all, falls back to the database root.
    const QString folder = QDir::isAbsolutePath(stored) ? stored : env::gsUsrPh + stored;
    m_folder = !stored.isEmpty() && QFileInfo(folder).isDir()
        ? withSlash(folder)
        : env::gsUsrPh + QStringLiteral("Doc/");
}

void fmDoc::takeCommandLine(const QStringList& arguments)
{
    const QString document = documentFromCommandLine(arguments);
    if (document.isEmpty())
        return;
    const QFileInfo info(document);
    m_folder = withSlash(info.absolutePath());
    m_startFile = info.fileName();
}

void fmDoc::placeWindow()
{
    if (m_width <= 0 || m_height <= 0)
        return;
    env::FitWorkArea(m_left, m_top, m_width, m_height);
    move(toPixelsX(m_left), toPixelsY(m_top));
    resize(toPixelsX(m_width), toPixelsY(m_height));
}

QString fmDoc::storedFolderText() const
{
    if (m_folder.startsWith(env::gsUsrPh, Qt::CaseInsensitive))
        return m_folder.mid(env::gsUsrPh.size());
    return m_folder;
}

void fmDoc::SaveScreen()
{
    env::yIni& ini = env::gxIni();
    ini.GetGtx(kScreenGroup);
    ini.SetVal(QStringLiteral("LEFT"), twipsText(x(), env::twipsPerPixelX()));
    ini.SetVal(QStringLiteral("TOP"), twipsText(y(), env::twipsPerPixelY()));
    ini.SetVal(QStringLiteral("WIDTH"), twipsText(width(), env::twipsPerPixelX()));
    ini.SetVal(QStringLiteral("HEIGHT"), twipsText(height(), env::twipsPerPixelY()));
    ini.SetVal(QStringLiteral("PATH"), storedFolderText());
    ini.SetVal(QStringLiteral("FUNC"), m_showFkeys ? kShown : kHidden);
    ini.SetGtx();
    EndPrg();
}

void fmDoc::closeEvent(QCloseEvent* event)
{
    if (!isEnding())
        SaveScreen();
    event->accept();
}

} // namespace app
