#pragma once
// The one door through which the program asks the user anything: message
// boxes, input boxes and the system dialogs. The program installs the Qt
// implementation; tests install a scripted one that records and answers.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;
class QWidget;

namespace env {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };
enum class Icon { None, Information, Question, Warning, Critical };

struct MessageRequest {
    QString text;
    QString title;                 // empty: the application's title
    Buttons buttons = Buttons::Ok;
    Answer defaultAnswer = Answer::Ok;
    Icon icon = Icon::None;
};

struct FileRequest {
    QString title;
    QString folder;                // initial folder
    QString fileName;              // initial file name (save) or preselection
    QStringList filters;           // "HTML (*.htm *.html)" ...
    int filterIndex = 1;           // 1-based; in: preselected, out: chosen
    bool multiple = false;         // open: several files may be chosen
};

// What the print dialog offers: a range of pages to choose from and copies,
// or, for printer setup, the printer and its properties alone.
struct PrintRequest {
    int firstPage = 1;
    int lastPage = 1;
    bool setupOnly = false;
};

// What the font dialog opens on and what it answers: the font (family,
// point size, bold, italic, underline, strike-out) and the text and
// background colours. An invalid colour is the automatic text colour, or no
// background.
struct FontRequest {
    QFont font;
    QColor textColor;
    QColor backgroundColor;

    bool operator==(const FontRequest&) const = default;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual Answer message(const MessageRequest& request) = 0;
    // nullopt when cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& initial) = 0;
    // Empty list when cancelled; request.filterIndex reports the chosen filter.
    virtual QStringList openFiles(FileRequest& request) = 0;
    virtual QString saveFile(FileRequest& request) = 0;
    virtual QString folder(const QString& title, const QString& start) = 0;
    // `title` names what the colour is for ("文字色", ...).
    virtual std::optional<QColor> color(const QColor& initial, const QString& title) = 0;
    // nullopt when cancelled.
    virtual std::optional<FontRequest> font(const FontRequest& initial) = 0;
    // Lets the user choose a printer, its properties, the pages (the
    // printer's print range and from/to) and the copies (its copy count);
    // false when cancelled.
    virtual bool print(QPrinter& printer, const PrintRequest& request) = 0;

    // Conveniences over message().
    void inform(const QString& text);
    Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer,
               Icon icon = Icon::Question);
    QString openFile(FileRequest& request);
};

// The installed implementation. Never null once the program or a test has
// installed one; asking before that is a programming error.
Dialogs& dialogs();
// Installs `d` (not owned) and returns the previous one.
Dialogs* setDialogs(Dialogs* d);

} // namespace env
