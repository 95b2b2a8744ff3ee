// The editor's table commands through rtAct, with the table page and the
// attribute dialog answered by driving them, and merged cells that came in
// with a file through every command and back with one undo.
#include "editor/utxm.h"

#include "dialogs/tableattributedialog.h"
#include "editortestsupport.h"
#include "engine/tests/snapshotdump.h"
#include "engine/textengine.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTextTable>
#include <QTimer>

using editor::uTxm;

namespace {

using namespace Qt::StringLiterals;

struct Tables : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    Tables() { editor.cOn(1, 4); }

    std::string dump() const { return snapshottest::dump(*engine.document()); }

    // "見積" and a 3 × 2 table of "r<row>c<column>" (1-based).
    void estimate()
    {
        engine.setPlainText(u"見積"_s);
        engine.setSelection(2, 0);
        engine.insertTable(3, 2);
        for (int row = 1; row <= 3; ++row)
            for (int column = 1; column <= 2; ++column)
                engine.setCellText({1, row, column}, u"r%1c%2"_s.arg(row).arg(column));
        editor.setDcEdt(false);
    }

    void caretInto(int row, int column) { engine.setSelection(engine.cellFirstPosition({1, row, column}) - 1, 0); }

    // Answers the next modal dialog of type T.
    template <typename T>
    void whenShown(std::function<void(T&)> answer)
    {
        QTimer::singleShot(0, &editor, [answer] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        });
    }
};

TEST_F(Tables, TheTablePageInsertsFiveRowsByOneColumnAndUndoTakesItBack)
{
    engine.setPlainText(u"議事録"_s);
    engine.setSelection(3, 0);
    editor.setDcEdt(false);
    const std::string before = dump();
    whenShown<QDialog>([](QDialog& dialog) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == u"OK" && button->isVisible())
                button->click();
    });
    editor.rtAct(80, u"表"_s);
    ASSERT_EQ(engine.tableCount(), 1);
    EXPECT_EQ(engine.tableRows(1), 5);
    EXPECT_EQ(engine.tableColumns(1), 1);
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_TRUE(environment.dialogs.messages().isEmpty()) << "the page is built";
    editor.rtAct(11);
    EXPECT_EQ(dump(), before);

    editor.setDcEdt(false);
    whenShown<QDialog>([](QDialog& dialog) { dialog.reject(); });
    editor.rtAct(80, u"表"_s);
    EXPECT_EQ(engine.tableCount(), 0);
    EXPECT_FALSE(editor.bDcEdt()) << "a cancelled page changes nothing";
}

TEST_F(Tables, OutsideATableTheCommandsLeaveTheDocumentAlone)
{
    estimate();
    engine.setSelection(0, 0);
    const std::string before = dump();
    for (int job : {80, 81, 82, 83, 85}) {
        for (const QString& part : {u"上"_s, u"下"_s, u"左"_s, u"右"_s, u"列"_s, u"行"_s, u"ｾﾙ"_s}) {
            editor.rtAct(job, part);
            EXPECT_EQ(dump(), before) << job << " " << part.toStdString();
        }
    }
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_EQ(engine.selectionStart(), 0);
    EXPECT_TRUE(environment.dialogs.messages().isEmpty());
}

