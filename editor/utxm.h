#pragma once
// uTxm: the document editor a host window places once — a title box above
// the text engine's view and a status panel below it — driven through its
// public operations and the one command entry rtAct, and telling the host
// what happens through its events.
//
// The logic lives in plain classes (the command steps in jobrules, the
// modified and busy flags in ModifiedState, the undo snapshot in
// SnapshotLayer, the options in EditorOptions, the styles in StyleApplier);
// this class wires them to the engine, the settings and the dialog.

#include "dialogs/frmt.h"
#include "dialogs/sbtxm.h"
#include "editor/documenthold.h"
#include "editor/documentnumbering.h"
#include "editor/documentopener.h"
#include "editor/documentsaver.h"
#include "editor/editoroptions.h"
#include "editor/fieldcommands.h"
#include "editor/formatpainter.h"
#include "editor/modifiedstate.h"
#include "editor/opendialog.h"
#include "editor/paragraphcommands.h"
#include "editor/recoverycopy.h"
#include "editor/snapshotlayer.h"
#include "editor/tablecommands.h"
#include "editor/templatefilling.h"

#include <QSizeF>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;

namespace engine {
class EngineView;
class TextEngine;
}

namespace bars {
class ToolBand;
enum class ColorTarget;
}

namespace tools {
class zKtl;
}

namespace dialogs {
struct PictureOutcome;
struct PictureTarget;
}

namespace editor {
class RecoveryKeeper;

class InputMethodSwitch;
class PictureSizeDrawer;

// ChkJbMn0: whether the document has content, and whether it is modified with content.
struct DocumentState {
    bool bExDoc = false;
    bool bOvrw = false;
};

// ChkJbMn1: the edit menu's states and the clipboard's contents.
struct EditMenuState {
    bool bUndo = false;
    bool bRedo = false;
    bool bCopy = false;
    bool bPaste = false;
    bool bExDoc = false;
    bool bOvrw = false;
    bool bTx = false; // text or rich text
    bool bPc = false; // a bitmap
    bool bMt = false; // an enhanced metafile
    bool bLk = false; // a DDE link (never, on this platform)
    int iRet = 0;     // 1 for text, + 2 for a picture of any kind
};

// ChkJbMn3: where the caret is.
struct CaretState {
    bool bInHd = false; // in a heading paragraph
    bool bInTf = false; // in a text frame
    QString vFdTyp;     // kind code of the field under the caret, "" outside fields
};

// ChkJbMn5: the table states, plus where the caret is.
struct TableMenuState {
    bool bShwGrd = false;
    bool bInsTb = false;
    bool bInsCL = false;
    bool bInsRw = false;
    bool bDelCL = false;
    bool bDelRw = false;
    bool bSlcTb = false;
    bool bSplTb = false;
    CaretState caret;
};

// HeadFtMn: which headers and footers are switched on.
struct HeaderFooterState {
    bool bHdP = false; // header, every page
    bool bHdF = false; // header, first page
    bool bFtp = false; // footer, every page
    bool bFtF = false; // footer, first page
};

// GetData's answer.
struct DocumentData {
    QByteArray bytes; // format 9
    QString text;
    QString title;
    bool ok = false;
};

class uTxm : public QWidget {
    Q_OBJECT
public:
    explicit uTxm(QWidget* parent = nullptr);
    ~uTxm() override;

    // --- lifecycle ---------------------------------------------------------
    // Starts the editor: `vShwTt` (true when omitted) takes the title from
    // the title box; `vFmGrp` keeps this host's display settings apart.
    void cOn(qint32 nHnd, qint16 iTy, std::optional<bool> vShwTt = std::nullopt, const QString& vFmGrp = {});
    // Stops the editor and stores its options.
    void cOff();
    void cTyp(qint16 iTy);

    // --- the command entry -------------------------------------------------
    // Runs job `iJb`; some jobs hand an answer back through `vArg`.
    void rtAct(qint32 iJb, QVariant& vArg);
    void rtAct(qint32 iJb, const QVariant& vArg = {});

