#include "editor/utxm.h"

#include "bars/toolband.h"
#include "dialogs/displaypage.h"
#include "dialogs/findpage.h"
#include "dialogs/imepage.h"
#include "dialogs/linkpage.h"
#include "dialogs/pagesetuppage.h"
#include "dialogs/picturelayoutpage.h"
#include "dialogs/popupmenus.h"
#include "dialogs/sbtxm.h"
#include "dialogs/tablepage.h"
#include "dialogs/userformatpage.h"
#include "editor/inputmethodswitch.h"
#include "editor/jobrules.h"
#include "editor/outlinetext.h"
#include "editor/pastekind.h"
#include "editor/recoverykeeper.h"
#include "editor/styleapplier.h"
#include "editor/stylelevel.h"
#include "editor/updateconfirmation.h"
#include "engine/pagesetup.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "env/yini.h"
#include "picture/mimepicture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace editor {

namespace {

constexpr int kTwipsPerScreenPixel = 15; // at 96 pixels per inch

bool isBlank(QChar c)
{
    return c == u' ' || c == QChar(0x3000);
}

} // namespace

uTxm::uTxm(QWidget* parent)
    : QWidget(parent)
    , m_engine(std::make_unique<engine::TextEngine>())
    , m_title(new QLineEdit(this))
    , m_ime(systemInputMethodSwitch())
    , m_snapshots(*m_engine)
{
    m_title->setObjectName(QStringLiteral("txTitle"));
    // The box has no label of its own; the HTML title comes from it.
    m_title->setPlaceholderText(QStringLiteral("ﾀｲﾄﾙ"));
    m_view = new engine::EngineView(*m_engine, this);
    makeBars();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_title);
    layout->addWidget(m_band);
    layout->addWidget(m_view, 1);

    connect(m_engine.get(), &engine::TextEngine::changed, this, &uTxm::onEngineChanged);
    connect(m_engine.get(), &engine::TextEngine::caretMoved, this, &uTxm::onCaretMoved);
    connect(m_engine.get(), &engine::TextEngine::keyPressed, this, &uTxm::onKeyPressed);
    connect(m_engine.get(), &engine::TextEngine::textFrameEntered, this, [this](int id) { m_frameFocus = id; });
    connect(m_engine.get(), &engine::TextEngine::textFrameLeft, this, [this] { m_frameFocus = 0; });
    connect(m_title, &QLineEdit::textChanged, this, &uTxm::onEngineChanged);
    connect(m_title, &QLineEdit::returnPressed, this, &uTxm::onTitleEntered);
    connect(&m_modified, &ModifiedState::aboutToChange, this, &uTxm::eEdtCng);
    connect(&m_modified, &ModifiedState::userChanged, this, [this] { m_snapshots.release(); });
    m_title->installEventFilter(this);
    m_view->installEventFilter(this);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, &uTxm::showContextMenu);

    buildJobs();
    makeDialog();
    refreshBars();
}

uTxm::~uTxm()
{
    if (m_active)
        cOff();
    // The view must go before the engine whose documents it shows.
    delete m_view;
}

void uTxm::makeDialog()
{
    m_dialog = std::make_unique<dialogs::sbTxm>(this);
    m_dialog->addPage(QStringLiteral("LK"), std::make_unique<dialogs::LinkPage>());
    m_dialog->addPage(QStringLiteral("FD"), std::make_unique<dialogs::FindPage>(m_formats));
    m_dialog->addPage(QStringLiteral("TB"), std::make_unique<dialogs::TablePage>());
    m_dialog->addPage(QStringLiteral("PG"), std::make_unique<dialogs::PageSetupPage>(env::gxIni()));
    dialogs::DisplayHost display{[this] { return extentTwips(); },
                                 [this](int mode, int zoom) { EditorOptions::storeView(env::gxIni(), m_group, mode, zoom); }};
    m_dialog->addPage(QStringLiteral("DP"), std::make_unique<dialogs::DisplayPage>(std::move(display)));
    m_dialog->addPage(QStringLiteral("IM"), std::make_unique<dialogs::ImePage>());
    m_dialog->addPage(QStringLiteral("TF"), std::make_unique<dialogs::PictureLayoutPage>());
    m_dialog->addPage(QStringLiteral("US"),
                      std::make_unique<dialogs::UserFormatPage>(m_formats, env::gxIni(), [this](engine::TextEngine& sample) {
                          ParagraphCommands(sample, paragraphHost()).paragraph();
                      }));
    dialogs::PopupMenus& menus = m_dialog->menus();
    connect(menus.menu(dialogs::PopupMenu::Insert), &QMenu::aboutToShow, this, [this, &menus] {
        menus.prepareInsertMenu(m_engine->headerFooterFlags(), !m_engine->isBodyActive());
    });
    // The text's own menu leads to the insert menu too: the main window's has
    // no headers, footers or page numbers, and nothing else shows them.
    QMenu* edit = menus.menu(dialogs::PopupMenu::Edit);
    edit->addSeparator();
    edit->addMenu(menus.menu(dialogs::PopupMenu::Insert));
    connect(m_dialog.get(), &dialogs::sbTxm::commandChosen, this,
            [this](int job, const QVariant& argument) { rtAct(job, argument); });
}