TEST_F(Tables, WordsThatNameNoPartDoNothing)
{
    estimate();
    caretInto(2, 1);
    const std::string before = dump();
    editor.rtAct(80, u"列"_s);
    editor.rtAct(81, u"左"_s);
    editor.rtAct(82, u"ｾﾙ"_s);
    editor.rtAct(83, u"上"_s);
    editor.rtAct(80, {});
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(Tables, RowsColumnsSplitsAndDeletionsMarkTheDocumentAndUndoInOneStep)
{
    estimate();
    const std::string before = dump();
    const std::pair<int, QString> commands[] = {{80, u"上"_s}, {80, u"下"_s}, {80, u"左"_s}, {80, u"右"_s},
                                                {81, u"上"_s}, {81, u"下"_s}, {82, u"列"_s}, {82, u"行"_s},
                                                {82, u"表"_s}};
    for (const auto& [job, part] : commands) {
        SCOPED_TRACE(std::to_string(job) + " " + part.toStdString());
        caretInto(2, 1);
        editor.setDcEdt(false);
        editor.rtAct(job, part);
        EXPECT_NE(dump(), before);
        EXPECT_TRUE(editor.bDcEdt());
        editor.rtAct(11);
        EXPECT_EQ(dump(), before);
    }
}

TEST_F(Tables, DeletingTheTableTakesItsLastRowToo)
{
    estimate();
    caretInto(3, 2);
    editor.rtAct(82, u"表"_s);
    EXPECT_EQ(engine.tableCount(), 0);
    EXPECT_FALSE(engine.plainText().contains(u"r3c2"_s));
    EXPECT_TRUE(engine.plainText().startsWith(u"見積"_s));
}

TEST_F(Tables, SelectingTheCellTheRowAndTheTable)
{
    estimate();
    caretInto(2, 2);
    editor.rtAct(83, u"ｾﾙ"_s);
    EXPECT_EQ(engine.selectedText(), u"r2c2"_s);
    editor.rtAct(83, u"行"_s);
    EXPECT_EQ(engine.selectionStart(), engine.cellFirstPosition({1, 2, 1}) - 1);
    QString text = engine.selectedText();
    EXPECT_TRUE(text.contains(u"r2c1"_s) && text.contains(u"r2c2"_s)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"r1"_s) || text.contains(u"r3"_s)) << text.toStdString();
    editor.rtAct(83, u"表"_s);
    EXPECT_EQ(engine.selectionStart(), engine.cellFirstPosition({1, 1, 1}) - 1);
    text = engine.selectedText();
    EXPECT_TRUE(text.contains(u"r1c1"_s) && text.contains(u"r3c2"_s)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"見積"_s)) << text.toStdString();
    EXPECT_FALSE(editor.bDcEdt());

    engine.setCellText({1, 1, 2}, {});
    caretInto(1, 2);
    editor.rtAct(83, u"ｾﾙ"_s);
    EXPECT_EQ(engine.selectionLength(), 0) << "an empty cell gives an empty selection at the cell";
    EXPECT_EQ(engine.selectionStart(), engine.cellFirstPosition({1, 1, 2}) - 1);
}

TEST_F(Tables, TheAttributeDialogStylesThePartAndMarksOnlyWhenConfirmed)
{
    estimate();
    caretInto(2, 1);
    const std::string before = dump();
    whenShown<dialogs::TableAttributeDialog>([](dialogs::TableAttributeDialog& dialog) { dialog.reject(); });
    editor.rtAct(85, u"ｾﾙ"_s);
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_EQ(engine.selectedText(), u"r2c1"_s) << "the cell is selected as job 83 does";

    QString title;
    whenShown<dialogs::TableAttributeDialog>([&title, this](dialogs::TableAttributeDialog& dialog) {
        title = dialog.windowTitle();
        environment.dialogs.answerColor(QColor(0xFF, 0xFF, 0xCC));
        dialog.shadingBox()->setChecked(true);
        dialog.shadingButton()->click();
        dialog.alignmentBox()->setCurrentIndex(2);
        dialog.okButton()->click();
    });
    caretInto(2, 1);
    editor.rtAct(85, u"行"_s);
    EXPECT_EQ(title, u"行のﾌﾟﾛﾊﾟﾃｨ"_s);
    EXPECT_TRUE(editor.bDcEdt());
    for (int column : {1, 2}) {
        caretInto(2, column);
        EXPECT_EQ(engine.tableLook(engine::TablePart::Cell)->shading, 0xCCFFFF);
        EXPECT_EQ(engine.tableLook(engine::TablePart::Cell)->alignment, engine::CellAlignment::Right);
    }
    caretInto(1, 1);
    EXPECT_EQ(engine.tableLook(engine::TablePart::Cell)->shading, -1) << "other rows keep their look";
    editor.rtAct(11);
    EXPECT_EQ(dump(), before);
}

