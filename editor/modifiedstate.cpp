#include "editor/modifiedstate.h"

#include "env/globals.h"

namespace editor {

void ModifiedState::setModified(bool modified)
{
    emit aboutToChange(modified);
    m_modified = modified;
}

bool ModifiedState::recordChange()
{
    if (busy() || env::gbActing)
        return false;
    setModified(true);
    emit userChanged();
    return true;
}

} // namespace editor