// ---- Lifecycle ---------------------------------------------------------------

void uTxm::cOn(qint32 nHnd, qint16 iTy, std::optional<bool> vShwTt, const QString& vFmGrp)
{
    ModifiedState::BusyScope busy(m_modified);
    m_active = true;
    m_screenDpi = logicalDpiX();
    m_host = nHnd;
    m_showTitle = vShwTt.value_or(true);
    m_title->setVisible(m_showTitle);
    m_group = vFmGrp;
    m_options.textFlow = iTy < 0 ? 1 : 2;
    m_dialog->cTyp(iTy);
    loadOptions(EditorOptions::Level::Everything);
    m_dialog->cOn(m_engine.get());
    m_formats.load(env::gxIni());
    cTyp(iTy);
    refreshBars();
}

void uTxm::cOff()
{
    ModifiedState::BusyScope busy(m_modified);
    m_active = false;
    m_snapshots.clear();
    m_dialog.reset();
    makeDialog();
    deleteWorkPictures();
    storeOptions();
    m_engine->reset();
    m_currentFile.clear();
    m_recovery.reset();
    m_hold.release();
}

void uTxm::cTyp(qint16 iTy)
{
    m_documentType = iTy;
    m_dialog->cTyp(iTy);
    if (iTy < 1)
        m_formats.setHeadingFirst(false);
}

void uTxm::loadOptions(EditorOptions::Level level)
{
    if (level != EditorOptions::Level::DisplayOnly)
        loadPageDefaults();
    const DisplayValues display = m_options.load(env::gxIni(), m_group, level);
    m_engine->setViewMode(display.mode == int(engine::ViewMode::PageLayout) ? engine::ViewMode::PageLayout
                                                                              : engine::ViewMode::Normal);
    m_engine->setZoom(display.zoom);
    m_engine->setControlCharactersShown(display.controlCharacters);
    m_engine->setGridLinesShown(true);
    if (level != EditorOptions::Level::Everything)
        return;
    applyBarLayout();
    tickPasteMode();
    txIME(m_options.imeOn());
}

void uTxm::tickPasteMode()
{
    const dialogs::PopupMenus& menus = m_dialog->menus();
    const QString parent = QStringLiteral("Ctrl+V 文書貼付");
    menus.action(dialogs::PopupMenu::Settings, parent, QStringLiteral("ﾘｯﾁﾃｷｽﾄ(書式付)で貼付"))
        ->setChecked(!m_options.pasteAsText());
    menus.action(dialogs::PopupMenu::Settings, parent, QStringLiteral("ﾃｷｽﾄ(書式無し)で貼付"))
        ->setChecked(m_options.pasteAsText());
}

void uTxm::storeOptions()
{
    m_options.barLayout = m_band->layoutState().toText();
    m_options.rulerShown = m_band->layoutState().rulerShown();
    const DisplayValues display{int(m_engine->viewMode()), m_engine->zoom(), m_engine->controlCharactersShown()};
    m_options.store(env::gxIni(), m_group, display);
}

void uTxm::deleteWorkPictures() const
{
    if (env::gsWrkPh.isEmpty())
        return;
    QDir work(env::gsWrkPh);
    for (const QString& name : work.entryList({QStringLiteral("*.png")}, QDir::Files))
        work.remove(name);
}

// ---- Change tracking, caret and keys ------------------------------------------

void uTxm::onEngineChanged()
{
    m_modified.recordChange();
    if (!m_buttonRefresh.isActive())
        m_buttonRefresh.start();
}

void uTxm::onCaretMoved()
{
    if (!m_modified.busy())
        refreshBars();
}

