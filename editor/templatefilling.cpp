#include "editor/templatefilling.h"

#include "engine/fieldformat.h"
#include "engine/textengine.h"

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

} // namespace editor
