#include "editor/fieldcommands.h"

#include "dialogs/frmt.h"
#include "editor/templatefilling.h"
#include "engine/fields.h"
#include "engine/hostunits.h"
#include "engine/plaintext.h"
#include "engine/textengine.h"
#include "env/dialogs.h"
#include "formats/html/fielddata.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace editor {

namespace {

constexpr int kLinkFieldKind = 1;
constexpr int kTagFieldKind = 2;
constexpr int kTagDocumentType = -2;
constexpr int kObjectCharacter = 1;
const QString kObjectFieldText = QStringLiteral("  ");

bool isObjectCharacter(QChar c)
{
    return c == QChar(kObjectCharacter) || c == QChar::ObjectReplacementCharacter;
}

// The visible text of a field as the host reads it: no object placeholders
// and no line breaks, trimmed.
QString clickedText(QString text)
{
    text.remove(QChar(kObjectCharacter));
    text.remove(QChar(11));
    text.remove(QChar::LineSeparator);
    return text.trimmed();
}

// "caption<TAB>target", both trimmed; no tab: all of it is the caption.
std::pair<QString, QString> splitAtTab(const QString& value)
{
    const qsizetype tab = value.indexOf(u'\t');
    if (tab < 0)
        return {value.trimmed(), QString()};
    return {value.left(tab).trimmed(), value.mid(tab + 1).trimmed()};
}

} // namespace

FieldName splitFieldData(const QString& data)
{
    switch (formats::fieldKind(data)) {
    case formats::FieldKind::Tag: return {QStringLiteral("TG"), data.mid(3)};
    case formats::FieldKind::ToolTip: return {QStringLiteral("TP"), data.mid(3)};
    case formats::FieldKind::Reference: return {QStringLiteral("DX"), data.mid(3)};
    case formats::FieldKind::Link: break;
    }
    return {QStringLiteral("LK"), data};
}

QString shownFieldName(const FieldName& field)
{
    const qsizetype underscore = field.name.indexOf(u'_');
    if (field.kind != QStringLiteral("TG") || underscore < 0)
        return field.name;
    return field.name.mid(underscore + 1);
}

FieldCommands::FieldCommands(engine::TextEngine& engine, const dialogs::Frmt& formats, Host host)
    : m_engine(engine), m_formats(formats), m_host(std::move(host))
{
}

int FieldCommands::insertField(int styleCode, const QString& text, const QString& data)
{
    const int id = m_engine.insertField(text);
    if (id == 0)
        return 0;
    m_engine.setCurrentField(id);
    m_engine.setFieldKind(styleCode == kLinkStyle ? kLinkFieldKind : kTagFieldKind);
    m_engine.setFieldData(data);
    m_engine.setFieldAttribute(kProgramAttribute);
    const int after = m_engine.textCursor().position();
    applyAppearance(id, engine::colorToHost(formats::fieldColour(data)));
    m_engine.setSelection(after, 0);
    resetTypingFormat();
    return id;
}

// Without `keepText` the text goes too, and an object left between two
// blanks (the blanks an object link was given) loses them.
bool FieldCommands::deleteField(bool keepText)
{
    const int id = programFieldAtCaret();
    if (id == 0 || !m_engine.setCurrentField(id))
        return false;
    const int start = m_engine.fieldStart();
    if (!m_engine.deleteCurrentField(keepText))
        return false;
    if (!keepText)
        removeBlanksAround(start);
    resetTypingFormat();
    return true;
}

void FieldCommands::removeBlanksAround(int position)
{
    QTextDocument& document = *m_engine.activeDocument();
    for (int first : {position - 1, position}) {
        if (first < 0)
            continue;
        const QString three = engine::plaintext::fromRange(document, first, first + 3);
        if (three.size() == 3 && three[0] == u' ' && isObjectCharacter(three[1]) && three[2] == u' ') {
            QTextCursor cursor(&document);
            cursor.beginEditBlock();
            cursor.setPosition(first + 2);
            cursor.deleteChar();
            cursor.setPosition(first);
            cursor.deleteChar();
            cursor.endEditBlock();
            m_engine.setSelection(first + 1, 0);
            return;
        }
    }
}

