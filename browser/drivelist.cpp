#include "browser/drivelist.h"

namespace browser {

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < m_drives.size())
            emit driveChosen(m_drives[index].root);
    });
}

void DriveList::reload()
{
    const QString shown = root();
    const QSignalBlocker quiet(this);
    m_drives = availableDrives();
    clear();
    for (const Drive& drive : m_drives)
        addItem(drive.label);
    const int index = driveIndexOf(m_drives, shown);
    setCurrentIndex(index);
}

void DriveList::selectDriveOf(const QString& path)
{
    reload();
    const QSignalBlocker quiet(this);
    setCurrentIndex(driveIndexOf(m_drives, path));
    setToolTip(root());
}

QString DriveList::root() const
{
    const int index = currentIndex();
    return index >= 0 && index < m_drives.size() ? m_drives[index].root : QString();
}

QString DriveList::rootOf(const QString& path) const
{
    const int index = driveIndexOf(m_drives, path);
    return index >= 0 ? m_drives[index].root : QStringLiteral("/");
}

void DriveList::showPopup()
{
    reload();
    QComboBox::showPopup();
}

} // namespace browser
