// Finding and replacing from the editor's commands through the find page's
// own buttons, while the page is open as the user sees it.
#include "editor/utxm.h"

#include "dialogs/sbtxm.h"
#include "editortestsupport.h"
#include "engine/textengine.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <functional>

using editor::uTxm;

namespace {

struct FindCommands : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();
    dialogs::sbTxm& dialog = editor.settingsDialog();

    FindCommands() { editor.cOn(1, 4); }

    // Runs `job` and, once the page is shown, `whileOpen`; then closes it.
    void withPage(int job, const std::function<void()>& whileOpen)
    {
        bool shown = false;
        QTimer::singleShot(0, &dialog, [&] {
            shown = dialog.isVisible();
            whileOpen();
            dialog.close();
        });
        editor.rtAct(job, QVariant());
        EXPECT_TRUE(shown);
    }

    template <typename T>
    T* control(const QString& name) const
    {
        T* found = dialog.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    void type(const QString& box, const QString& text) const
    {
        QLineEdit* edit = control<QComboBox>(box)->lineEdit();
        edit->selectAll();
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, text, Qt::NoModifier);
    }

    void click(const QString& button) const { control<QPushButton>(button)->click(); }
};

} // namespace

TEST_F(FindCommands, ReplacingOpensWithTheSelectedWordAndReplacesAllAsOneUndoStep)
{
    editor.SetText(QStringLiteral("ﾃﾞｰﾀとデータ、データ"));
    editor.setDcEdt(false);
    engine.setSelection(5, 3);
    withPage(23, [&] {
        EXPECT_EQ(dialog.findChild<QTabBar*>()->currentIndex(), 1);
        EXPECT_EQ(control<QComboBox>(QStringLiteral("cbFnd1"))->currentText(), QStringLiteral("データ"));
        type(QStringLiteral("cbFnd3"), QStringLiteral("資料"));
        control<QCheckBox>(QStringLiteral("chWidth1"))->click();
        click(QStringLiteral("ssRep1"));
        EXPECT_EQ(engine.plainText(), QStringLiteral("資料と資料、資料"));
    });
    EXPECT_TRUE(editor.bDcEdt());
    editor.rtAct(11, QVariant());
    EXPECT_EQ(engine.plainText(), QStringLiteral("ﾃﾞｰﾀとデータ、データ"));
}

TEST_F(FindCommands, FindingAloneIsNoEditButAReplacementFromTheFindPageIs)
{
    editor.SetText(QStringLiteral("one two one"));
    editor.setDcEdt(false);
    withPage(22, [&] {
        EXPECT_EQ(dialog.findChild<QTabBar*>()->currentIndex(), 0);
        type(QStringLiteral("cbFnd0"), QStringLiteral("ONE"));
        click(QStringLiteral("ssCom0"));
        click(QStringLiteral("ssCom2"));
        EXPECT_EQ(engine.selectionStart(), 8);
    });
    EXPECT_FALSE(editor.bDcEdt());

    withPage(22, [&] {
        dialog.findChild<QTabBar*>()->setCurrentIndex(1);
        EXPECT_EQ(control<QComboBox>(QStringLiteral("cbFnd1"))->currentText(), QStringLiteral("one"))
            << "the found text was selected";
        type(QStringLiteral("cbFnd3"), QStringLiteral("1"));
        click(QStringLiteral("ssRep1"));
    });
    EXPECT_EQ(engine.plainText(), QStringLiteral("1 two 1"));
    EXPECT_TRUE(editor.bDcEdt());
}