    // --- public operations -------------------------------------------------
    QString SelTxt() const;
    void setSelTxt(const QString& sTx);
    qint32 PageWdIn() const;
    void FndWd(const QString& sWd);
    void ChkUdt(bool& bCancel);
    // Replaces the document with format-9 bytes; asks first about a modified
    // document unless `noConfirmation`. True when the bytes were loaded.
    bool SetData(const QByteArray& bytes, bool noConfirmation = false);
    bool InsData(const QByteArray& bytes);
    bool ApndData(const QByteArray& bytes);
    bool bDcEdt() const;
    void setDcEdt(bool modified);
    QString Title() const;
    void setTitle(const QString& sTitle);
    DocumentState ChkJbMn0() const;
    EditMenuState ChkJbMn1() const;
    // Whether undo and redo have anything to do (ChkJbMn1's bUndo and bRedo).
    bool canUndo() const;
    bool canRedo() const;
    CaretState ChkJbMn3() const;
    TableMenuState ChkJbMn5() const;
    bool ChkJbMn6() const;
    engine::TextEngine* GetObj() const;
    DocumentData GetData() const;
    bool bHaveData() const;
    void GetMTxt(QString& sTx, QString& sCp);
    void SetText(const QString& sTx);
    HeaderFooterState HeadFtMn() const;
    // The text of cell (nRw, nCL) of table iNo, numbered in document order,
    // without its line ends; setting replaces the cell's text.
    // Setting first puts the caret into the text frame the table lies in.
    QString TvCelVL(qint16 iNo, qint32 nRw, qint32 nCL) const;
    void setTvCelVL(qint16 iNo, qint32 nRw, qint32 nCL, const QString& sVL);
    // Template layout: 0 shows the numbers filling gives the data fields and
    // text frames in the page view (on a copy); 1 and 2 empty the document,
    // after asking when it has content, and lay its page out for two or
    // three parts (see layOutTextFrames).
    void rtActTL(qint32 iJb);
    // Filling the document as a template: T_Start numbers the data fields
    // and text frames (and sends files opened meanwhile into every frame),
    // the others fill field or frame number n (from 1), T_End returns to the
    // main text. False, and nothing changed, for a number not counted.
    void T_Start(const QString& sBmp = {});
    bool T_TxFrDt(qint16 iTf, const QByteArray& yDt);
    bool T_TxFdTx(qint16 iFd, const QString& sTxt);
    bool T_TxFdPc(qint16 iFd, const QString& sPcFL);
    void T_End();
    // From now until cOff a recovery copy of the edited document is kept in
    // `workFolder` (see RecoveryKeeper).
    void keepRecoveryCopy(const QString& workFolder);
    // Puts a recovered document in place of this one: edited, with the file
    // name and title it had. False, and nothing changed, for a damaged copy.
    bool restoreRecovered(const RecoveryRecord& record);
    // Takes (false) or brings back (true) the undo snapshot.
    void Snapshot(bool bRestore);
    // Switches the input method on or off.
    void txIME(bool on);
    // Save-as (see DocumentSaver::txSaveAs); `vFL` gets the name written.
    bool txSaveAs(QString& vFL, bool bNoAct = false);
    // Saves as the HTML dialect (see DocumentSaver::SaveHtm); `iJb` is not used.
    void SaveHtm(qint16 iJb, bool& bOk, const QString& vFL = {});

