#include "dialogs/picturelayoutpage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dialogs {

namespace {

constexpr int kFirstLayoutCode = 1;
// The dialog's frame is small: the options sit close together.
const QMargins kGroupMargins(8, 2, 8, 2);

template <size_t N>
void addOptions(std::array<QRadioButton*, N>& options, const std::array<QString, N>& captions, const QString& name,
                QButtonGroup& group, QWidget* parent)
{
    for (size_t i = 0; i < N; ++i) {
        options[i] = new QRadioButton(captions[i], parent);
        options[i]->setObjectName(name + QString::number(i));
        group.addButton(options[i], int(i));
    }
}

// The digit at `at` of `request` if it lies in [first, first + count), else -1.
int codeAt(const QString& request, qsizetype at, int first, int count)
{
    const int code = request.size() == 2 ? request[at].digitValue() : -1;
    return code >= first && code < first + count ? code : -1;
}

} // namespace

PictureLayoutPage::PictureLayoutPage()
    : m_frame(std::make_unique<QWidget>())
    , m_layoutGroup(new QButtonGroup(m_frame.get()))
    , m_colourGroup(new QButtonGroup(m_frame.get()))
{
    // The window title names the layout options; only the colour options need a caption.
    auto* layouts = new QGroupBox(m_frame.get());
    addOptions(m_layouts,
               {QStringLiteral("文字位置"), QStringLiteral("左寄せ"), QStringLiteral("右寄せ"), QStringLiteral("ﾌﾛｰﾄ")},
               QStringLiteral("opFlw"), *m_layoutGroup, layouts);
    auto* layoutGrid = new QGridLayout(layouts);
    layoutGrid->setContentsMargins(kGroupMargins);
    layoutGrid->setVerticalSpacing(0);
    for (int i = 0; i < kLayouts; ++i)
        layoutGrid->addWidget(m_layouts[size_t(i)], 0, i);
    layoutGrid->addWidget(new QLabel(QStringLiteral("文字位置はワードの行内　ﾌﾛｰﾄは四角と同等です"), layouts), 1, 0, 1,
                          kLayouts);
    layoutGrid->addWidget(new QLabel(QStringLiteral("Htm・Epubへ出力する場合、文字位置を指定して下さい"), layouts), 2, 0,
                          1, kLayouts);

    auto* colours = new QGroupBox(QStringLiteral("貼付時の減色"), m_frame.get());
    addOptions(m_colours, {QStringLiteral("減色無し"), QStringLiteral("256色"), QStringLiteral("8ﾋﾞｯﾄｸﾞﾚｲ")},
               QStringLiteral("opClr"), *m_colourGroup, colours);
    auto* colourRow = new QHBoxLayout(colours);
    colourRow->setContentsMargins(kGroupMargins);
    for (QRadioButton* option : m_colours)
        colourRow->addWidget(option);
    colourRow->addStretch();
    colourRow->addWidget(new QLabel(QStringLiteral("Ctrl+Vで画像を貼付た時の処理です"), colours));

    auto* layout = new QVBoxLayout(m_frame.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(layouts);
    layout->addWidget(colours);
}

PictureLayoutPage::~PictureLayoutPage() = default;

QWidget* PictureLayoutPage::frame()
{
    return m_frame.get();
}

// The page has no control that must be answered first.
QWidget* PictureLayoutPage::focusControl()
{
    return nullptr;
}

void PictureLayoutPage::fill(const PageContext& context, const QString& request)
{
    int layout = codeAt(request, 0, kFirstLayoutCode, kLayouts);
    if (layout < 0)
        layout = context.documentType < 0 ? 1 : 2;
    const int colour = codeAt(request, 1, 0, kColours);
    m_layouts[size_t(layout - kFirstLayoutCode)]->setChecked(true);
    m_colours[size_t(std::max(colour, 0))]->setChecked(true);
}

bool PictureLayoutPage::apply(QString& result)
{
    result = QString::number(m_layoutGroup->checkedId() + kFirstLayoutCode) + QString::number(m_colourGroup->checkedId());
    return true;
}

} // namespace dialogs