void FieldCommands::reformat(int start, int length)
{
    QTextDocument& document = *m_engine.activeDocument();
    engine::Fields fields(document);
    const QTextCursor caret = m_engine.textCursor();
    const QList<engine::FieldRun> runs = fields.runs();
    for (const engine::FieldRun& run : runs) {
        const QTextCharFormat format = fields.format(run.id);
        if (format.intProperty(engine::FieldKind) == 0)
            continue;
        if (start >= 0 && (run.end <= start || run.start >= start + std::max(length, 1)))
            continue;
        applyAppearance(run.id, engine::colorToHost(formats::fieldColour(format.stringProperty(engine::FieldData))));
        m_engine.setStrikeOut(false);
    }
    m_engine.setSelection(caret.selectionStart(), caret.selectionEnd() - caret.selectionStart());
}

void FieldCommands::applyAppearance(int id, int colour)
{
    const std::optional<engine::FieldRun> run = engine::Fields(*m_engine.activeDocument()).find(id);
    if (!run)
        return;
    const dialogs::UserFormat& body = m_formats.record(dialogs::kBodyFormat);
    m_engine.setSelection(run->start, run->end - run->start);
    m_engine.setFontName(body.fontName);
    m_engine.setFontSize(body.size);
    m_engine.setTextColor(colour);
    m_engine.setBold(false);
    m_engine.setUnderline(true);
}

void FieldCommands::resetTypingFormat()
{
    const dialogs::UserFormat& body = m_formats.record(dialogs::kBodyFormat);
    m_engine.setFontName(body.fontName);
    m_engine.setFontSize(body.size);
    m_engine.setTextColor(body.textColor);
    m_engine.setBackgroundColor(body.backgroundColor);
    m_engine.setUnderline(false);
}

int FieldCommands::programFieldAtCaret() const
{
    const int id = m_engine.fieldAtCaret();
    if (id == 0)
        return 0;
    const QTextCharFormat format = engine::Fields(*m_engine.activeDocument()).format(id);
    return format.intProperty(engine::FieldKind) != 0 ? id : 0;
}

QString FieldCommands::kindAtCaret() const
{
    const int id = programFieldAtCaret();
    if (id == 0)
        return {};
    return splitFieldData(engine::Fields(*m_engine.activeDocument()).format(id).stringProperty(engine::FieldData)).kind;
}

// A program link or tag is a neighbour the object menu can copy.
std::optional<dialogs::NeighbourField> FieldCommands::neighbourOf(const engine::FieldRun& run) const
{
    const QTextCharFormat format = engine::Fields(*m_engine.activeDocument()).format(run.id);
    const QString kind = splitFieldData(format.stringProperty(engine::FieldData)).kind;
    if (format.intProperty(engine::FieldKind) == 0 || (kind != QStringLiteral("LK") && kind != QStringLiteral("TG")))
        return std::nullopt;
    return dialogs::NeighbourField{run.id, kind == QStringLiteral("TG")};
}

std::optional<dialogs::NeighbourField> FieldCommands::preceding() const
{
    const int caret = m_engine.textCursor().selectionStart();
    std::optional<dialogs::NeighbourField> nearest;
    for (const engine::FieldRun& run : engine::Fields(*m_engine.activeDocument()).runs()) {
        const int distance = caret - run.end;
        if (distance < 1)
            break;
        if (distance > kNeighbourReach)
            continue;
        if (std::optional<dialogs::NeighbourField> neighbour = neighbourOf(run))
            nearest = neighbour;
    }
    return nearest;
}

std::optional<dialogs::NeighbourField> FieldCommands::following() const
{
    const int caret = m_engine.textCursor().selectionEnd();
    for (const engine::FieldRun& run : engine::Fields(*m_engine.activeDocument()).runs()) {
        const int distance = run.start - caret;
        if (distance > kNeighbourReach)
            break;
        if (distance < 1)
            continue;
        if (std::optional<dialogs::NeighbourField> neighbour = neighbourOf(run))
            return neighbour;
    }
    return std::nullopt;
}

