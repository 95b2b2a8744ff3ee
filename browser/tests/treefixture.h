#pragma once
// A tree shown on a folder of test files, with the dialogs scripted and the
// desktop hand-over recorded instead of starting other programs.

#include "browser/utre.h"
#include "testsupport/recordingdesktop.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QAbstractItemView>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace browsertest {

class TreeTest : public ::testing::Test {
protected:
    static constexpr const char16_t* kDocuments = u"*.htm;*.html;*.rtf";

    void SetUp() override
    {
        for (const char16_t* name : {u"a.htm", u"b.HTML", u"c.txt", u"d.rtf"})
            folder.write(QString::fromUtf16(name), "x");
        QDir().mkpath(folder.path(QStringLiteral("sub")));
        tree.resize(300, 600);
        tree.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    }

    void start(const QString& path = {})
    {
        tree.cOn(path.isEmpty() ? folder.path() : path, QStringLiteral("*.*"), QString::fromUtf16(kDocuments));
    }

    QListView* files() const { return tree.findChild<QListView*>(QStringLiteral("File1")); }

    QPoint centreOf(const QString& name) const
    {
        const QAbstractItemModel* model = files()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 0).data().toString() == name)
                return files()->visualRect(model->index(row, 0)).center();
        ADD_FAILURE() << "not listed: " << name.toStdString();
        return {};
    }

    void click(const QString& name, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(files()->viewport(), Qt::LeftButton, mods, centreOf(name));
    }

    // Through the window, as the windowing system delivers it: press,
    // release, press (seen as a double click), release.
    void doubleClick(const QString& name)
    {
        const QPoint at = files()->viewport()->mapTo(&tree, centreOf(name));
        QTest::mouseDClick(tree.windowHandle(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(tree.windowHandle(), Qt::LeftButton, {}, at);
    }

    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < files()->model()->rowCount(); ++row)
            names << files()->model()->index(row, 0).data().toString();
        return names;
    }

    QString path(const QString& name) const { return folder.path(name); }
    QString url(const QString& name) const { return QUrl::fromLocalFile(path(name)).toString(); }

    testsupport::TempFolder folder;
    testsupport::ScriptedDialogs dialogs;
    testsupport::RecordingDesktop desktop;
    browser::uTrE tree;
};

} // namespace browsertest
