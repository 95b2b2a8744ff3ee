#include "dialogs/userformatpage.h"

#include "dialogs/fontchoice.h"
#include "dialogs/frmt.h"
#include "dialogs/headingsizes.h"
#include "dialogs/recordlook.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace dialogs {

namespace {

constexpr int kHeadingCount = 3;
constexpr int kButtonGap = 4; // pixels between the buttons of a line
const QString kHeaderText = QStringLiteral("Header");
const QString kFooterText = QStringLiteral("Footer");
// Alignment list entry → paragraph attribute A: left, centred, right.
constexpr std::array<int, 3> kAlignments = {0, 2, 1};
// The line-spacing list: 1.0 to 2.0 by tenths.
constexpr int kSmallestLineSpacingTenths = 10;
constexpr int kLargestLineSpacingTenths = 20;

bool isHeading(int style)
{
    return style < kHeadingCount;
}

QPushButton* button(const QString& caption, const QString& name, const QString& tip = {})
{
    auto* made = new QPushButton(caption);
    made->setObjectName(name);
    made->setAutoDefault(false);
    made->setToolTip(tip);
    return made;
}

engine::ParagraphAlignment alignmentShown(int attributeA)
{
    switch (attributeA) {
    case 1: return engine::ParagraphAlignment::Right;
    case 2: return engine::ParagraphAlignment::Center;
    default: return engine::ParagraphAlignment::Left;
    }
}

QString lineSpacingText(double factor)
{
    return QString::number(factor, 'f', 1);
}

// Calls `placed` whenever the widget is shown or changes size: the buttons
// follow the sample lines, which move with the view's width.
class ButtonColumn : public QWidget {
public:
    explicit ButtonColumn(std::function<void()> placed) : m_placed(std::move(placed)) {}

protected:
    void showEvent(QShowEvent* event) override
    {
        QWidget::showEvent(event);
        m_placed();
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        m_placed();
    }

private:
    std::function<void()> m_placed;
};

} // namespace

const QString UserFormatPage::kSampleText = QStringLiteral("見出１.見出２.見出３.本文 強調 補足");

QStringList UserFormatPage::styleNames()
{
    QStringList names;
    for (const QString& line : kSampleText.split(u'.'))
        names += line.split(u' ');
    return names;
}

int UserFormatPage::styleIndex(const QString& name)
{
    return int(styleNames().indexOf(name));
}

int UserFormatPage::alignmentOfEntry(int entry)
{
    return entry >= 0 && entry < int(kAlignments.size()) ? kAlignments[size_t(entry)] : kAlignments[0];
}

int UserFormatPage::entryOfAlignment(int attributeA)
{
    const auto found = std::find(kAlignments.begin(), kAlignments.end(), attributeA);
    return found == kAlignments.end() ? 0 : int(found - kAlignments.begin());
}

UserFormatPage::UserFormatPage(Frmt& formats, env::yIni& settings, ParagraphDialog paragraphDialog)
    : m_formats(formats)
    , m_settings(settings)
    , m_paragraphDialog(std::move(paragraphDialog))
    , m_sample(std::make_unique<engine::TextEngine>())
    , m_frame(std::make_unique<QWidget>())
{
    m_header.engine = std::make_unique<engine::TextEngine>();
    m_footer.engine = std::make_unique<engine::TextEngine>();
    buildLayout();
}

UserFormatPage::~UserFormatPage() = default;

QWidget* UserFormatPage::frame()
{
    return m_frame.get();
}

QWidget* UserFormatPage::focusControl()
{
    return m_fontButtons[0];
}

void UserFormatPage::buildLayout()
{
    auto* layout = new QVBoxLayout(m_frame.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeSampleArea(), 1);
    layout->addWidget(makePartRow(m_header, QStringLiteral("Head"), QStringLiteral("ﾍｯﾀﾞｰ")));
    layout->addWidget(makePartRow(m_footer, QStringLiteral("Foot"), QStringLiteral("ﾌｯﾀｰ")));
    layout->addWidget(makeOptions());
}