// Outside headings Enter may break the line instead of the paragraph; Shift
// then gives the new paragraph.
void uTxm::onKeyPressed(int key, Qt::KeyboardModifiers modifiers, bool* handled)
{
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter || m_modified.busy() || !m_formats.enterShift() || headingAtCaret(*m_engine, m_formats))
        return;
    const bool shift = modifiers & Qt::ShiftModifier;
    m_engine->setSelectedText(shift ? QStringLiteral("\r\n") : QString(QChar(11)));
    *handled = true;
}

void uTxm::onTitleEntered()
{
    if (!m_formats.headingFirst() || !m_engine->plainText().isEmpty())
        return;
    const QString title = m_title->text();
    {
        ModifiedState::BusyScope busy(m_modified);
        m_engine->setSelection(0, 0);
        m_engine->setSelectedText(title);
        m_engine->setSelection(0, int(title.size()));
        StyleApplier(*m_engine, m_formats).apply({0, m_documentType, false, false});
        m_engine->setSelection(int(title.size()), 0);
        m_modified.setModified(true);
        refreshBars();
    }
    m_view->setFocus();
}

// The text view's own undo, redo and paste keys run the editor's commands,
// which know the undo snapshot and the user's paste setting; Ctrl+Y redoes
// whatever the desktop's redo key is.
std::optional<int> uTxm::editKeyJobOf(const QKeyEvent& key)
{
    if (key.matches(QKeySequence::Undo))
        return 11;
    if (key.matches(QKeySequence::Redo) || key.keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y))
        return 12;
    if (key.matches(QKeySequence::Paste))
        return 15;
    return std::nullopt;
}

std::optional<uTxm::Emphasis> uTxm::emphasisOf(const QKeyEvent& key)
{
    using engine::TextEngine;
    const QKeyCombination pressed = key.keyCombination();
    if (pressed == QKeyCombination(Qt::CTRL, Qt::Key_B))
        return Emphasis{&TextEngine::bold, &TextEngine::setBold};
    if (pressed == QKeyCombination(Qt::CTRL, Qt::Key_I))
        return Emphasis{&TextEngine::italic, &TextEngine::setItalic};
    if (pressed == QKeyCombination(Qt::CTRL, Qt::Key_U))
        return Emphasis{&TextEngine::underline, &TextEngine::setUnderline};
    return std::nullopt;
}

// The selection's first character decides: a bold one makes all plain.
// The engine's change marks the document edited as typing does.
void uTxm::toggleEmphasis(const Emphasis& emphasis)
{
    engine::TextEngine& engine = *m_engine;
    (engine.*emphasis.set)(!(engine.*emphasis.isOn)());
    refreshBars();
}

