// uTxm's field jobs: links (50), tags (51), references (52) and tool tips
// (53) through FieldCommands, link clicks reported to the host, and the
// pop-up menu of the text, whose object menu offers the link commands.

#include "editor/utxm.h"

#include "dialogs/popupmenus.h"
#include "editor/templatefilling.h"
#include "env/dialogs.h"
#include "print/pageview.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"

#include <QFileInfo>
#include <QMenu>

namespace editor {

namespace {

// The mode the pop-up menus send for their "…の削除" items.
constexpr int kDeleteMode = 2;

// The field jobs' argument: a mode, or a list of the mode, the object flag
// and a field id.
struct FieldRequest {
    int mode = 0;
    bool object = false;
    int fieldId = 0;
};

FieldRequest fieldRequest(const QVariant& argument)
{
    const QVariantList list = argument.toList();
    if (list.isEmpty())
        return {argument.toInt(), false, 0};
    return {list.value(0).toInt(), list.value(1).toBool(), list.value(2).toInt()};
}

} // namespace

FieldCommands::Host uTxm::fieldHost()
{
    return {
        .documentType = [this] { return m_documentType; },
        .linkPage = [this](const QString& code, const QString& value) -> std::optional<QString> {
            QString answer = value;
            if (openPage(code, answer) != dialogs::PageResult::Applied)
                return std::nullopt;
            return answer;
        },
        .askTag = [this](QString* text, QString* number) { emit eAskTag(text, number); },
    };
}

uTxm::Outcome uTxm::fieldJob(int job, QVariant& argument)
{
    const FieldRequest request = fieldRequest(argument);
    FieldCommands::Result result = FieldCommands::Result::Skipped;
    switch (job) {
    case 50: result = m_fields.link(request.mode, request.object, request.fieldId); break;
    case 51: result = m_fields.tag(request.mode, request.object, request.fieldId); break;
    case 52: result = m_fields.reference(request.mode == kDeleteMode); break;
    case 53: result = m_fields.toolTip(request.mode == kDeleteMode); break;
    case 56: result = m_fields.dataField(request.mode != 0); break;
    default: break;
    }
    switch (result) {
    case FieldCommands::Result::Changed: return Outcome::Changed;
    case FieldCommands::Result::Cancelled: argument = -1; break;
    case FieldCommands::Result::Skipped: break;
    }
    return Outcome::Skipped;
}

void uTxm::reformatFields()
{
    m_fields.reformat(-1, 0);
}

void uTxm::onFieldClicked(int id)
{
    if (m_modified.busy())
        return;
    if (const std::optional<FieldClick> click = m_fields.click(id))
        emit eClckLink(click->kind, click->text, click->name);
}

QMenu* uTxm::contextMenu()
{
    dialogs::PopupMenus& menus = m_dialog->menus();
    if (m_engine->currentObject() < 1)
        return menus.menu(dialogs::PopupMenu::Edit);
    const std::optional<engine::PictureInHand> picture = m_engine->currentPicture();
    menus.prepareObjectMenu({m_fields.kindAtCaret(), m_fields.preceding(), m_fields.following(), picture.has_value(),
                             picture && QFileInfo(picture->fileName).isFile()});
    return menus.menu(dialogs::PopupMenu::Object);
}

void uTxm::showContextMenu(const QPoint& position)
{
    contextMenu()->popup(m_view->viewport()->mapToGlobal(position));
}

// ---- Filling the document as a template ------------------------------------------

void uTxm::T_Start(const QString& sBmp)
{
    m_template.start(sBmp);
    m_frameFocus = -1;
}

bool uTxm::T_TxFrDt(qint16 iTf, const QByteArray& yDt)
{
    ModifiedState::BusyScope busy(m_modified);
    const int frame = m_template.frameId(iTf);
    if (frame <= 0 || !m_opener.transferIntoFrame(yDt, frame))
        return false;
    m_modified.setModified(true);
    return true;
}

bool uTxm::T_TxFdTx(qint16 iFd, const QString& sTxt)
{
    ModifiedState::BusyScope busy(m_modified);
    if (!m_template.setFieldText(iFd, sTxt))
        return false;
    m_modified.setModified(true);
    return true;
}

bool uTxm::T_TxFdPc(qint16 iFd, const QString& sPcFL)
{
    ModifiedState::BusyScope busy(m_modified);
    if (!m_template.setFieldPicture(iFd, sPcFL))
        return false;
    m_modified.setModified(true);
    return true;
}

void uTxm::T_End()
{
    m_template.end();
    m_engine->makeTextFrameCurrent(0);
    m_frameFocus = 0;
}

void uTxm::rtActTL(qint32 iJb)
{
    if (iJb == 0)
        showNumberingPreview();
    else if (iJb == 1 || iJb == 2)
        layOutTemplatePage(iJb + 1);
}

// The numbers are shown on a copy, so the document and its undo stay as they were.
void uTxm::showNumberingPreview()
{
    const std::unique_ptr<engine::TextEngine> copy = numberedCopy(*m_engine);
    if (!copy) {
        env::dialogs().inform(QStringLiteral("番号を表示できません｡文書を複写できませんでした｡"));
        return;
    }
    print::cAct(*copy, {}, {}, window());
}

void uTxm::layOutTemplatePage(int areas)
{
    if (ChkJbMn0().bExDoc
        && env::dialogs().ask(QStringLiteral("文書は初期化されますが良いですか"), env::Buttons::OkCancel,
                              env::Answer::Cancel)
            != env::Answer::Ok)
        return;
    {
        ModifiedState::BusyScope busy(m_modified);
        layOutTextFrames(*m_engine, areas);
    }
    m_modified.setModified(true);
    refreshBars();
}

} // namespace editor
