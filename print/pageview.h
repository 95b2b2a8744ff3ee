#pragma once
// The page view (sbTvw): one page of the document at a time as it prints,
// painted by the engine's page painter, with page turning, a zoom menu and
// printing. What page and zoom it shows is PageViewState's; this class only
// places widgets and answers menus.

#include "engine/textengine.h"
#include "print/pageviewstate.h"
#include "print/printerdirectory.h"

#include <QDialog>
#include <QImage>

class QAction;
class QScrollArea;

namespace print {

class PageBox;

class PageView : public QDialog {
    Q_OBJECT
public:
    // `settingsFile` is the printer settings file printing uses when it
    // exists; `picture`, when not empty, names a picture shown instead of
    // the pages. The engine's view mode and zoom are restored when the view
    // goes.
    PageView(engine::TextEngine& engine, QString settingsFile, const QString& picture,
             PrinterDirectory printers, QWidget* mainWindow);
    ~PageView() override;

    const PageViewState& state() const { return m_state; }
    bool showsPicture() const { return !m_picture.isNull(); }
    // The box the page is painted in, in the view's client area.
    QWidget* pageBox() const;
    QWidget* clientArea() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildClientArea();
    void buildMenus();
    void placeAtWindow(QWidget* mainWindow);
    void turn(PageViewState::Turn turn);
    void zoomTo(int percent); // 0: the whole page
    void fitClientArea();
    void placePage();
    void updatePageMenu();
    void print();
    QRect pixels(const QRect& twips) const;

    engine::TextEngine& m_engine;
    QString m_settingsFile;
    PrinterDirectory m_printers;
    engine::ViewMode m_keptViewMode;
    int m_keptZoom;
    PageViewState m_state;
    QImage m_picture;

    QScrollArea* m_area = nullptr;
    QWidget* m_canvas = nullptr;
    PageBox* m_box = nullptr;
    QWidget* m_rightShadow = nullptr;
    QWidget* m_bottomShadow = nullptr;
    QAction* m_turns[4] = {};
};

// Opens the page view of `engine` modally over `mainWindow` (see PageView).
void cAct(engine::TextEngine& engine, const QString& settingsFile, const QString& picture, QWidget* mainWindow);

} // namespace print