bool uTxm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_title || watched == m_view) && m_options.imeOn())
        txIME(true);
    if (event->type() == QEvent::Resize && watched == m_view)
        QMetaObject::invokeMethod(this, &uTxm::refreshRuler, Qt::QueuedConnection);
    const bool key = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (key && watched == m_view) {
        const auto* pressed = static_cast<QKeyEvent*>(event);
        if (const std::optional<int> job = editKeyJobOf(*pressed)) {
            event->accept();
            if (event->type() == QEvent::KeyPress)
                rtAct(*job);
            return true;
        }
        if (const std::optional<Emphasis> emphasis = emphasisOf(*pressed)) {
            event->accept();
            if (event->type() == QEvent::KeyPress)
                toggleEmphasis(*emphasis);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void uTxm::txIME(bool on)
{
    m_ime->setOpen(on);
}

void uTxm::setInputMethodSwitch(std::unique_ptr<InputMethodSwitch> ime)
{
    m_ime = std::move(ime);
}

// ---- Public operations ---------------------------------------------------------

QString uTxm::SelTxt() const
{
    return m_engine->selectedText();
}

void uTxm::setSelTxt(const QString& sTx)
{
    m_engine->setSelectedText(sTx);
}

// The control's extent, which the display page fits the paper into.
QSizeF uTxm::extentTwips() const
{
    return {width() * engine::kTwipsPerInch / logicalDpiX(), height() * engine::kTwipsPerInch / logicalDpiY()};
}

qint32 uTxm::PageWdIn() const
{
    // Halves go to the even neighbour, as the rounding of the default mode does.
    return qint32(std::nearbyint(m_engine->pageSetup().paperWidth / double(kTwipsPerScreenPixel)));
}

void uTxm::FndWd(const QString& sWd)
{
    const qsizetype blank = std::find_if(sWd.begin(), sWd.end(), isBlank) - sWd.begin();
    const QString word = sWd.left(blank);
    if (!word.isEmpty())
        m_engine->find(word, 0, engine::FindDefault);
}

bool uTxm::mayReplace()
{
    return mayReplaceDocument(m_modified, m_options.updateRule, m_documentType,
                              [this] { return saveIntoDatabase(); });
}

void uTxm::ChkUdt(bool& bCancel)
{
    bCancel = !mayReplace();
}

// A replaced document takes nothing of the old one along: no undo snapshot,
// no file name, no lock on the old file.
void uTxm::forgetDocument()
{
    m_snapshots.release();
    m_currentFile.clear();
    m_hold.release();
}

bool uTxm::SetData(const QByteArray& bytes, bool noConfirmation)
{
    ModifiedState::BusyScope busy(m_modified);
    if (!m_opener.transfer(bytes, false, [this, noConfirmation] { return noConfirmation || mayReplace(); }))
        return false;
    m_frameFocus = 0;
    forgetDocument();
    m_modified.setModified(false);
    return true;
}

bool uTxm::InsData(const QByteArray& bytes)
{
    ModifiedState::BusyScope busy(m_modified);
    if (!m_opener.transfer(bytes, true, {}))
        return false;
    m_modified.setModified(true);
    return true;
}

bool uTxm::ApndData(const QByteArray& bytes)
{
    ModifiedState::BusyScope busy(m_modified);
    return m_opener.transfer(bytes, true, {});
}

bool uTxm::bDcEdt() const
{
    return m_modified.modified();
}

void uTxm::setDcEdt(bool modified)
{
    m_modified.setModified(modified);
}

QString uTxm::Title() const
{
    if (m_showTitle)
        return m_title->text();
    const QString text = m_engine->plainText();
    const qsizetype end = std::find_if(text.begin(), text.end(), [](QChar c) { return c == u'\r' || c == u'\n'; })
        - text.begin();
    return text.left(end);
}

void uTxm::setTitle(const QString& sTitle)
{
    ModifiedState::BusyScope busy(m_modified);
    m_title->setText(sTitle);
}

DocumentState uTxm::ChkJbMn0() const
{
    const bool content = !m_engine->plainText().isEmpty() || m_engine->currentObject() >= 1;
    return {content, content && m_modified.modified()};
}

bool uTxm::canUndo() const
{
    return m_engine->undoCount() > 0 || m_snapshots.held();
}

bool uTxm::canRedo() const
{
    return m_engine->redoCount() > 0;
}

EditMenuState uTxm::ChkJbMn1() const
{
    EditMenuState state;
    state.bUndo = canUndo();
    state.bRedo = canRedo();
    state.bCopy = m_engine->canCopy();
    state.bPaste = m_engine->canPaste();
    const DocumentState document = ChkJbMn0();
    state.bExDoc = document.bExDoc;
    state.bOvrw = document.bOvrw;
    if (const QMimeData* clipboard = QApplication::clipboard()->mimeData()) {
        state.bTx = offerOf(clipboard).text;
        state.bPc = picture::hasBitmap(*clipboard) || picture::hasPictureFile(*clipboard);
        state.bMt = picture::hasMetafile(*clipboard);
    }
    state.iRet = (state.bTx ? 1 : 0) + (state.bPc || state.bMt || state.bLk ? 2 : 0);
    return state;
}

CaretState uTxm::ChkJbMn3() const
{
    CaretState state;
    state.bInHd = headingAtCaret(*m_engine, m_formats);
    state.bInTf = m_frameFocus != 0;
    state.vFdTyp = m_fields.kindAtCaret();
    return state;
}

TableMenuState uTxm::ChkJbMn5() const
{
    TableMenuState state;
    state.bShwGrd = m_engine->gridLinesShown();
    state.bInsTb = m_engine->canInsertTable();
    state.bInsCL = m_engine->canInsertTableColumn();
    state.bInsRw = m_engine->canInsertTableRow();
    state.bDelCL = m_engine->canDeleteTableColumn();
    state.bDelRw = m_engine->canDeleteTableRows();
    state.bSlcTb = m_engine->tableAtCaret().table > 0;
    state.bSplTb = m_engine->canSplitTable();
    state.caret = ChkJbMn3();
    return state;
}

bool uTxm::ChkJbMn6() const
{
    return m_frameFocus != 0;
}

engine::TextEngine* uTxm::GetObj() const
{
    return m_engine.get();
}

DocumentData uTxm::GetData() const
{
    DocumentData data;
    const std::optional<QByteArray> bytes = m_engine->saveToMemory(engine::FormatCode::Doc);
    data.ok = bytes.has_value();
    if (!data.ok)
        env::dialogs().inform(QStringLiteral("文書をﾃﾞｰﾀにできません｡") + m_engine->lastWriteRefusal());
    data.bytes = bytes.value_or(QByteArray());
    data.text = m_engine->plainText();
    data.title = m_title->text();
    return data;
}

bool uTxm::bHaveData() const
{
    const QString text = m_engine->plainText();
    const bool visible = std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); });
    return visible || m_engine->currentObject() >= 1;
}

