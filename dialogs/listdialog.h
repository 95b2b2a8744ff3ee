#pragma once
// ListDialog: the kind and level of the list the selection's paragraphs are
// in, shown for editing.

#include <QDialog>

class QComboBox;
class QSpinBox;

namespace dialogs {

// kind: the engine's list attribute (1 no list ... 7 I, II, III); level 1-9.
struct ListLook {
    int kind = 1;
    int level = 1;

    bool operator==(const ListLook&) const = default;
};

class ListDialog : public QDialog {
    Q_OBJECT
public:
    explicit ListDialog(const ListLook& look, QWidget* parent = nullptr);
    ~ListDialog() override;

    // The look as the controls show it now. A kind the list does not offer
    // is given back as it came while the user leaves the kind alone.
    ListLook look() const;

    // The controls, for the dialog's tests.
    QComboBox* kindBox() const { return m_kind; }
    QSpinBox* levelBox() const { return m_level; }

private:
    static int rowOf(int kind);

    QComboBox* m_kind = nullptr;
    QSpinBox* m_level = nullptr;
    int m_initialKind = 1;
};

} // namespace dialogs