    // --- parts and state, for the host and for tests -------------------------
    dialogs::sbTxm& settingsDialog() const { return *m_dialog; }
    dialogs::Frmt& formats() { return m_formats; }
    const EditorOptions& options() const { return m_options; }
    QLineEdit* titleBox() const { return m_title; }
    // The style at the caret, on the status bar.
    QLabel* statusPanel() const;
    bars::ToolBand* toolBand() const { return m_band; }
    engine::EngineView* view() const { return m_view; }
    bool isActive() const { return m_active; }
    qint32 hostNumber() const { return m_host; }
    // Horizontal pixels per inch of the screen, as read at cOn.
    int screenDpi() const { return m_screenDpi; }
    int documentType() const { return m_documentType; }
    QString currentFile() const { return m_currentFile; }
    // Whether the document was opened read-only, another program having its file open.
    bool isReadOnly() const { return m_hold.readOnly(); }
    // The file whose lock the editor holds; "" when none.
    QString lockedFile() const { return m_hold.lockedFile(); }
    int frameFocus() const { return m_frameFocus; }
    bool snapshotHeld() const { return m_snapshots.held(); }
    // Whether the update writes new database documents by number (job 87).
    bool numbering() const { return m_numbering; }
    // The host that numbers new documents; without one a numbered save fails.
    void setNumberSource(const DocumentNumberSource* source) { m_numberSource = source; }
    void setInputMethodSwitch(std::unique_ptr<InputMethodSwitch> ime);
    // The launcher of the companion programs; the process's one when not set.
    void setCompanionTools(tools::zKtl* launcher) { m_companions = launcher; }
    // The pop-up menu a right click on the text shows, made ready for the
    // caret: the object menu while an object is current, else the edit menu.
    QMenu* contextMenu();

signals:
    void eClckLink(const QString& kind, const QString& text, const QString& name);
    void eSaveDB();
    void eAskSavePh(QString* path);
    void eUdtFld();
    void eEdtCng(bool modified);
    void eRtAct(int job);
    void eSaveAs(const QVariant& value);
    void eAskTag(QString* text, QString* number);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a job did, for the steps after it.
    enum class Outcome {
        Skipped,   // nothing was done: no snapshot kept, no flag changed
        Unchanged, // done, the document is as it was
        Changed,   // done, the document changed
    };
    using Job = std::function<Outcome(QVariant&)>;

    void buildJobs();
    void makeDialog();
    Outcome runJob(int job, QVariant& argument);
    void applyModifiedRule(int job, Outcome outcome);
    void loadOptions(EditorOptions::Level level);
    void loadPageDefaults();
    void tickPasteMode();
    void storeOptions();
    QSizeF extentTwips() const;
    void deleteWorkPictures() const;
    void onEngineChanged();
    void onCaretMoved();
    void onTitleEntered();
    void onKeyPressed(int key, Qt::KeyboardModifiers modifiers, bool* handled);
    static std::optional<int> editKeyJobOf(const QKeyEvent& key);
    // The bars follow the caret at once; the standard buttons, whose states
    // cost a look at the whole document, follow a moment later.
    void refreshBars();
    bool mayReplace();
    void forgetDocument();
    dialogs::PageResult openPage(const QString& code, QString& answer);
    void trimDocumentEnd();
    std::optional<RecoveryRecord> recoveryRecord();
    void showNumberingPreview();
    void layOutTemplatePage(int areas);

    // Jobs of this control.
    Outcome newDocument();
    Outcome undo();
    Outcome redo();
    Outcome cut();
    Outcome deleteSelection();
    Outcome tidyDocument();
    Outcome findPage(bool replacing);
    Outcome pageView();
    Outcome displayPage();
    Outcome insertTextFrame();
    Outcome insertPageBreak();
    Outcome indent(const QVariant& mode);
    Outcome applyStyle(const QVariant& code);
    Outcome fontDialog();
    Outcome textColorDialog();                          // 62
    Outcome pasteFormat();                              // 71
    Outcome pageSetup();
    Outcome switchHeaderFooter(const QVariant& argument);
    Outcome userFormatPage();
    Outcome pictureLayoutPage();
    Outcome imePage();
    Outcome pasteMode(const QVariant& mode);

    // Pasting and pictures (utxm_paste.cpp).
    Outcome paste(const QVariant& kind);                // 15
    Outcome pasteText(const QString& clipboardText);
    Outcome insertPictureFile();                        // 35
    // The object menu's picture items.
    Outcome editPicture();
    Outcome linkToEnlargedPicture(const QVariant& which);
    Outcome pictureProperties();
    dialogs::PictureTarget pictureTarget() const;
    Outcome insertPlacedPicture(const dialogs::PictureOutcome& outcome, const QString& source);
    Outcome zoom(const QVariant& step);