// The sample on the left; beside each of its lines the buttons of the
// styles on it: a font button per style, a paragraph button per paragraph
// style.
QWidget* UserFormatPage::makeSampleArea()
{
    auto* area = new QWidget;
    m_sampleView = new engine::EngineView(*m_sample);
    m_sampleView->setObjectName(QStringLiteral("tTxt"));
    m_sampleView->setReadOnly(true);
    m_sampleView->setTextInteractionFlags(Qt::NoTextInteraction);
    m_sampleView->setFocusPolicy(Qt::NoFocus);
    auto* column = new ButtonColumn([this] { placeButtons(); });
    m_buttonColumn = column;
    const QStringList names = styleNames();
    for (int style = 0; style < kStyleCount; ++style) {
        const QString& name = names[style];
        m_fontButtons[size_t(style)] =
            button(isHeading(style) ? QStringLiteral("ﾌｫﾝﾄ") : name, QStringLiteral("cmFont") + QString::number(style),
                   name + QStringLiteral("のﾌｫﾝﾄ"));
        m_fontButtons[size_t(style)]->setParent(column);
        QObject::connect(m_fontButtons[size_t(style)], &QPushButton::clicked, column,
                         [this, style] { chooseStyleFont(style); });
        if (style >= kParagraphStyleCount)
            continue;
        m_paragraphButtons[size_t(style)] =
            button(QStringLiteral("段落"), QStringLiteral("cmPrg") + QString::number(style), name + QStringLiteral("の段落"));
        m_paragraphButtons[size_t(style)]->setParent(column);
        QObject::connect(m_paragraphButtons[size_t(style)], &QPushButton::clicked, column,
                         [this, style] { chooseStyleParagraph(style); });
    }
    QObject::connect(m_sampleView->verticalScrollBar(), &QScrollBar::valueChanged, column,
                     [this] { placeButtons(); });
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_sampleView, 1);
    row->addWidget(column);
    return area;
}

QWidget* UserFormatPage::makePartRow(PartSample& part, const QString& name, const QString& caption)
{
    auto* row = new QWidget;
    part.view = new engine::EngineView(*part.engine);
    part.view->setObjectName(QStringLiteral("t") + name);
    part.view->setReadOnly(true);
    part.view->setTextInteractionFlags(Qt::NoTextInteraction);
    part.view->setFocusPolicy(Qt::NoFocus);
    part.view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    part.view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    part.alignment = new QComboBox;
    part.alignment->setObjectName(QStringLiteral("cb") + name);
    part.alignment->addItems({QStringLiteral("左寄せ"), QStringLiteral("中央合わせ"), QStringLiteral("右寄せ")});
    part.font = button(QStringLiteral("ﾌｫﾝﾄ"), QStringLiteral("cm") + name, caption + QStringLiteral("のﾌｫﾝﾄ"));
    QObject::connect(part.alignment, &QComboBox::activated, row, [this, &part](int entry) { alignPart(part, entry); });
    QObject::connect(part.font, &QPushButton::clicked, row, [this, &part] { choosePartFont(part); });
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(caption));
    layout->addWidget(part.view, 1);
    layout->addWidget(part.alignment);
    layout->addWidget(part.font);
    return row;
}

QWidget* UserFormatPage::makeOptions()
{
    auto* options = new QWidget;
    m_enterShift = new QCheckBox(QStringLiteral("本文はEnter= <br>"));
    m_enterShift->setObjectName(QStringLiteral("ckLF0"));
    auto* note = new QLabel(QStringLiteral("見出し以外では、Enter入力で、ﾊﾟﾗｸﾞﾗﾌは区切らずに <br>"));
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    m_headingFirst = new QCheckBox(QStringLiteral("最初は見出1"));
    m_headingFirst->setObjectName(QStringLiteral("ckLF1"));
    m_lineSpacing = new QComboBox;
    m_lineSpacing->setObjectName(QStringLiteral("cbLine"));
    auto* grid = new QGridLayout(options);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_enterShift, 0, 0);
    grid->addWidget(note, 0, 1, 1, 3);
    grid->addWidget(m_headingFirst, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("行間")), 1, 2, Qt::AlignRight);
    grid->addWidget(m_lineSpacing, 1, 3);
    grid->setColumnStretch(1, 1);
    return options;
}

