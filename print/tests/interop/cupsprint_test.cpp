// Printing for real: the print command's path sends its jobs to a CUPS
// scheduler of the test's own, whose virtual PDF printer (cups-pdf) writes
// each job to a PDF file that poppler's tools then read back.
//
// The scheduler runs beside any the system has, on a socket and with
// folders of its own, so the system's printers are neither used nor changed.
// cups-pdf refuses to run unless the scheduler runs as root, so the test
// needs root; without it, or without CUPS installed, it is skipped. cups-pdf
// reads its settings from the system's CUPS folder only, so the test's queue
// gets a settings file there under its own name, removed at the end.
//
// CUPS turns each job into PostScript for cups-pdf, and that detour loses
// the fonts' character maps: the text of the PDFs that arrive cannot be read
// back as text. So each page that arrives is compared, drawn small, with the
// same page printed straight to a PDF file.
#include "print/printjobs.h"

#include "engine/textengine.h"
#include "env/globals.h"
#include "testsupport/printers.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

namespace print {
namespace {

const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");
const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
// The one folder cups-pdf reads its settings from.
const QString kPdfSettingsFolder = QStringLiteral("/etc/cups/");
// Texts with no character in common, so that each page looks unlike the others.
const QStringList kPageTexts = {QStringLiteral("一 alpha"), QStringLiteral("春の海 bravo"),
                                QStringLiteral("夏山 CHARLIE"), QStringLiteral("秋 delta")};

QString tool(const QString& name)
{
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                                                 QStringLiteral("/sbin"), QStringLiteral("/bin")});
}

// Runs a tool to its end; its standard output, or nullopt when it failed.
std::optional<QString> run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(tool(program), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Why CUPS cannot run here, or empty when it can.
QString whyCupsCannotRun()
{
    for (const char* name : {"cupsd", "lpadmin", "lpstat", "pdfinfo", "pdftoppm"})
        if (tool(QString::fromLatin1(name)).isEmpty())
            return QStringLiteral("%1 is not installed (packages cups, printer-driver-cups-pdf, poppler-utils)")
                .arg(QString::fromLatin1(name));
    if (!QFile::exists(kBackend) || !QFile::exists(kPpd))
        return QStringLiteral("the virtual PDF printer is not installed (package printer-driver-cups-pdf)");
    if (geteuid() != 0)
        return QStringLiteral("the virtual PDF printer (cups-pdf) runs only under a CUPS scheduler started as root");
    if (!QFileInfo(kPdfSettingsFolder).isWritable())
        return QStringLiteral("cups-pdf's settings folder %1 cannot be written").arg(kPdfSettingsFolder);
    return {};
}

// A CUPS scheduler in a folder of its own, listening on a local socket only.
class PrivateScheduler {
public:
    PrivateScheduler()
    {
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                                QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                                QFileDevice::ReadOther | QFileDevice::ExeOther);
        for (const char* folder : {"conf/ppd", "spool/tmp", "cache", "state", "log"})
            QDir().mkpath(m_dir.path(QString::fromLatin1(folder)));
        m_dir.write(QStringLiteral("conf/cups-files.conf"), filesConfiguration().toUtf8());
        m_dir.write(QStringLiteral("conf/cupsd.conf"), schedulerConfiguration().toUtf8());
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(tool(QStringLiteral("cupsd")),
                        {QStringLiteral("-f"), QStringLiteral("-c"), m_dir.path(QStringLiteral("conf/cupsd.conf")),
                         QStringLiteral("-s"), m_dir.path(QStringLiteral("conf/cups-files.conf"))});
    }
    ~PrivateScheduler()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    PrivateScheduler(const PrivateScheduler&) = delete;
    PrivateScheduler& operator=(const PrivateScheduler&) = delete;

    QString socket() const { return m_dir.path(QStringLiteral("cups.sock")); }
    QString errorLog() const { return QString::fromUtf8(m_dir.read(QStringLiteral("log/error_log"))); }

    // True once the scheduler answers, within 20 seconds.
    bool waitUntilRunning() const
    {
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            if (m_process.state() == QProcess::NotRunning)
                return false;
            if (run(QStringLiteral("lpstat"), {QStringLiteral("-r")}).value_or(QString()).contains(u"is running"))
                return true;
            QThread::msleep(200);
        }
        return false;
    }

