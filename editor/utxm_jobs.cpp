// uTxm's command entry: the steps shared by every job, and the jobs.

#include "editor/utxm.h"

#include "dialogs/fontchoice.h"
#include "dialogs/pagedefaults.h"
#include "dialogs/popupmenus.h"
#include "dialogs/userformat.h"
#include "editor/characterindent.h"
#include "editor/headingrestyle.h"
#include "editor/jobrules.h"
#include "editor/styleapplier.h"
#include "editor/stylelevel.h"
#include "dialogs/listdialog.h"
#include "dialogs/paragraphdialog.h"
#include "dialogs/tableattributedialog.h"
#include "engine/hostunits.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "env/yini.h"
#include "print/printjobs.h"
#include "print/pageview.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <cstdlib>

namespace editor {

namespace {

constexpr int kTextFrameWidth = 2880; // twips: two inches by one
constexpr int kTextFrameHeight = 1440;

// Commands whose work arrives with later features (objects, inline frames,
// scripts). Until a feature is built its command says so instead of doing nothing.
constexpr int kNotBuiltYet[] = {31, 41, 44, 45};

void tellNotBuiltYet()
{
    env::dialogs().inform(QStringLiteral("この機能はまだ使えません｡"));
}

bool isTrailingBlank(QChar c)
{
    return c == u' ' || c == QChar(0x3000) || c == u'\v' || c == u'\r' || c == u'\n';
}

// Keeps a view from repainting while a command changes many formats.
class FrozenView {
public:
    explicit FrozenView(QWidget* view) : m_view(view) { m_view->setUpdatesEnabled(false); }
    ~FrozenView() { m_view->setUpdatesEnabled(true); }
    FrozenView(const FrozenView&) = delete;
    FrozenView& operator=(const FrozenView&) = delete;

private:
    QWidget* m_view;
};

} // namespace

void uTxm::buildJobs()
{
    const auto withJob = [this](Outcome (uTxm::*op)(int, QVariant&), int job) {
        return [this, op, job](QVariant& argument) { return (this->*op)(job, argument); };
    };
    const auto plain = [this](Outcome (uTxm::*op)()) { return [this, op](QVariant&) { return (this->*op)(); }; };
    const auto byArgument = [this](Outcome (uTxm::*op)(const QVariant&)) {
        return [this, op](QVariant& argument) { return (this->*op)(argument); };
    };
    const auto done = [](const std::function<void()>& work) {
        return [work](QVariant&) {
            work();
            return Outcome::Unchanged;
        };
    };

    for (int job : {1, 3, 5, 8, 10, 30, 32})
        m_jobs[job] = withJob(&uTxm::fileJob, job);
    for (int job : kNotBuiltYet)
        m_jobs[job] = [](QVariant&) {
            tellNotBuiltYet();
            return Outcome::Skipped;
        };
    for (int job : {50, 51, 52, 53, 56})
        m_jobs[job] = withJob(&uTxm::fieldJob, job);
    connect(m_engine.get(), &engine::TextEngine::fieldClicked, this, &uTxm::onFieldClicked);

    m_jobs[2] = plain(&uTxm::newDocument);
    m_jobs[4] = [this](QVariant&) { return saveIntoDatabase() ? Outcome::Unchanged : Outcome::Skipped; };
    m_jobs[6] = [this](QVariant&) { return print::cPrint(*m_engine) ? Outcome::Unchanged : Outcome::Skipped; };
    m_jobs[9] = done([this] { m_title->setFocus(); });
    m_jobs[11] = plain(&uTxm::undo);
    m_jobs[12] = plain(&uTxm::redo);
    m_jobs[13] = plain(&uTxm::cut);
    m_jobs[14] = done([this] { m_engine->copy(); });
    m_jobs[20] = plain(&uTxm::deleteSelection);
    m_jobs[21] = done([this] { m_engine->setSelection(0, -1); });
    m_jobs[22] = [this](QVariant&) { return findPage(false); };
    m_jobs[23] = [this](QVariant&) { return findPage(true); };
    m_jobs[24] = plain(&uTxm::tidyDocument);
    m_jobs[7] = plain(&uTxm::pageView);
    m_jobs[16] = plain(&uTxm::redrawBars);
    m_jobs[26] = plain(&uTxm::displayPage);
    m_jobs[27] = byArgument(&uTxm::showOrHideBars);
    m_jobs[40] = plain(&uTxm::insertTextFrame);
    m_jobs[54] = plain(&uTxm::insertPageBreak);
    m_jobs[55] = byArgument(&uTxm::indent);
    m_jobs[57] = byArgument(&uTxm::switchHeaderFooter);
    m_jobs[58] = [this](QVariant&) { return m_engine->insertPageNumberField() ? Outcome::Changed : Outcome::Skipped; };
    m_jobs[60] = byArgument(&uTxm::applyStyle);
    m_jobs[61] = plain(&uTxm::fontDialog);
    m_jobs[62] = plain(&uTxm::textColorDialog);
    m_jobs[70] = done([this] {
        m_painter.copy();
        showPainterFace();
    });
    m_jobs[71] = plain(&uTxm::pasteFormat);
    m_jobs[63] = [this](QVariant&) { return outcomeOf(m_paragraphs.paragraph()); };
    m_jobs[64] = [this](QVariant&) { return outcomeOf(m_paragraphs.list()); };
    m_jobs[65] = plain(&uTxm::pageSetup);
    m_jobs[66] = plain(&uTxm::userFormatPage);
    m_jobs[67] = plain(&uTxm::pictureLayoutPage);
    m_jobs[68] = plain(&uTxm::imePage);
    m_jobs[69] = done([this] { print::cSetPrn(*m_engine); });
    m_jobs[15] = byArgument(&uTxm::paste);
    m_jobs[35] = plain(&uTxm::insertPictureFile);
    m_jobs[dialogs::kEditPictureJob] = plain(&uTxm::editPicture);
    m_jobs[dialogs::kEnlargedPictureLinkJob] = byArgument(&uTxm::linkToEnlargedPicture);
    m_jobs[dialogs::kPicturePropertiesJob] = plain(&uTxm::pictureProperties);
    m_jobs[72] = byArgument(&uTxm::pasteMode);
    for (int job : {80, 81, 82, 83, 85})
        m_jobs[job] = [this, job](QVariant& argument) { return tableJob(job, argument); };
    m_jobs[84] = done([this] { m_engine->setGridLinesShown(!m_engine->gridLinesShown()); });
    m_jobs[86] = byArgument(&uTxm::zoom);
    m_jobs[87] = [this](QVariant& flag) {
        m_numbering = flag.toBool();
        return Outcome::Unchanged;
    };
    m_jobs[88] = done([this] { m_engine->refresh(); });
    buildToolJobs();
}

void uTxm::rtAct(qint32 iJb, const QVariant& vArg)
{
    QVariant argument = vArg;
    rtAct(iJb, argument);
}

void uTxm::rtAct(qint32 iJb, QVariant& vArg)
{
    ModifiedState::BusyScope busy(m_modified);
    const bool snapshot = jobrules::takesSnapshot(iJb) && m_jobs.contains(iJb);
    if (snapshot)
        m_snapshots.take();
    if (jobrules::focusesEngine(iJb))
        m_view->setFocus();
    if (jobrules::switchesInputMethodOff(iJb))
        txIME(false);

    const Outcome outcome = runJob(iJb, vArg);

    if (snapshot && outcome == Outcome::Skipped)
        m_snapshots.withdraw();
    // A change made without a snapshot of its own comes after the held one:
    // bringing that back would throw this change away unasked.
    if (!snapshot && outcome == Outcome::Changed)
        m_snapshots.release();
    if (outcome != Outcome::Skipped && jobrules::raisesFolderUpdate(iJb))
        emit eUdtFld();
    applyModifiedRule(iJb, outcome);
    refreshBars();
    emit eRtAct(iJb);
}

uTxm::Outcome uTxm::runJob(int job, QVariant& argument)
{
    const auto found = m_jobs.find(job);
    return found == m_jobs.end() ? Outcome::Skipped : found->second(argument);
}

// A job that did nothing changes no flag, whatever its rule says.
void uTxm::applyModifiedRule(int job, Outcome outcome)
{
    switch (jobrules::modifies(job)) {
    case jobrules::Modifies::Always:
        if (outcome != Outcome::Skipped)
            m_modified.setModified(true);
        break;
    case jobrules::Modifies::WhenChanged:
        if (outcome == Outcome::Changed)
            m_modified.setModified(true);
        break;
    case jobrules::Modifies::Nothing:
        break;
    }
}

// A page that is not built yet says so.
dialogs::PageResult uTxm::openPage(const QString& code, QString& answer)
{
    QString page = code;
    const dialogs::PageResult result = m_dialog->Act(page, answer);
    if (result == dialogs::PageResult::NoPage)
        tellNotBuiltYet();
    return result;
}

// ---- Jobs of this control ---------------------------------------------------------

uTxm::Outcome uTxm::newDocument()
{
    if (!mayReplace())
        return Outcome::Skipped;
    m_modified.setModified(false);
    m_engine->reset();
    m_title->clear();
    forgetDocument();
    loadOptions(EditorOptions::Level::Display);
    return Outcome::Unchanged;
}

uTxm::Outcome uTxm::undo()
{
    const bool possible = m_snapshots.held() || m_engine->undoCount() > 0;
    m_snapshots.undo();
    return possible ? Outcome::Changed : Outcome::Unchanged;
}

uTxm::Outcome uTxm::redo()
{
    const bool possible = m_engine->redoCount() > 0;
    m_snapshots.redo();
    return possible ? Outcome::Changed : Outcome::Unchanged;
}

uTxm::Outcome uTxm::cut()
{
    QApplication::clipboard()->clear();
    const bool selected = m_engine->canCopy();
    m_engine->cut();
    return selected ? Outcome::Changed : Outcome::Unchanged;
}

uTxm::Outcome uTxm::deleteSelection()
{
    const bool selected = m_engine->selectionLength() > 0;
    m_engine->deleteSelection();
    return selected ? Outcome::Changed : Outcome::Unchanged;
}

// The page replaces text through the engine while it is open; a document it
// changed is edited, whichever of the two commands opened it.
uTxm::Outcome uTxm::findPage(bool replacing)
{
    bool changed = false;
    const QMetaObject::Connection watch =
        connect(m_engine.get(), &engine::TextEngine::changed, this, [&changed] { changed = true; });
    QString answer;
    const dialogs::PageResult result = openPage(replacing ? QStringLiteral("RP") : QStringLiteral("FD"), answer);
    disconnect(watch);
    if (result == dialogs::PageResult::NoPage)
        return Outcome::Skipped;
    if (changed)
        m_modified.setModified(true);
    return changed ? Outcome::Changed : Outcome::Unchanged;
}

uTxm::Outcome uTxm::tidyDocument()
{
    const int caret = m_engine->selectionStart();
    m_engine->setSelection(caret, 0);
    StyleApplier(*m_engine, m_formats).setAttributes(int(styleLevelAtCaret(*m_engine, m_formats)));
    trimDocumentEnd();
    m_engine->setSelection(caret, 0);
    reformatFields();
    return Outcome::Changed;
}

// Deletes the blanks, line breaks and paragraph ends the text ends with.
void uTxm::trimDocumentEnd()
{
    const QString text = m_engine->plainText();
    int positions = 0;
    for (qsizetype i = text.size() - 1; i >= 0 && isTrailingBlank(text[i]); --i) {
        if (text[i] == u'\n' && i > 0 && text[i - 1] == u'\r')
            --i; // a paragraph end is one position
        ++positions;
    }
    if (positions == 0)
        return;
    m_engine->setSelection(0, -1);
    const int end = m_engine->selectionStart() + m_engine->selectionLength();
    m_engine->setSelection(end - positions, positions);
    m_engine->deleteSelection();
}

// The view takes the display settings over as soon as they change, so the
// document is only redrawn.
uTxm::Outcome uTxm::displayPage()
{
    QString answer;
    if (openPage(QStringLiteral("DP"), answer) == dialogs::PageResult::NoPage)
        return Outcome::Skipped;
    m_engine->refresh();
    return Outcome::Unchanged;
}

// The page view shows the pages as they print and leaves the document as it was.
uTxm::Outcome uTxm::pageView()
{
    print::cAct(*m_engine, {}, {}, window());
    return Outcome::Unchanged;
}

uTxm::Outcome uTxm::insertTextFrame()
{
    return m_engine->insertTextFrame(kTextFrameWidth, kTextFrameHeight) > 0 ? Outcome::Changed : Outcome::Skipped;
}

uTxm::Outcome uTxm::insertPageBreak()
{
    m_engine->setSelection(m_engine->selectionStart(), 0);
    m_engine->setSelectedText(QStringLiteral("\f"));
    return Outcome::Changed;
}

uTxm::Outcome uTxm::indent(const QVariant& mode)
{
    return indentByCharacters(*m_engine, m_formats, mode.toInt(), m_documentType) ? Outcome::Changed
                                                                                  : Outcome::Skipped;
}

// A negative code applies the style quietly; without a code nothing is applied.
uTxm::Outcome uTxm::applyStyle(const QVariant& code)
{
    bool number = false;
    const int value = code.toInt(&number);
    if (!number)
        return Outcome::Skipped;
    FrozenView frozen(m_view);
    const StyleRequest request{std::abs(value), m_documentType, false, value < 0};
    return StyleApplier(*m_engine, m_formats).apply(request) ? Outcome::Changed : Outcome::Skipped;
}

// A positive part (1, 2: headers, 4, 8: footers) is switched on with the
// header or footer format and a word to start from, a negative one off with
// its text; the page layout shows them either way.
uTxm::Outcome uTxm::switchHeaderFooter(const QVariant& argument)
{
    const int signedPart = argument.toInt();
    const int part = std::abs(signedPart);
    if (part != engine::HeaderEveryPage && part != engine::HeaderFirstPage && part != engine::FooterEveryPage
        && part != engine::FooterFirstPage)
        return Outcome::Skipped;
    m_engine->setViewMode(engine::ViewMode::PageLayout);
    const int flags = m_engine->headerFooterFlags();
    const bool header = part == engine::HeaderEveryPage || part == engine::HeaderFirstPage;
    if (signedPart > 0 && !(flags & part)) {
        m_engine->setHeaderFooterFlags(flags | part);
        m_engine->activateHeaderFooter(engine::HeaderFooterFlag(part));
        m_engine->setPlainText(header ? QStringLiteral("Header") : QStringLiteral("Footer"));
        m_engine->setSelection(0, -1);
        StyleApplier(*m_engine, m_formats).applyRecord(header ? dialogs::kHeaderFormat : dialogs::kFooterFormat);
        m_engine->activateBody();
    } else if (signedPart < 0 && (flags & part)) {
        m_engine->setHeaderFooterFlags(flags & ~part);
    }
    m_engine->refresh();
    return Outcome::Changed;
}

uTxm::Outcome uTxm::fontDialog()
{
    return dialogs::chooseFont(*m_engine) ? Outcome::Changed : Outcome::Unchanged;
}

uTxm::Outcome uTxm::textColorDialog()
{
    const std::optional<QColor> chosen =
        env::dialogs().color(engine::colorFromHost(m_engine->textColor()), QStringLiteral("文字色"));
    if (!chosen)
        return Outcome::Unchanged;
    m_engine->setTextColor(engine::colorToHost(*chosen));
    return Outcome::Changed;
}

uTxm::Outcome uTxm::pasteFormat()
{
    m_view->setFocus();
    if (m_painter.paste())
        return Outcome::Changed;
    env::dialogs().inform(QStringLiteral("書式のｺﾋﾟｰで書式を取り込んでから貼り付けてください｡"));
    return Outcome::Skipped;
}

uTxm::Outcome uTxm::pageSetup()
{
    if (m_documentType == 1) {
        tellNotBuiltYet();   // the engine's own page dialog
        return Outcome::Skipped;
    }
    const engine::PageSetup before = m_engine->pageSetup();
    QString answer;
    if (openPage(QStringLiteral("PG"), answer) == dialogs::PageResult::NoPage)
        return Outcome::Skipped;
    return m_engine->pageSetup() == before ? Outcome::Unchanged : Outcome::Changed;
}

// The open document follows new formats: its headings take them.
uTxm::Outcome uTxm::userFormatPage()
{
    const dialogs::Frmt before = m_formats;
    QString answer;
    const dialogs::PageResult result = openPage(QStringLiteral("US"), answer);
    if (result == dialogs::PageResult::NoPage)
        return Outcome::Skipped;
    if (result != dialogs::PageResult::Applied || !headingFormatsDiffer(before, m_formats))
        return Outcome::Unchanged;
    const FrozenView frozen(m_view);
    return restyleHeadings(*m_engine, m_formats) ? Outcome::Changed : Outcome::Unchanged;
}

uTxm::Outcome uTxm::pictureLayoutPage()
{
    QString answer = m_options.pictureAnswer();
    const dialogs::PageResult result = openPage(QStringLiteral("TF"), answer);
    if (result == dialogs::PageResult::Applied)
        m_options.takePictureAnswer(answer);
    return result == dialogs::PageResult::NoPage ? Outcome::Skipped : Outcome::Unchanged;
}

uTxm::Outcome uTxm::imePage()
{
    QString answer = m_options.imeAnswer();
    const bool wasOn = m_options.imeOn();
    const dialogs::PageResult result = openPage(QStringLiteral("IM"), answer);
    if (result == dialogs::PageResult::Applied)
        m_options.takeImeAnswer(answer);
    if (m_options.imeOn() != wasOn)
        txIME(m_options.imeOn()); // at once, not only when the next document opens
    return result == dialogs::PageResult::NoPage ? Outcome::Skipped : Outcome::Unchanged;
}

// 2 and 3 come from hosts that tick the menu items through this job (3 plain
// text); 0 and 1 from the menu items themselves (1 plain text).
uTxm::Outcome uTxm::pasteMode(const QVariant& mode)
{
    const int value = mode.toInt();
    m_options.setPasteAsText(value > 1 ? value == 3 : value == 1);
    tickPasteMode();
    return Outcome::Unchanged;
}

uTxm::Outcome uTxm::zoom(const QVariant& step)
{
    if (const std::optional<int> percent = EditorOptions::zoomFor(m_engine->zoom(), step))
        m_engine->setZoom(*percent);
    m_engine->refresh();
    return Outcome::Unchanged;
}

uTxm::Outcome uTxm::tableJob(int job, const QVariant& argument)
{
    const QString part = argument.toString();
    TableCommands::Result result = TableCommands::Result::Skipped;
    switch (job) {
    case 80:
        result = m_tables.insert(part);
        break;
    case 81:
        result = m_tables.split(part);
        break;
    case 82:
        result = m_tables.remove(part);
        break;
    case 83:
        result = m_tables.select(part);
        break;
    case 85:
        result = m_tables.attributes(part);
        break;
    default:
        break;
    }
    switch (result) {
    case TableCommands::Result::Changed:
        return Outcome::Changed;
    case TableCommands::Result::Unchanged:
        return Outcome::Unchanged;
    case TableCommands::Result::Skipped:
        break;
    }
    return Outcome::Skipped;
}

TableCommands::Host uTxm::tableHost()
{
    TableCommands::Host host;
    host.openTablePage = [this] {
        QString answer;
        return openPage(QStringLiteral("TB"), answer) == dialogs::PageResult::Applied && !answer.isEmpty();
    };
    host.askLook = [this](const engine::TableLook& look,
                          engine::TablePart part) -> std::optional<engine::TableLook> {
        dialogs::TableAttributeDialog dialog(look, part, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.look();
    };
    return host;
}

uTxm::Outcome uTxm::outcomeOf(ParagraphCommands::Result result)
{
    return result == ParagraphCommands::Result::Changed ? Outcome::Changed : Outcome::Unchanged;
}

ParagraphCommands::Host uTxm::paragraphHost()
{
    ParagraphCommands::Host host;
    host.askParagraph = [this](const dialogs::ParagraphLook& look,
                               double characterTwips) -> std::optional<dialogs::ParagraphLook> {
        dialogs::ParagraphDialog dialog(look, characterTwips, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.look();
    };
    host.askList = [this](const dialogs::ListLook& look) -> std::optional<dialogs::ListLook> {
        dialogs::ListDialog dialog(look, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.look();
    };
    return host;
}

void uTxm::loadPageDefaults()
{
    m_engine->setPageSetup(dialogs::readPageDefaults(env::gxIni(), m_engine->pageSetup()));
}

} // namespace editor