void UserFormatPage::fill(const PageContext& /*context*/, const QString& /*request*/)
{
    fillSample();
    fillPart(m_header, kHeaderFormat);
    fillPart(m_footer, kFooterFormat);
    m_enterShift->setChecked(m_formats.enterShift());
    m_headingFirst->setChecked(m_formats.headingFirst());
    fillLineSpacing(m_formats.lineSpacing());
    placeButtons();
}

void UserFormatPage::fillSample()
{
    m_sample->reset();
    m_sample->setPlainText(sampleParagraphs());
    for (int style = 0; style < kStyleCount; ++style) {
        selectStyle(style);
        showStyle(style, m_formats.record(style));
    }
    m_sample->setSelection(0, 0);
}

// Paragraph values belong to the paragraph styles alone: 強調 and 補足
// share 本文's line, and leave paragraphs as they are wherever applied.
void UserFormatPage::showStyle(int style, const UserFormat& format)
{
    if (isHeading(style))
        setRecordAttributes(*m_sample, format);
    if (style < kParagraphStyleCount)
        setRecordParagraph(*m_sample, format);
    setRecordCharacters(*m_sample, format);
}

void UserFormatPage::fillPart(PartSample& part, int record)
{
    const UserFormat& format = m_formats.record(record);
    part.engine->reset();
    part.engine->setPlainText(record == kHeaderFormat ? kHeaderText : kFooterText);
    part.engine->setSelection(0, -1);
    part.engine->setParagraphAttribute(engine::ParagraphAttribute::A, format.attributes[0]);
    part.engine->setParagraphAlignment(alignmentShown(format.attributes[0]));
    setRecordCharacters(*part.engine, format);
    part.engine->setSelection(0, 0);
    part.alignment->setCurrentIndex(entryOfAlignment(format.attributes[0]));
    fitPart(part);
}

// The factors from 1.0 to 2.0 by tenths, and the stored one where it lies
// between them: opening and confirming must not change it.
void UserFormatPage::fillLineSpacing(float factor)
{
    m_lineSpacing->clear();
    for (int tenths = kSmallestLineSpacingTenths; tenths <= kLargestLineSpacingTenths; ++tenths)
        m_lineSpacing->addItem(lineSpacingText(tenths / 10.0), tenths / 10.0);
    const int shown = m_lineSpacing->findText(lineSpacingText(factor));
    if (std::abs(factor * 10 - std::round(factor * 10)) < 1e-4f && shown >= 0) {
        m_lineSpacing->setCurrentIndex(shown);
        return;
    }
    const int before = int(std::floor(factor * 10)) - kSmallestLineSpacingTenths + 1;
    m_lineSpacing->insertItem(before, QString::number(factor), double(factor));
    m_lineSpacing->setCurrentIndex(before);
}

bool UserFormatPage::apply(QString& /*result*/)
{
    Frmt chosen = m_formats;
    for (int style = 0; style < kStyleCount; ++style) {
        selectStyle(style);
        chosen.setRecord(style, readStyle(style, chosen.record(style)));
    }
    m_sample->setSelection(0, 0);
    chosen.setRecord(kHeaderFormat, readPart(m_header, chosen.record(kHeaderFormat)));
    chosen.setRecord(kFooterFormat, readPart(m_footer, chosen.record(kFooterFormat)));
    chosen.setEnterShift(m_enterShift->isChecked());
    chosen.setHeadingFirst(m_headingFirst->isChecked());
    chosen.setLineSpacing(m_lineSpacing->currentData().toDouble());
    if (orderHeadingSizes(chosen))
        env::dialogs().inform(QStringLiteral("見出しのﾌｫﾝﾄｻｲｽﾞ順に変えます"));
    m_formats = chosen;
    m_formats.save(m_settings);
    return true;
}

UserFormat UserFormatPage::readStyle(int style, UserFormat format) const
{
    if (isHeading(style))
        format = withSelectionAttributes(*m_sample, format);
    if (style < kParagraphStyleCount)
        format = withSelectionParagraph(*m_sample, format);
    return withSelectionCharacters(*m_sample, format);
}

