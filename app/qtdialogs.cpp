#include "app/qtdialogs.h"

#include "dialogs/fontdialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace app {

namespace {

QWidget* owner() { return QApplication::activeWindow(); }

QString titleOr(const QString& title)
{
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}

QMessageBox::StandardButton buttonOf(env::Answer a)
{
    switch (a) {
    case env::Answer::Ok: return QMessageBox::Ok;
    case env::Answer::Cancel: return QMessageBox::Cancel;
    case env::Answer::Yes: return QMessageBox::Yes;
    case env::Answer::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons buttonsOf(env::Buttons b)
{
    switch (b) {
    case env::Buttons::Ok: return QMessageBox::Ok;
    case env::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case env::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case env::Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(env::Icon i)
{
    switch (i) {
    case env::Icon::None: return QMessageBox::NoIcon;
    case env::Icon::Information: return QMessageBox::Information;
    case env::Icon::Question: return QMessageBox::Question;
    case env::Icon::Warning: return QMessageBox::Warning;
    case env::Icon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

env::Answer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes: return env::Answer::Yes;
    case QMessageBox::No: return env::Answer::No;
    case QMessageBox::Ok: return env::Answer::Ok;
    default: return env::Answer::Cancel;
    }
}

// The 1-based position of `selected` among `filters`, or `fallback`.
int filterIndexOf(const QStringList& filters, const QString& selected, int fallback)
{
    const qsizetype i = filters.indexOf(selected);
    return i >= 0 ? int(i) + 1 : fallback;
}

} // namespace

env::Answer QtDialogs::message(const env::MessageRequest& request)
{
    QMessageBox box(iconOf(request.icon), titleOr(request.title), request.text,
                    buttonsOf(request.buttons), owner());
    box.setDefaultButton(buttonOf(request.defaultAnswer));
    return answerOf(box.exec());
}

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title,
                                        const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), titleOr(title), prompt, QLineEdit::Normal,
                                               initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QStringList QtDialogs::openFiles(env::FileRequest& request)
{
    QString selected = request.filters.value(request.filterIndex - 1);
    const QString start = request.fileName.isEmpty() ? request.folder
                                                     : request.folder + u'/' + request.fileName;
    const QString filter = request.filters.join(QStringLiteral(";;"));
    QStringList files;
    if (request.multiple)
        files = QFileDialog::getOpenFileNames(owner(), request.title, start, filter, &selected);
    else if (const QString f = QFileDialog::getOpenFileName(owner(), request.title, start, filter, &selected);
             !f.isEmpty())
        files << f;
    request.filterIndex = filterIndexOf(request.filters, selected, request.filterIndex);
    return files;
}

QString QtDialogs::saveFile(env::FileRequest& request)
{
    QString selected = request.filters.value(request.filterIndex - 1);
    const QString start = request.fileName.isEmpty() ? request.folder
                                                     : request.folder + u'/' + request.fileName;
    const QString file = QFileDialog::getSaveFileName(owner(), request.title, start,
                                                      request.filters.join(QStringLiteral(";;")), &selected);
    request.filterIndex = filterIndexOf(request.filters, selected, request.filterIndex);
    return file;
}

QString QtDialogs::folder(const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(owner(), title, start);
}

std::optional<QColor> QtDialogs::color(const QColor& initial, const QString& title)
{
    const QColor c = QColorDialog::getColor(initial, owner(), title);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<env::FontRequest> QtDialogs::font(const env::FontRequest& initial)
{
    dialogs::FontDialog dialog(initial, owner());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.request();
}

// Printing to a file is not offered: PDF is saved through the save dialog.
bool QtDialogs::print(QPrinter& printer, const env::PrintRequest& request)
{
    QPrintDialog dialog(&printer, owner());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (request.setupOnly) {
        dialog.setWindowTitle(QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    } else {
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setMinMax(request.firstPage, request.lastPage);
        printer.setFromTo(request.firstPage, request.lastPage);
    }
    return dialog.exec() == QDialog::Accepted;
}

} // namespace app
