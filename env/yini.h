#pragma once
// The user environment: where the user data folder is, the settings file held
// in memory, and the hand-over of files, folders and shortcuts to the desktop.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cmath>
#include <limits>
#include <optional>
#include <concepts>
#include <type_traits>

namespace env {

class yIni {
public:
    yIni();

    // --- user data folder ------------------------------------------------
    // Resolves the user data folder from "UserData.ini" beside the executable,
    // registers the executable path for companion programs, sets gsUsrPh and
    // creates the folder when needed.
    void W_UserData();
    // Path of a special folder by its historical number (26 application data,
    // 5 documents, 9 "send to", 6 favourites), without a trailing "/"; "" if unknown.
    QString FsGtSpFld(int nFlg) const;
    // Creates each missing sub-folder `sPh` + name (one level).
    static void F_ChkSb(const QString& sPh, const QStringList& names);
    // Creates every missing level of `sFd`.
    static void F_CreateFld(const QString& sFd);

    // --- settings file ---------------------------------------------------
    // Loads the settings text; false when the file could not be read or created
    // (an unreadable file is then never overwritten by SetTxt). A UTF-8 file
    // (with or without byte order mark) is read, and written back, as UTF-8;
    // any other as the system code page. A file that holds no settings text
    // (binary, or without the root element) is first copied to keptCopy() and
    // the settings start afresh.
    bool GetTxt(const QString& sFL);
    // Where GetTxt kept an unusable settings file; "" when it kept none.
    const QString& keptCopy() const { return m_keptCopy; }
    void GetGtx(const QString& sGp);
    QString vGtVal(const QString& sKy, const QString& vDef) const;
    QString vGtVal(const QString& sKy, const char* vDef) const { return vGtVal(sKy, QString::fromUtf8(vDef)); }
    bool vGtVal(const QString& sKy, bool vDef) const;
    QDateTime vGtVal(const QString& sKy, const QDateTime& vDef) const;
    double vGtVal(const QString& sKy, double vDef) const;
    // Integers and other arithmetic defaults read as numbers too; the value is
    // converted back to the default's type (rounded for integers). A number
    // the type cannot hold (a damaged or hand-edited file) gives the default.
    template <typename T>
        requires(std::is_arithmetic_v<T> && !std::same_as<T, bool> && !std::same_as<T, double>)
    T vGtVal(const QString& sKy, T vDef) const
    {
        const double v = vGtVal(sKy, static_cast<double>(vDef));
        if constexpr (std::is_integral_v<T>) {
            const double rounded = std::nearbyint(v);   // halves to the even neighbour
            const bool fits = rounded >= static_cast<double>(std::numeric_limits<T>::lowest())
                && rounded < static_cast<double>(std::numeric_limits<T>::max()) + 1.0;
            return fits ? static_cast<T>(rounded) : vDef;
        } else {
            const bool fits = std::isfinite(v) && std::abs(v) <= static_cast<double>(std::numeric_limits<T>::max());
            return fits ? static_cast<T>(v) : vDef;
        }
    }
    void SetVal(const QString& sKy, const QString& vVL);
    void SetVal(const QString& sKy, const char* vVL) { SetVal(sKy, QString::fromUtf8(vVL)); }
    void SetVal(const QString& sKy, bool vVL);
    void SetVal(const QString& sKy, double vVL);
    void SetVal(const QString& sKy, int vVL);
    void SetVal(const QString& sKy, const QDateTime& vVL);
    void SetGtx();
    // Writes the settings text, atomically. The file is read again first:
    // another copy of the program may have written it since GetTxt, and its
    // groups that this copy did not change are kept as it wrote them. False
    // when the file was not written (also when it can no longer be read).
    bool SetTxt();

    // The whole settings text and the selected group, for inspection.
    const QString& settingsText() const { return m_text; }
    const QString& settingsFile() const { return m_file; }
    const QString& groupText() const { return m_groupText; }

    // --- desktop hand-over -----------------------------------------------
    // bOpn: open with the associated program; otherwise show a folder in the
    // file manager. A hand-over that fails is told to the user; false then.
    bool W_ExpFd(const QString& sFld, bool bOpn = false) const;
    void W_SendTo() const;
    void W_HtmView(const QString& sUrl) const;
    void W_Help(const QString& sJob);

    // The folder the executable lives in; tests point it elsewhere.
    void setProgramFolder(const QString& folder);
    QString programFolder() const;
    // The program's executable as registered for companion programs.
    QString exePath() const;

    enum class TagMode { Document = 0, Group = 1, Value = 2 };
    static QString MakeTag(TagMode mode, const QString& name, const QString& text = {});
    QString GetTag(TagMode mode, const QString& name) const;

private:
    void registerProgramPath() const;
    QString appDataDefault() const;
    QString documentsDefault() const;
    QString chooseUserFolder(const QString& setting, const QString& appData) const;
    QString helpBaseAddress();
    enum class Encoding { SystemCodePage, Utf8, Utf8WithBom };
    struct FileText {
        QString text;
        Encoding encoding;
    };
    static std::optional<FileText> settingsTextOf(const QByteArray& bytes);
    bool takeFileText(const QByteArray& bytes);
    std::optional<QString> textOnDisk() const;
    bool keepUnusableFile();
    QByteArray encodedText() const;

    QString m_programFolder;
    QString m_file;
    QString m_text;
    QString m_loadedText;   // the text as GetTxt read it, to tell the groups changed since
    QString m_groupName;
    QString m_groupText;
    bool m_loadRefused = false;   // the file exists but could not be read or kept
    Encoding m_encoding = Encoding::SystemCodePage;
    QString m_keptCopy;
};

} // namespace env
