#pragma once
// The main window: brings the program up, keeps its screen settings between
// runs and ends the program when it is closed.

#include <QMainWindow>
#include <QString>

namespace app {

class fmDoc : public QMainWindow {
    Q_OBJECT
public:
    explicit fmDoc(QWidget* parent = nullptr);

    // Brings the window up: screen settings, command line, panes; shows it.
    void Act(const QStringList& arguments);
    // Stores the screen settings, then ends the program.
    void SaveScreen();

    // The folder the tree shows, ending in "/".
    QString shownFolder() const { return m_folder; }
    // The document named on the command line ("" when none).
    QString startFile() const { return m_startFile; }
    bool functionKeysShown() const { return m_showFkeys; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void readScreenSettings();
    void takeCommandLine(const QStringList& arguments);
    void placeWindow();
    QString storedFolderText() const;

    QString m_folder;
    QString m_startFile;
    bool m_showFkeys = false;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
};

// The document path of a command line: every double quote removed, cut at
// the first tab; "" unless it names an existing file.
QString documentFromCommandLine(const QStringList& arguments);

} // namespace app
