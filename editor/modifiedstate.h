#pragma once
// The document's modified flag and the editor's busy flag: a change the user
// makes marks the document modified, a change the program makes while busy
// (or while the program is starting) does not.

#include <QObject>

namespace editor {

class ModifiedState : public QObject {
    Q_OBJECT
public:
    // Marks the editor busy for its lifetime; scopes nest.
    class BusyScope {
    public:
        explicit BusyScope(ModifiedState& state) : m_state(state) { ++m_state.m_busy; }
        ~BusyScope() { --m_state.m_busy; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        ModifiedState& m_state;
    };

    bool modified() const { return m_modified; }
    // Announces the new value through aboutToChange() first, every time.
    void setModified(bool modified);
    bool busy() const { return m_busy > 0; }

    // A change notification from the engine or the title box: unless the
    // editor or the program is busy, the document becomes modified and
    // userChanged() follows. True when the change was taken as the user's.
    bool recordChange();

signals:
    void aboutToChange(bool modified);
    void userChanged();

private:
    bool m_modified = false;
    int m_busy = 0;
};

} // namespace editor
