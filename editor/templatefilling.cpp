#include "editor/templatefilling.h"

#include "engine/fieldformat.h"
#include "engine/textengine.h"

#include <QByteArray>

#include <algorithm>
#include <limits>

namespace editor {

void TemplateFilling::start(const QString& pictureBase)
{
    m_pictureBase = pictureBase;
    m_fields.clear();
    m_frames.clear();
    const int current = m_engine.currentField();
    for (int id : m_engine.fieldIds())
        if (m_engine.setCurrentField(id) && m_engine.fieldKind() == kDataFieldKind)
            m_fields << id;
    if (current > 0)
        m_engine.setCurrentField(current);
    for (int id = m_engine.nextObject(engine::kObjectKindTextFrame, 0); id > 0;
         id = m_engine.nextObject(engine::kObjectKindTextFrame, id))
        m_frames << id;
    m_filling = true;
}

void TemplateFilling::end()
{
    m_filling = false;
    m_fields.clear();
    m_frames.clear();
    m_pictureBase.clear();
}

int TemplateFilling::fieldId(int number) const
{
    return m_fields.value(number - 1);
}

int TemplateFilling::frameId(int number) const
{
    return m_frames.value(number - 1);
}

bool TemplateFilling::setFieldText(int number, const QString& text)
{
    const int id = fieldId(number);
    return id > 0 && m_engine.setCurrentField(id) && m_engine.setFieldText(text);
}

bool TemplateFilling::setFieldPicture(int number, const QString& path)
{
    const int id = fieldId(number);
    if (id <= 0 || !m_engine.setCurrentField(id))
        return false;
    const int start = m_engine.fieldStart();
    m_engine.setSelection(start, int(m_engine.fieldText().size()));
    const bool placed = m_engine.insertPictureFile(path, engine::PictureInline) > 0;
    m_engine.setSelection(std::numeric_limits<int>::max(), 0); // the end, whatever its length
    return placed;
}

namespace {

// A frame is never laid out smaller than a centimetre, whatever the margins.
constexpr double kSmallestFrameTwips = 567;

void number(engine::TextEngine& copy)
{
    TemplateFilling filling(copy);
    filling.start({});
    for (int n = 1; filling.fieldId(n) > 0; ++n)
        filling.setFieldText(n, QStringLiteral("FD:%1").arg(n));
    for (int n = 1; filling.frameId(n) > 0; ++n) {
        if (copy.makeTextFrameCurrent(filling.frameId(n)))
            copy.loadFromMemory(QStringLiteral("TF:%1").arg(n).toUtf8(), engine::FormatCode::PlainText, false);
    }
    copy.makeTextFrameCurrent(0);
    filling.end();
}

} // namespace

std::unique_ptr<engine::TextEngine> numberedCopy(engine::TextEngine& source)
{
    auto copy = std::make_unique<engine::TextEngine>();
    copy->setPageSetup(source.pageSetup());
    const std::optional<QByteArray> bytes = source.saveToMemory(engine::FormatCode::Snapshot);
    if (!bytes || !copy->restoreSnapshot(*bytes, 0, 0))
        return nullptr;
    number(*copy);
    return copy;
}

void layOutTextFrames(engine::TextEngine& engine, int areas)
{
    const engine::PageSetup setup = engine.pageSetup();
    const QSizeF sheet = setup.sheetTwips();
    const double width = std::max(kSmallestFrameTwips, sheet.width() - setup.marginLeft - setup.marginRight);
    const double height
        = std::max(kSmallestFrameTwips, sheet.height() / areas - setup.marginTop - setup.marginBottom);
    engine.reset();
    int first = 0;
    for (int frame = 1; frame < areas; ++frame) {
        engine.makeTextFrameCurrent(0);
        const int id = engine.insertTextFrame(width, height);
        if (first == 0)
            first = id;
    }
    engine.makeTextFrameCurrent(first);
}

} // namespace editor
