// Stand-in for the picture, graph and chart programs: reads the parameter
// record by its byte offsets, draws a picture into the caller's folder and
// answers with its path. Any other call writes its arguments, one a line,
// to "<program>.args", so that tests see what a command line delivered.

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QString>
#include <QtEndian>
#include <cstdio>

namespace {

QString field(const QByteArray& record, int at, int width)
{
    return QString::fromLocal8Bit(record.mid(at, width)).trimmed();
}

void putField(QByteArray& record, int at, int width, const QString& text)
{
    record.replace(at, width, text.toLocal8Bit().leftJustified(width, ' ', true));
}

void put16(QByteArray& record, int at, qint16 value)
{
    qToLittleEndian(value, record.data() + at);
}

// The picture program: a PNG of the size asked for in twips (15 a pixel),
// result code 7 and success as the old programs wrote it (-1).
bool answerPicture(QByteArray& record)
{
    const qint32 width = qFromLittleEndian<qint32>(record.constData() + 520);
    const qint32 height = qFromLittleEndian<qint32>(record.constData() + 524);
    QImage image(width > 0 ? width / 15 : 40, height > 0 ? height / 15 : 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = field(record, 0, 255) + QStringLiteral("made.png");
    if (!image.save(path, "PNG"))
        return false;
    putField(record, 265, 255, path);
    put16(record, 528, 7);
    put16(record, 530, -1);
    return true;
}

// The graph and chart programs: a bitmap at 72 dots per inch.
bool answerChart(QByteArray& record)
{
    QImage image(50, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    const QString path = field(record, 0, 255) + QStringLiteral("chart.bmp");
    if (!image.save(path, "BMP"))
        return false;
    putField(record, 265, 255, path);
    put16(record, 520, -1);
    return true;
}

// Written whole or not at all: the test reads the file as soon as it is there.
void recordArguments(int argc, char** argv)
{
    QSaveFile file(QString::fromLocal8Bit(argv[0]) + QStringLiteral(".args"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    for (int i = 1; i < argc; ++i)
        file.write(QByteArray(argv[i]) + '\n');
    file.commit();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && QByteArray(argv[1]).endsWith(".pdat")) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadWrite))
            return 1;
        QByteArray record = file.readAll();
        const bool answered = record.size() == 532 ? answerPicture(record)
                            : record.size() == 522 ? answerChart(record)
                                                   : false;
        if (!answered)
            return 1;
        file.seek(0);
        file.write(record);
        return 0;
    }
    recordArguments(argc, argv);
    return 0;
}