private:
    QString filesConfiguration() const
    {
        return QStringLiteral("ServerRoot %1/conf\nRequestRoot %1/spool\nTempDir %1/spool/tmp\nCacheDir %1/cache\n"
                              "StateDir %1/state\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                              "PageLog %1/log/page_log\nSystemGroup root\n")
            .arg(m_dir.path());
    }
    QString schedulerConfiguration() const
    {
        return QStringLiteral("Listen %1\nBrowsing Off\nWebInterface No\nDefaultAuthType None\nLogLevel info\n"
                              "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                              "<Policy default>\n<Limit All>\nOrder allow,deny\nAllow all\n</Limit>\n</Policy>\n")
            .arg(socket());
    }

    testsupport::TempFolder m_dir;
    QProcess m_process;
};

struct PdfJob {
    int pages = 0;
    QString pageSize;
    std::vector<QImage> pageImages; // each page drawn in grey at 72 dots an inch
};

QImage drawnPage(const QString& path, int page)
{
    const QString n = QString::number(page);
    const QString image = path + QStringLiteral("-page") + n;
    if (!run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"),
                                          QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"), n,
                                          QStringLiteral("-l"), n, path, image}))
        return {};
    return QImage(image + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

PdfJob readJob(const QString& path)
{
    PdfJob job;
    const QString info = run(QStringLiteral("pdfinfo"), {path}).value_or(QString());
    job.pages = QRegularExpression(QStringLiteral("Pages:\\s*(\\d+)")).match(info).captured(1).toInt();
    job.pageSize = QRegularExpression(QStringLiteral("Page size:\\s*([^\\n]*)")).match(info).captured(1);
    for (int page = 1; page <= job.pages; ++page)
        job.pageImages.push_back(drawnPage(path, page));
    return job;
}

bool inkNear(const QImage& image, int x, int y, int reach)
{
    for (int dy = -reach; dy <= reach; ++dy) {
        const int row = y + dy;
        if (row < 0 || row >= image.height())
            continue;
        const uchar* line = image.constScanLine(row);
        for (int dx = -reach; dx <= reach; ++dx)
            if (x + dx >= 0 && x + dx < image.width() && line[x + dx] < 128)
                return true;
    }
    return false;
}

// The share of the inked dots of either page with no ink on the other page
// within a dot (a print path may shift or round the drawing a little):
// 0 for the same page, far more for a page of other text.
double inkMismatch(const QImage& expected, const QImage& actual)
{
    if (expected.isNull() || expected.size() != actual.size())
        return 1.0;
    int ink = 0;
    int unmatched = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            for (const auto& [one, other] : {std::pair(&expected, &actual), std::pair(&actual, &expected)}) {
                if (one->constScanLine(y)[x] >= 128)
                    continue;
                ++ink;
                unmatched += !inkNear(*other, x, y, 1);
            }
        }
    }
    return ink == 0 ? 1.0 : double(unmatched) / ink;
}

class CupsPrinting : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_skipReason = whyCupsCannotRun();
        if (!s_skipReason.isEmpty())
            return;
        s_scheduler = std::make_unique<PrivateScheduler>();
        // Qt's printer support and the CUPS tools find the scheduler through this.
        qputenv("CUPS_SERVER", QFile::encodeName(s_scheduler->socket()));
        if (!s_scheduler->waitUntilRunning()) {
            s_failure = QStringLiteral("the CUPS scheduler did not start:\n") + s_scheduler->errorLog();
            return;
        }
        const QString queue = QStringLiteral("FumiTest%1").arg(QCoreApplication::applicationPid());
        s_pdfSettings = kPdfSettingsFolder + QStringLiteral("cups-pdf-%1.conf").arg(queue);
        writePdfSettings();
        if (!run(QStringLiteral("lpadmin"), {QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                                             QStringLiteral("cups-pdf:/") + queue, QStringLiteral("-P"), kPpd})
                 || !run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), queue}))
            s_failure = QStringLiteral("the virtual PDF printer could not be added:\n") + s_scheduler->errorLog();
        s_queue = queue;
    }
    // Each job a file of its own (the job number leads its name), in the
    // test's own folder, with cups-pdf's log beside it.
    static void writePdfSettings()
    {
        s_output = std::make_unique<testsupport::TempFolder>();
        QFile settings(s_pdfSettings);
        if (!settings.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            s_failure = QStringLiteral("cannot write ") + s_pdfSettings;
            return;
        }
        const QString folder = s_output->path();
        settings.write(QStringLiteral("Out %1\nAnonDirName %1\nLog %1\nLabel 1\nUserUMask 0022\n").arg(folder).toUtf8());
    }

    static void TearDownTestSuite()
    {
        s_scheduler.reset();
        if (!s_pdfSettings.isEmpty())
            QFile::remove(s_pdfSettings);
        s_output.reset();
        qunsetenv("CUPS_SERVER");
    }

    void SetUp() override
    {
        if (!s_skipReason.isEmpty())
            GTEST_SKIP() << s_skipReason.toStdString();
        ASSERT_TRUE(s_failure.isEmpty()) << s_failure.toStdString();
        env::gsUsrPh = m_userFolder.path() + u'/';
        m_before = outputFiles();

        engine::CharacterLook look;
        look.fontName = QStringLiteral("Noto Sans CJK JP");
        look.fontSize = 40;
        m_engine.setSelection(0, 0);
        m_engine.setSelectedText(kPageTexts.join(u'\f'), look);
        engine::PageSetup a4 = m_engine.pageSetup();
        a4.paperWidth = 11906;
        a4.paperHeight = 16838;
        m_engine.setPageSetup(a4);
    }
    void TearDown() override { env::gsUsrPh.clear(); }

    // The document's pages printed by the same runs straight to a PDF file, drawn.
    std::vector<QImage> referencePages()
    {
        const QString file = m_userFolder.path(QStringLiteral("reference.pdf"));
        PrintJobs reference(m_engine, m_userFolder.path(QStringLiteral("reference.prndt")),
                            PrinterDirectory{{QStringLiteral("reference")}, QStringLiteral("reference")});
        reference.beforeJob = [&file](QPrinter& printer, int) { printer.setOutputFileName(file); };
        m_dialogs.answerPrint(testsupport::PrintChoice{});
        const bool printed = reference.cPrint(false);
        m_dialogs.clear();
        return printed ? readJob(file).pageImages : std::vector<QImage>{};
    }

    static QStringList outputFiles() { return QDir(s_output->path()).entryList({QStringLiteral("*.pdf")}, QDir::Files); }

    // Waits until `count` new PDF files have arrived and the queue is empty,
    // within a minute; the files that arrived, oldest first.
    QStringList waitForJobs(int count)
    {
        const QDeadlineTimer deadline(60000);
        QStringList arrived;
        while (!deadline.hasExpired()) {
            arrived.clear();
            for (const QString& name : outputFiles())
                if (!m_before.contains(name))
                    arrived << QDir(s_output->path()).filePath(name);
            const bool queueEmpty = run(QStringLiteral("lpstat"), {QStringLiteral("-o"), s_queue})
                                        .value_or(QStringLiteral("busy"))
                                        .trimmed()
                                        .isEmpty();
            if (arrived.size() >= count && queueEmpty)
                break;
            QThread::msleep(250);
        }
        std::sort(arrived.begin(), arrived.end(), [](const QString& a, const QString& b) {
            return QFileInfo(a).lastModified() < QFileInfo(b).lastModified();
        });
        return arrived;
    }

    static QString s_skipReason;
    static QString s_failure;
    static QString s_queue;
    static QString s_pdfSettings;
    static std::unique_ptr<PrivateScheduler> s_scheduler;
    static std::unique_ptr<testsupport::TempFolder> s_output;

    testsupport::TempFolder m_userFolder;
    testsupport::ScriptedDialogs m_dialogs;
    engine::TextEngine m_engine;
    QStringList m_before;
};