    // Pictures from the companion programs (utxm_tools.cpp).
    void buildToolJobs();                               // 33, 34, 42, 43
    Outcome companionPicture(const QSizeF& size);
    Outcome companionChart(int job);
    void onPictureSizeDrawn(const QSizeF& rectangleTwips);
    Outcome insertCompanionPicture(const QString& path);
    tools::zKtl& companions() const;

    // Opening, inserting and saving (utxm_files.cpp).
    Outcome fileJob(int job, QVariant& argument);       // 1, 3, 5, 8, 10, 30, 32
    bool saveIntoDatabase();                            // 4, and the update rules' save
    Outcome OpenFl(const QString& path, bool insert);
    Outcome OpenDlg(bool noProposal, bool insert);
    Outcome insertTextFile();
    Outcome saveAs(QVariant& name);
    bool prepareForLoading();
    DocumentSaver::Host saverHost();

    // Fields (utxm_fields.cpp).
    Outcome fieldJob(int job, QVariant& argument);      // 50, 51, 52, 53; 56 arrives with data fields
    void reformatFields();                              // the last step of tidying (24)
    void onFieldClicked(int id);
    void showContextMenu(const QPoint& position);
    FieldCommands::Host fieldHost();

    // Tables (job 80 to 85).
    Outcome tableJob(int job, const QVariant& argument);
    TableCommands::Host tableHost();

    // The paragraph and list dialogs (jobs 63, 64).
    static Outcome outcomeOf(ParagraphCommands::Result result);
    ParagraphCommands::Host paragraphHost();

    // The tool bars (utxm_bars.cpp): 16 and 27, their layout, and what the
    // format bar, the button bar and the ruler do.
    void makeBars();
    Outcome redrawBars();                               // 16
    Outcome showOrHideBars(const QVariant& command);    // 27
    void applyBarLayout();
    void tickDisplayMenu();
    void refreshStandardButtons();
    void refreshRuler();
    void applyPickedColor(bars::ColorTarget target, int color);
    void applyRulerIndents(double left, double firstLine, double right);
    void applyRulerTabs(const QList<double>& tabs);
    void showBarMenu(const QPoint& globalPosition);
    void showPainterFace();

    // Ctrl+B, Ctrl+I, Ctrl+U: bold, italic or underline switched for the
    // selection or, without one, for what is typed next.
    struct Emphasis {
        bool (engine::TextEngine::*isOn)() const;
        void (engine::TextEngine::*set)(bool);
    };
    static std::optional<Emphasis> emphasisOf(const QKeyEvent& key);
    void toggleEmphasis(const Emphasis& emphasis);

    std::unique_ptr<engine::TextEngine> m_engine;
    engine::EngineView* m_view = nullptr;
    QLineEdit* m_title = nullptr;
    bars::ToolBand* m_band = nullptr;
    QTimer m_buttonRefresh;
    std::unique_ptr<dialogs::sbTxm> m_dialog;
    std::unique_ptr<InputMethodSwitch> m_ime;
    ModifiedState m_modified;
    SnapshotLayer m_snapshots;
    EditorOptions m_options;
    dialogs::Frmt m_formats;
    std::map<int, Job> m_jobs;

    bool m_active = false;
    qint32 m_host = 0;
    int m_documentType = 0;
    bool m_showTitle = true;
    QString m_group;
    int m_frameFocus = 0;
    int m_screenDpi = 96;
    QString m_currentFile;
    DocumentHold m_hold;
    bool m_numbering = false;
    const DocumentNumberSource* m_numberSource = nullptr;
    FieldCommands m_fields{*m_engine, m_formats, fieldHost()};
    OpenDialog m_openDialog;
    DocumentOpener m_opener{*m_engine, m_formats};
    DocumentSaver m_saver{*m_engine, m_formats, m_modified, m_currentFile, m_hold, saverHost()};
    TableCommands m_tables{*m_engine, tableHost()};
    ParagraphCommands m_paragraphs{*m_engine, paragraphHost()};
    TemplateFilling m_template{*m_engine};
    FormatPainter m_painter{*m_engine};
    PictureSizeDrawer* m_sizeDrawer = nullptr;
    tools::zKtl* m_companions = nullptr;
    std::unique_ptr<RecoveryKeeper> m_recovery;
};

} // namespace editor
