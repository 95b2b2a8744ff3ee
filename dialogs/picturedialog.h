#pragma once
// sbWmf: the dialog that fixes the size a picture takes in a document before
// it goes in. It shows the picture at that size (shrunk to the text width of
// the page when wider, never enlarged), lets the user drag the dialog to
// another size, and on confirmation draws the picture at exactly the size
// shown, reduces its colours as the user's setting says and writes it as a
// bitmap at 96 dpi to the work file the editor then inserts. Vector pictures
// are drawn afresh at that size, so they stay sharp.

#include "picture/source.h"
#include "picture/workbitmap.h"

#include <QDialog>
#include <QImage>
#include <QSize>
#include <QString>

class QLabel;
class QMimeData;
class QPushButton;

namespace dialogs {

// Where a dialog of `size` opens: centred on `mouse`, moved left and up so
// that it ends inside `mainWindow`, and never above or left of the screen's
// origin.
QPoint pictureDialogPosition(const QSize& size, const QPoint& mouse, const QRect& mainWindow);

struct PictureTarget {
    QString sFp;                 // the work file written on confirmation
    int nMaxWd = 0;              // the text width in twips; 0 shrinks nothing
    picture::ColourReduction reduction = picture::ColourReduction::None;
    QWidget* mainWindow = nullptr; // the dialog stays inside it; null: the screen
    QSize proposedTwips;           // the size to start from; empty: the picture's own at the screen's dpi
};

enum class PictureResult {
    Placed,     // the work file holds the picture at the size confirmed
    Cancelled,
    NotLoaded,  // the picture could not be read (PictureOutcome::failure says why)
    NotWritten, // confirmed, but drawing or writing the work file failed
};

struct PictureOutcome {
    PictureResult result = PictureResult::Cancelled;
    picture::Failure failure = picture::Failure::None;
    QSize pixels; // the size written, for Placed

    bool bOk() const { return result == PictureResult::Placed; }
};

// Act: the picture file `sFw`; ActCp: the clipboard's picture.
PictureOutcome Act(const QString& sFw, const PictureTarget& target);
PictureOutcome ActCp(const QMimeData& clipboard, const PictureTarget& target);
// The same for a picture already in hand.
PictureOutcome placePicture(const picture::Source& source, const PictureTarget& target);

class sbWmf : public QDialog {
    Q_OBJECT
public:
    // `preview` is the picture drawn at the size proposed, in screen pixels.
    sbWmf(const picture::Source& source, const QImage& preview, const PictureTarget& target);

    // The size the picture is written at: the preview's, in screen pixels.
    QSize previewSize() const { return m_previewSize; }
    // Whether the last confirmation wrote the work file.
    PictureResult result() const { return m_result; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void confirm();
    void layOut();
    QSize chromeSize() const;

    const picture::Source& m_source;
    PictureTarget m_target;
    QSize m_previewSize;
    QSize m_openedSize;
    bool m_followResizes = false;
    PictureResult m_result = PictureResult::Cancelled;
    QLabel* m_preview = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace dialogs
