#pragma once
// The row of "OK" and "ｷｬﾝｾﾙ" our dialogs end with, at the right; OK is the
// default button and ｷｬﾝｾﾙ rejects the dialog.

class QHBoxLayout;
class QDialog;
class QPushButton;

namespace dialogs {

struct OkCancelRow {
    QHBoxLayout* layout = nullptr;
    QPushButton* ok = nullptr;
};

OkCancelRow okCancelRow(QDialog& dialog);

} // namespace dialogs
