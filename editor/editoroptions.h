#pragma once
// The editor's per-user options and where the settings keep them: display
// values under the host's group + "TX_DISP", bars under group + "TX_BAR",
// and the shared "TX_USR" values; with the string forms the IME and
// picture-layout pages exchange.


#include <QString>
#include <QVariant>
#include <optional>

namespace env {
class yIni;
}

namespace editor {

struct DisplayValues {
    int mode = 0;                  // the engine's view mode
    int zoom = 100;                // per cent
    bool controlCharacters = true; // "C_CH" is "表示"
};

class EditorOptions {
public:
    // Which sections a load reads.
    enum class Level {
        Everything = 0,  // at start: display, bars and user values, and the page settings
        Display = 1,     // a new document: display values and the page settings
        DisplayOnly = 2, // before a file is loaded: the display values alone
    };

    // `group` is the host's settings group, put before "TX_DISP" and "TX_BAR".
    DisplayValues load(env::yIni& ini, const QString& group, Level level);
    void store(env::yIni& ini, const QString& group, const DisplayValues& display) const;
    // Keeps the view mode and zoom alone in the group's display section, as
    // the display page does when the user confirms it.
    static void storeView(env::yIni& ini, const QString& group, int mode, int zoom);

    // The answer of the IME page: "IME" value, Tab, update rule.
    QString imeAnswer() const;
    // Takes a page answer; one that is empty or has no Tab changes nothing.
    void takeImeAnswer(const QString& answer);
    // The picture-layout page's form: text-flow digit followed by colour digit.
    QString pictureAnswer() const;
    // First character → text flow, last → picture colour; anything but two
    // digits changes nothing.
    void takePictureAnswer(const QString& answer);

    // The zoom the zoom command gives: "拡大" +20, "縮小" −20, a number
    // between 10 and 1000 (both excluded) as itself; nullopt for anything else.
    static std::optional<int> zoomFor(int current, const QVariant& argument);

    bool rulerShown = false;
    QString barLayout;
    QString ime = QStringLiteral("OFF");
    QString updateRule = QStringLiteral("確認");
    QString pictureFolder;
    int textFlow = 2;
    int pictureColour = 0;
    QString pasteKind = QStringLiteral("Rtex");

    bool imeOn() const { return ime == u"ON"; }
    bool pasteAsText() const { return pasteKind == u"Text"; }
    void setPasteAsText(bool on) { pasteKind = on ? QStringLiteral("Text") : QStringLiteral("Rtex"); }
};

} // namespace editor