void uTxm::GetMTxt(QString& sTx, QString& sCp)
{
    ModifiedState::BusyScope busy(m_modified);
    const Outline outline = outlineText(*m_engine, m_formats);
    sTx = outline.text;
    sCp = outline.caption;
}

void uTxm::SetText(const QString& sTx)
{
    {
        ModifiedState::BusyScope busy(m_modified);
        if (sTx.isEmpty())
            m_engine->reset();
        else
            m_engine->setPlainText(sTx);
        forgetDocument();
    }
    m_modified.setModified(false);
    refreshBars();
}

HeaderFooterState uTxm::HeadFtMn() const
{
    const int flags = m_engine->headerFooterFlags();
    return {bool(flags & engine::HeaderEveryPage), bool(flags & engine::HeaderFirstPage),
            bool(flags & engine::FooterEveryPage), bool(flags & engine::FooterFirstPage)};
}

QString uTxm::TvCelVL(qint16 iNo, qint32 nRw, qint32 nCL) const
{
    return m_tables.cellValue(iNo, nRw, nCL);
}

void uTxm::setTvCelVL(qint16 iNo, qint32 nRw, qint32 nCL, const QString& sVL)
{
    ModifiedState::BusyScope busy(m_modified);
    const int frame = m_engine->textFrameOfTable(iNo);
    if (frame != m_engine->currentTextFrame())
        m_engine->makeTextFrameCurrent(frame);
    if (m_tables.setCellValue(iNo, nRw, nCL, sVL))
        m_modified.setModified(true);
}

void uTxm::keepRecoveryCopy(const QString& workFolder)
{
    m_recovery = std::make_unique<RecoveryKeeper>(workFolder, [this] { return recoveryRecord(); });
    RecoveryKeeper* keeper = m_recovery.get();
    connect(&m_modified, &ModifiedState::aboutToChange, keeper, [keeper](bool modified) {
        if (modified)
            keeper->changed();
        else
            keeper->discard();
    });
    connect(&m_modified, &ModifiedState::userChanged, keeper, &RecoveryKeeper::changed);
    if (m_modified.modified())
        keeper->changed();
}

std::optional<RecoveryRecord> uTxm::recoveryRecord()
{
    if (!m_modified.modified())
        return std::nullopt;
    const std::optional<QByteArray> snapshot = m_engine->saveToMemory(engine::FormatCode::Snapshot);
    if (!snapshot)
        return std::nullopt;
    return RecoveryRecord{m_currentFile, m_title->text(), m_documentType, QDateTime::currentDateTimeUtc(), *snapshot};
}

bool uTxm::restoreRecovered(const RecoveryRecord& record)
{
    {
        ModifiedState::BusyScope busy(m_modified);
        if (!m_engine->restoreSnapshot(record.snapshot, 0, 0))
            return false;
        forgetDocument();
        m_frameFocus = 0;
        m_currentFile = record.fileName;
        setTitle(record.title);
    }
    if (!m_currentFile.isEmpty()) {
        // The recovered document cannot be refused any more: a file another
        // program has open meanwhile is only protected from being written over.
        const DocumentHold::Access access = m_hold.askAccess(m_currentFile);
        m_hold.opened(m_currentFile,
                      access == DocumentHold::Access::Cancelled ? DocumentHold::Access::ReadOnly : access);
    }
    m_modified.setModified(true);
    refreshBars();
    return true;
}

void uTxm::Snapshot(bool bRestore)
{
    ModifiedState::BusyScope busy(m_modified);
    if (bRestore)
        m_snapshots.restore();
    else
        m_snapshots.take();
}

} // namespace editor