bool FieldCommands::selectProgramField(int fieldId)
{
    const int id = fieldId > 0 ? fieldId : programFieldAtCaret();
    if (id == 0 || !m_engine.setCurrentField(id))
        return false;
    return m_engine.fieldKind() != 0;
}

FieldCommands::Result FieldCommands::link(int mode, bool object, int fieldId)
{
    if (mode == 2) {
        if (fieldId > 0 && selectProgramField(fieldId))
            m_engine.setSelection(m_engine.fieldStart(), 0);
        return deleteField(true) ? Result::Changed : Result::Skipped;
    }
    object = object || selectionIsObject();
    if (mode == 0 && fieldId > 0)
        return copyField(fieldId, object);
    const bool editing = mode == 1;
    if (editing && !selectProgramField(fieldId))
        return Result::Skipped;
    const QString proposal = editing ? m_engine.fieldText() + u'\t' + m_engine.fieldData() : m_engine.selectedText();
    const std::optional<QString> answer =
        m_host.linkPage(object ? QStringLiteral("LK_OBJ") : QStringLiteral("LK"), proposal);
    if (!answer)
        return Result::Cancelled;
    const auto [caption, target] = splitAtTab(*answer);
    if (target.isEmpty() || (caption.isEmpty() && !object))
        return Result::Cancelled;
    if (editing) {
        if (!object)
            m_engine.setFieldText(caption);
        m_engine.setFieldData(target);
        return Result::Changed;
    }
    return insertNew(kLinkStyle, object, caption, target) > 0 ? Result::Changed : Result::Cancelled;
}

FieldCommands::Result FieldCommands::linkObject(const QString& target)
{
    if (target.isEmpty())
        return Result::Skipped;
    if (kindAtCaret() == QStringLiteral("LK") && selectProgramField(0))
        return m_engine.setFieldData(target) ? Result::Changed : Result::Skipped;
    if (!selectionIsObject())
        return Result::Skipped;
    return insertNew(kLinkStyle, true, QString(), target) > 0 ? Result::Changed : Result::Skipped;
}

FieldCommands::Result FieldCommands::tag(int mode, bool object, int fieldId)
{
    if (m_host.documentType() != kTagDocumentType)
        return Result::Skipped;
    if (mode == 2)
        return link(2, object, fieldId);
    object = object || selectionIsObject();
    if (mode == 0 && fieldId > 0)
        return copyField(fieldId, object);
    const bool editing = mode == 1;
    if (editing && !(selectProgramField(fieldId) && splitFieldData(m_engine.fieldData()).kind == QStringLiteral("TG")))
        return Result::Skipped;
    QString text = editing ? m_engine.fieldText() : m_engine.selectedText();
    QString number = editing ? splitFieldData(m_engine.fieldData()).name : QString();
    m_host.askTag(&text, &number);
    if (text.trimmed().isEmpty() || number.trimmed().toLongLong() == 0)
        return Result::Cancelled;
    const QString data = QStringLiteral("TG_") + number.trimmed();
    if (editing) {
        if (!object)
            m_engine.setFieldText(text.trimmed());
        m_engine.setFieldData(data);
        return Result::Changed;
    }
    return insertNew(kTagStyle, object, text.trimmed(), data) > 0 ? Result::Changed : Result::Cancelled;
}

// A new link or tag over the selection with the data of program field `id`;
// the selected text becomes its text, two blanks when there is none.
FieldCommands::Result FieldCommands::copyField(int id, bool object)
{
    const engine::Fields fields(*m_engine.activeDocument());
    const std::optional<engine::FieldRun> run = fields.find(id);
    const std::optional<dialogs::NeighbourField> source = run ? neighbourOf(*run) : std::nullopt;
    if (!source)
        return Result::Skipped;
    const QString data = fields.format(id).stringProperty(engine::FieldData);
    const QString selected = m_engine.selectedText();
    return insertNew(source->tag ? kTagStyle : kLinkStyle, object || selected.trimmed().isEmpty(), selected, data) > 0
        ? Result::Changed
        : Result::Skipped;
}

