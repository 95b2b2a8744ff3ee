#pragma once
// What the editor's tests share: a fresh settings file and work folder per
// test, scripted dialogs, a recording input-method switch, and readable
// failure output for Qt strings.

#include "editor/inputmethodswitch.h"
#include "env/globals.h"
#include "env/yini.h"
#include "testsupport/printers.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <vector>


namespace editortest {

// Each test starts from an empty settings file and an empty work folder.
struct Environment {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs dialogs;

    Environment()
    {
        env::gxIni().GetTxt(dir.path(QStringLiteral("User.xml")));
        env::gsUsrPh = dir.path() + u'/';
        env::gsWrkPh = dir.path(QStringLiteral("Wrk")) + u'/';
        QDir().mkpath(env::gsWrkPh);
    }
    ~Environment()
    {
        env::gsUsrPh.clear();
        env::gsWrkPh.clear();
        env::gbActing = false;
    }

    // The value `key` of section `section` in the settings text.
    static QString setting(const QString& section, const QString& key)
    {
        env::gxIni().GetGtx(section);
        return env::gxIni().vGtVal(key, QString());
    }
    static void store(const QString& section, const QString& key, const QString& value)
    {
        env::gxIni().GetGtx(section);
        env::gxIni().SetVal(key, value);
        env::gxIni().SetGtx();
    }
};

// Remembers every switch of the input method, in order.
class RecordingIme : public editor::InputMethodSwitch {
public:
    explicit RecordingIme(std::shared_ptr<std::vector<bool>> calls) : m_calls(std::move(calls)) {}
    void setOpen(bool open) override { m_calls->push_back(open); }

private:
    std::shared_ptr<std::vector<bool>> m_calls;
};

} // namespace editortest
