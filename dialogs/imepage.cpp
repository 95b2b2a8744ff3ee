#include "dialogs/imepage.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dialogs {

namespace {

// The dialog's frame is small: the options sit close together.
const QMargins kGroupMargins(8, 0, 8, 2);
const QString kOn = QStringLiteral("ON");
const QString kOff = QStringLiteral("OFF");
// The update rules in the order of their options; the first is the default.
const std::array<QString, ImePage::kRules> kRuleValues{QStringLiteral("確認"), QStringLiteral("上書"),
                                                       QStringLiteral("無視")};

int ruleIndex(const QString& rule)
{
    const auto found = std::find(kRuleValues.begin(), kRuleValues.end(), rule);
    return found == kRuleValues.end() ? 0 : int(found - kRuleValues.begin());
}

} // namespace

ImePage::ImePage()
    : m_frame(std::make_unique<QWidget>())
    , m_ime(new QCheckBox(QStringLiteral("文書を開いた時は､自動的にIMEを全角にする"), m_frame.get()))
    , m_ruleGroup(new QButtonGroup(m_frame.get()))
{
    m_ime->setObjectName(QStringLiteral("chIME"));
    auto* rules = new QGroupBox(QStringLiteral("文書が修正された後に､別文書を開く場合"), m_frame.get());
    auto* rulesLayout = new QVBoxLayout(rules);
    rulesLayout->setContentsMargins(kGroupMargins);
    rulesLayout->setSpacing(0);
    const std::array<QString, kRules> captions{QStringLiteral("更新 (上書き保存) の確認をする"),
                                               QStringLiteral("自動的に更新 (上書き保存) する"),
                                               QStringLiteral("何もしない (確認無し･自動更新無し)")};
    for (int i = 0; i < kRules; ++i) {
        m_rules[size_t(i)] = new QRadioButton(captions[size_t(i)], rules);
        m_rules[size_t(i)]->setObjectName(QStringLiteral("opSave%1").arg(i));
        m_ruleGroup->addButton(m_rules[size_t(i)], i);
        rulesLayout->addWidget(m_rules[size_t(i)]);
    }

    auto* layout = new QVBoxLayout(m_frame.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_ime);
    layout->addWidget(rules);
    layout->addStretch();
}

ImePage::~ImePage() = default;

QWidget* ImePage::frame()
{
    return m_frame.get();
}

QWidget* ImePage::focusControl()
{
    return m_ime;
}

// A request that is not two values shows the defaults.
void ImePage::fill(const PageContext&, const QString& request)
{
    const qsizetype tab = request.indexOf(u'\t');
    QString ime = tab < 0 ? QString() : request.left(tab);
    QString rule = tab < 0 ? QString() : request.mid(tab + 1);
    if (ime.isEmpty() || rule.isEmpty()) {
        ime = kOff;
        rule = kRuleValues[0];
    }
    m_ime->setChecked(ime == kOn);
    m_rules[size_t(ruleIndex(rule))]->setChecked(true);
}

bool ImePage::apply(QString& result)
{
    result = (m_ime->isChecked() ? kOn : kOff) + u'\t' + kRuleValues.at(size_t(m_ruleGroup->checkedId()));
    return true;
}

} // namespace dialogs
