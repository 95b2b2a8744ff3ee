#pragma once
// A host form for the key bar in tests: a window with a few of the main
// window's menus, an edit box to hold the keyboard focus, and a record of
// every fnMenu call.

#include "fkeys/menuhost.h"
#include "fkeys/menuregistry.h"
#include "fkeys/ufky.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QVBoxLayout>
#include <utility>
#include <vector>

namespace fkeystest {

class FakeHost : public QMainWindow, public fkeys::MenuHost {
public:
    explicit FakeHost(QString name = QStringLiteral("fmDoc")) : m_name(std::move(name))
    {
        auto* centre = new QWidget(this);
        auto* column = new QVBoxLayout(centre);
        editor = new QLineEdit(centre);
        bar = new fkeys::uFky(centre);
        bar->setMinimumHeight(24);
        column->addWidget(editor, 1);
        column->addWidget(bar);
        setCentralWidget(centre);

        QMenu* file = addMenu(0, QStringLiteral("ﾌｧｲﾙ(&F)"));
        addItems(file, QStringLiteral("mnFile"),
                 {QStringLiteral("新規作成(&N)"), QStringLiteral("上書き保存(&S)"),
                  QStringLiteral("名を付けて保存(&A)"), QStringLiteral("-"),
                  QStringLiteral("ﾌﾞﾗｳｻﾞでﾌﾟﾚﾋﾞｭｰ(&B)")});
        QMenu* edit = addMenu(1, QStringLiteral("編集(&E)"));
        addItems(edit, QStringLiteral("mnEdit"),
                 {QStringLiteral("元に戻す(&U)"), QStringLiteral("やり直し(&R)")});
        QMenu* format = addMenu(2, QStringLiteral("書式(&S)"));
        addItems(format, QStringLiteral("mnSelc"),
                 {QStringLiteral("表題1 の書式"), QStringLiteral("表題2 の書式"),
                  QStringLiteral("表題3 の書式"), QStringLiteral("本文 の書式"),
                  QStringLiteral("本文強調の書式"), QStringLiteral("補足 の書式"),
                  QStringLiteral("-"), QStringLiteral("ﾌｫﾝﾄ(&W)")});
        fontItem = menuItems().find(QStringLiteral("mnSelc"), 7);
        fontItem->setShortcut(Qt::Key_F8);
        QObject::connect(fontItem, &QAction::triggered, [this] { ++fontChosen; });
        resize(900, 300);
    }

    QString formName() const override { return m_name; }
    const fkeys::MenuRegistry& menuItems() const override { return m_registry; }
    void fnMenu(int iMenu, int iNdx) override { calls.emplace_back(iMenu, iNdx); }

    QAction* item(const QString& array, int index) const { return m_registry.find(array, index); }

    fkeys::uFky* bar = nullptr;
    QLineEdit* editor = nullptr;
    QAction* fontItem = nullptr;
    int fontChosen = 0;
    std::vector<std::pair<int, int>> calls;

private:
    QMenu* addMenu(int index, const QString& caption)
    {
        QMenu* menu = menuBar()->addMenu(caption);
        m_registry.add(QStringLiteral("mnJb"), index, menu->menuAction());
        return menu;
    }

    void addItems(QMenu* menu, const QString& array, const QStringList& captions)
    {
        for (int i = 0; i < captions.size(); ++i) {
            QAction* a = captions[i] == u"-" ? menu->addSeparator() : menu->addAction(captions[i]);
            m_registry.add(array, i, a);
        }
    }

    QString m_name;
    fkeys::MenuRegistry m_registry;
};

} // namespace fkeystest