UserFormat UserFormatPage::readPart(const PartSample& part, UserFormat format) const
{
    part.engine->setSelection(0, -1);
    format.attributes[0] = qint16(part.engine->paragraphAttribute(engine::ParagraphAttribute::A));
    format = withSelectionCharacters(*part.engine, format);
    part.engine->setSelection(0, 0);
    return format;
}

void UserFormatPage::selectStyle(int style)
{
    const QString name = styleNames()[style];
    m_sample->setSelection(int(sampleParagraphs().indexOf(name)), int(name.size()));
}

void UserFormatPage::chooseStyleFont(int style)
{
    selectStyle(style);
    chooseFont(*m_sample);
    m_sample->setSelection(m_sample->selectionStart(), 0);
    placeButtons();
}

void UserFormatPage::chooseStyleParagraph(int style)
{
    selectStyle(style);
    m_paragraphDialog(*m_sample);
    m_sample->setSelection(m_sample->selectionStart(), 0);
    placeButtons();
}

void UserFormatPage::choosePartFont(PartSample& part)
{
    part.engine->setSelection(0, -1);
    chooseFont(*part.engine);
    part.engine->setSelection(0, 0);
    fitPart(part);
}

void UserFormatPage::alignPart(PartSample& part, int entry)
{
    const int attributeA = alignmentOfEntry(entry);
    part.engine->setSelection(0, -1);
    part.engine->setParagraphAttribute(engine::ParagraphAttribute::A, attributeA);
    part.engine->setParagraphAlignment(alignmentShown(attributeA));
    part.engine->setSelection(0, 0);
}

// Each line's buttons stand at the height of the line's middle in the view,
// and the view is as high as the sample needs.
void UserFormatPage::placeButtons()
{
    if (m_placing)
        return;
    const QScopedValueRollback placing(m_placing, true);
    const QString text = sampleParagraphs();
    const int caret = m_sample->selectionStart();
    const int length = m_sample->selectionLength();
    const auto lineAt = [&](int position) {
        m_sample->setSelection(position, 0);
        return m_sampleView->cursorRect(m_sample->textCursor());
    };
    const auto place = [](QPushButton* button, int x, int middle) {
        button->resize(button->sizeHint());
        button->move(x, middle - button->height() / 2);
        return x + button->width() + kButtonGap;
    };
    const int secondColumn = m_fontButtons[0]->sizeHint().width() + kButtonGap;
    int right = 0;
    for (int style = 0; style < kParagraphStyleCount; ++style) {
        const QRect line = lineAt(int(text.indexOf(styleNames()[style])));
        const QPoint inFrame = m_sampleView->viewport()->mapTo(m_frame.get(), line.center());
        const int middle = m_buttonColumn->mapFrom(m_frame.get(), inFrame).y();
        int x = std::max(place(m_fontButtons[size_t(style)], 0, middle), secondColumn);
        x = place(m_paragraphButtons[size_t(style)], x, middle);
        if (style == kBodyFormat)
            for (int character = kBodyFormat + 1; character < kStyleCount; ++character)
                x = place(m_fontButtons[size_t(character)], x, middle);
        right = std::max(right, x - kButtonGap);
    }
    m_buttonColumn->setFixedWidth(right);
    fitHeight(*m_sampleView, lineAt(int(text.size())));
    m_buttonColumn->setFixedHeight(m_sampleView->height());
    m_sample->setSelection(caret, length);
}

void UserFormatPage::fitPart(PartSample& part)
{
    part.engine->setSelection(int(part.engine->plainText().size()), 0);
    fitHeight(*part.view, part.view->cursorRect(part.engine->textCursor()));
    part.engine->setSelection(0, 0);
}

// `lastLine`: where the view's last line is, in its viewport.
void UserFormatPage::fitHeight(engine::EngineView& view, const QRect& lastLine)
{
    constexpr int kSlack = 8; // the document's own margin below its last line
    const int bottom = lastLine.bottom() + view.verticalScrollBar()->value() + kSlack;
    view.setFixedHeight(bottom + 2 * view.frameWidth());
}

QString UserFormatPage::sampleParagraphs()
{
    return QString(kSampleText).replace(u'.', u'\n');
}

} // namespace dialogs