TEST_F(Tables, MenuStatesFollowTheCaret)
{
    estimate();
    caretInto(2, 1);
    editor::TableMenuState inside = editor.ChkJbMn5();
    EXPECT_TRUE(inside.bInsCL && inside.bInsRw && inside.bDelCL && inside.bDelRw && inside.bSlcTb && inside.bSplTb);
    EXPECT_FALSE(inside.bInsTb);
    engine.setSelection(0, 0);
    editor::TableMenuState outside = editor.ChkJbMn5();
    EXPECT_TRUE(outside.bInsTb);
    EXPECT_FALSE(outside.bInsCL || outside.bInsRw || outside.bDelCL || outside.bDelRw || outside.bSlcTb
                 || outside.bSplTb);
    const bool grid = outside.bShwGrd;
    editor.rtAct(84);
    EXPECT_EQ(editor.ChkJbMn5().bShwGrd, !grid);
}

TEST_F(Tables, TemplateCellValuesComeWithoutLineEnds)
{
    estimate();
    editor.setTvCelVL(1, 2, 2, u"一行目\n二行目"_s);
    EXPECT_EQ(engine.cellText({1, 2, 2}), u"一行目\r\n二行目"_s);
    EXPECT_EQ(editor.TvCelVL(1, 2, 2), u"一行目二行目"_s);
    EXPECT_EQ(editor.TvCelVL(2, 1, 1), QString());
    EXPECT_EQ(editor.TvCelVL(1, 9, 1), QString());
}

// A file's merged cells: "a | b b", then "c | d | e" with c reaching down
// into the last row "c | f | g".
TEST_F(Tables, MergedCellsFromAFileSurviveEveryCommandAndOneUndo)
{
    const QString path = environment.dir.path(u"merged.htm"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body><p>before</p><table border=\"1\"><tr><td>a</td><td colspan=\"2\">b</td></tr>"
               "<tr><td rowspan=\"2\">c</td><td>d</td><td>e</td></tr><tr><td>f</td><td>g</td></tr></table>"
               "<p>after</p></body></html>");
    file.close();
    editor.rtAct(3, path);
    ASSERT_EQ(engine.tableCount(), 1);
    QTextCursor probe(engine.document());
    probe.setPosition(engine.cellFirstPosition({1, 2, 1}) - 1);
    ASSERT_NE(probe.currentTable(), nullptr);
    ASSERT_EQ(probe.currentTable()->cellAt(1, 0).rowSpan(), 2);
    ASSERT_EQ(probe.currentTable()->cellAt(0, 1).columnSpan(), 2);
    const std::string before = dump();

    const std::pair<int, QString> commands[] = {{80, u"上"_s}, {80, u"下"_s}, {80, u"左"_s}, {80, u"右"_s},
                                                {81, u"上"_s}, {81, u"下"_s}, {82, u"列"_s}, {82, u"行"_s},
                                                {82, u"表"_s}};
    const engine::CellAddress places[] = {{1, 1, 2}, {1, 2, 1}, {1, 3, 1}, {1, 3, 3}, {1, 2, 3}};
    for (const auto& [job, part] : commands) {
        for (const engine::CellAddress& place : places) {
            SCOPED_TRACE(std::to_string(job) + " " + part.toStdString() + " at " + std::to_string(place.row) + ","
                         + std::to_string(place.column));
            engine.setSelection(engine.cellFirstPosition(place) - 1, 0);
            editor.rtAct(job, part);
            for (int number = 1; number <= engine.tableCount(); ++number) {
                QTextCursor inTable(engine.document());
                inTable.setPosition(engine.cellFirstPosition({number, 1, 1}) - 1);
                const QTextTable* table = inTable.currentTable();
                ASSERT_NE(table, nullptr);
                for (int r = 0; r < table->rows(); ++r)
                    for (int c = 0; c < table->columns(); ++c) {
                        const QTextTableCell cell = table->cellAt(r, c);
                        EXPECT_TRUE(cell.row() <= r && r < cell.row() + cell.rowSpan());
                        EXPECT_TRUE(cell.column() <= c && c < cell.column() + cell.columnSpan());
                    }
            }
            if (dump() != before)
                editor.rtAct(11);
            ASSERT_EQ(dump(), before);
        }
    }
}

} // namespace