QString CupsPrinting::s_skipReason;
QString CupsPrinting::s_failure;
QString CupsPrinting::s_queue;
QString CupsPrinting::s_pdfSettings;
std::unique_ptr<PrivateScheduler> CupsPrinting::s_scheduler;
std::unique_ptr<testsupport::TempFolder> CupsPrinting::s_output;

TEST_F(CupsPrinting, PagesTwoToThreeInTwoCopiesArriveAsTwoA4Jobs)
{
    const std::vector<QImage> reference = referencePages();
    ASSERT_EQ(reference.size(), 4u);
    ASSERT_GT(inkMismatch(reference[1], reference[2]), 0.3) << "the comparison tells pages apart";
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(s_queue));
    m_dialogs.answerPrint(testsupport::PrintChoice{s_queue, 2, 3, 2});

    ASSERT_TRUE(cPrint(m_engine));

    const QStringList jobs = waitForJobs(2);
    ASSERT_EQ(jobs.size(), 2) << s_scheduler->errorLog().right(3000).toStdString();
    for (const QString& path : jobs) {
        const PdfJob job = readJob(path);
        EXPECT_EQ(job.pages, 2) << path.toStdString();
        EXPECT_TRUE(job.pageSize.contains(u"(A4)")) << job.pageSize.toStdString();
        ASSERT_EQ(job.pageImages.size(), 2u);
        EXPECT_LT(inkMismatch(reference[1], job.pageImages[0]), 0.05) << "page 2";
        EXPECT_LT(inkMismatch(reference[2], job.pageImages[1]), 0.05) << "page 3";
    }
    EXPECT_FALSE(QFile::exists(defaultSettingsFile())) << "printing stores no settings; printer setup does";
}

// Settings naming a printer that is gone print on the current printer, every
// page once, without a dialog.
TEST_F(CupsPrinting, StoredSettingsForAGonePrinterPrintOnTheCurrentOne)
{
    const std::vector<QImage> reference = referencePages();
    ASSERT_EQ(reference.size(), 4u);
    ASSERT_TRUE(writeRecordFile(defaultSettingsFile(), PrinterRecord::forDevice(QStringLiteral("A printer long since gone"))));

    ASSERT_TRUE(cPrint(m_engine, true));

    EXPECT_TRUE(m_dialogs.asked().empty());
    const QStringList jobs = waitForJobs(1);
    ASSERT_EQ(jobs.size(), 1) << s_scheduler->errorLog().right(3000).toStdString();
    const PdfJob job = readJob(jobs[0]);
    ASSERT_EQ(job.pages, 4);
    for (int page = 0; page < 4; ++page)
        EXPECT_LT(inkMismatch(reference[page], job.pageImages[page]), 0.05) << "page " << page + 1;
}

} // namespace
} // namespace print
