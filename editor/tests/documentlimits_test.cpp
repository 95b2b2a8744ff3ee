// Opening a file over one of the HTML reader's limits: the user is told
// which limit, and the document stays as it was. Before, a table of 10,000
// rows of 100 cells took 70 s and 2.9 GB to open.
#include "editor/tests/editortestsupport.h"
#include "editor/utxm.h"
#include "engine/textengine.h"
#include "formats/html/importpreparer.h"

#include <QFileInfo>

namespace editor {
namespace {

TEST(DocumentLimits, ATableOverTheCellLimitIsRefusedNamingTheLimit)
{
    editortest::Environment environment;
    uTxm control;
    control.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
    control.cOn(1, qint16(4));
    engine::TextEngine& engine = *control.GetObj();
    engine.setSelection(0, -1);
    engine.setSelectedText(QStringLiteral("kept"));
    const QByteArray row = "<tr>" + QByteArray("<td>x</td>").repeated(100) + "</tr>";
    const QString path = environment.dir.write(
        QStringLiteral("table.htm"), "<table>" + row.repeated(formats::ImportPreparer::kMaxTableCells / 100 + 1) + "</table>");
    control.rtAct(3, path);
    EXPECT_EQ(environment.dialogs.messages(),
              QStringList{QStringLiteral("ﾌｧｲﾙ: table.htm を読み込めません｡表のｾﾙは 100000 個までです｡")});
    EXPECT_EQ(engine.plainText(), QStringLiteral("kept"));
}

} // namespace
} // namespace editor