// The selection is objects only: a picture the user picked, say.
bool FieldCommands::selectionIsObject() const
{
    const QString selected = m_engine.selectedText();
    return !selected.isEmpty() && std::all_of(selected.begin(), selected.end(), isObjectCharacter);
}

// A field for an object shows two blanks; it goes right after a selected
// object instead of replacing it, which would lose the object.
int FieldCommands::insertNew(int styleCode, bool object, const QString& text, const QString& data)
{
    if (!object)
        return insertField(styleCode, text, data);
    if (selectionIsObject())
        m_engine.setSelection(m_engine.selectionStart() + m_engine.selectionLength(), 0);
    return insertField(styleCode, kObjectFieldText, data);
}

FieldCommands::Result FieldCommands::reference(bool remove)
{
    return prefixedField(QStringLiteral("DX_"), kReferenceStyle, QStringLiteral("dxml参照を入力して下さい"), remove);
}

FieldCommands::Result FieldCommands::toolTip(bool remove)
{
    return prefixedField(QStringLiteral("TP_"), kToolTipStyle, QStringLiteral("ﾂｰﾙﾁｯﾌﾟの文字を入力して下さい"), remove);
}

FieldCommands::Result FieldCommands::dataField(bool insert)
{
    if (insert) {
        const int id = m_engine.insertField(kDataFieldText);
        if (id <= 0 || m_engine.currentField() != id)
            return Result::Skipped;
        m_engine.setFieldKind(kDataFieldKind);
        m_engine.setFieldData(kDataFieldName);
        return Result::Changed;
    }
    const int id = m_engine.fieldAtCaret();
    const bool onDataField = id > 0 && m_engine.setCurrentField(id) && m_engine.fieldKind() == kDataFieldKind
                             && m_engine.fieldData() == kDataFieldName;
    return onDataField && m_engine.deleteCurrentField() ? Result::Changed : Result::Skipped;
}

// A field of the prefix under the caret is edited in place; otherwise the
// selection becomes a new one. Nothing is done without selected text.
FieldCommands::Result FieldCommands::prefixedField(const QString& prefix, int styleCode, const QString& prompt,
                                                   bool remove)
{
    const bool inField = selectProgramField(0) && m_engine.fieldData().startsWith(prefix, Qt::CaseInsensitive);
    if (remove)
        return inField && deleteField(true) ? Result::Changed : Result::Skipped;
    if (!inField && m_engine.selectedText().trimmed().isEmpty()) {
        env::dialogs().inform(QStringLiteral("文字を選択して下さい"));
        return Result::Skipped;
    }
    const QString current = inField ? m_engine.fieldData().mid(prefix.size()) : QString();
    const std::optional<QString> answer = env::dialogs().input(prompt, QString(), current);
    if (!answer || answer->trimmed().isEmpty())
        return Result::Cancelled;
    const QString data = prefix + answer->trimmed();
    if (inField)
        return m_engine.setFieldData(data) ? Result::Changed : Result::Skipped;
    return insertField(styleCode, m_engine.selectedText(), data) > 0 ? Result::Changed : Result::Skipped;
}

std::optional<FieldClick> FieldCommands::click(int id) const
{
    engine::Fields fields(*m_engine.activeDocument());
    const std::optional<engine::FieldRun> run = fields.find(id);
    if (!run)
        return std::nullopt;
    const QTextCharFormat format = fields.format(id);
    if (format.intProperty(engine::FieldKind) == 0)
        return std::nullopt;
    const FieldName field = splitFieldData(format.stringProperty(engine::FieldData));
    const QString text = clickedText(engine::plaintext::fromRange(*m_engine.activeDocument(), run->start, run->end));
    const QString name = shownFieldName(field);
    if (text.isEmpty() || name.isEmpty() || field.kind == QStringLiteral("TP") || field.kind == QStringLiteral("DX"))
        return std::nullopt;
    return FieldClick{field.kind, text, name};
}

} // namespace editor
