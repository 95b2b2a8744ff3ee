#pragma once
// FieldCommands: the editor's links, tags, tool tips and references — fields
// of the text engine whose kind is carried by a prefix of their data string —
// inserted, edited, deleted, copied from a neighbour, re-formatted and
// reported when clicked.
//
// Only program fields (a non-zero engine field kind) are touched; fields of
// kind 0 belong to the engine or to other features.

#include "dialogs/popupmenus.h"

#include <QString>
#include <functional>
#include <optional>

namespace dialogs {
class Frmt;
}

namespace engine {
class TextEngine;
struct FieldRun;
}

namespace editor {

// A field's data string split into its kind code ("TG", "TP", "DX", "LK")
// and its name: the text after the prefix, or the whole data of a link.
struct FieldName {
    QString kind;
    QString name;
};
FieldName splitFieldData(const QString& data);
// The name as shown and reported on a click: a tag's name after its first "_".
QString shownFieldName(const FieldName& field);

// A field reported as clicked.
struct FieldClick {
    QString kind;
    QString text;
    QString name;
};

class FieldCommands {
public:
    static constexpr int kProgramAttribute = 149;
    static constexpr int kLinkStyle = 6;
    static constexpr int kTagStyle = 7;
    static constexpr int kToolTipStyle = 8;
    static constexpr int kReferenceStyle = 9;
    // How far a neighbour may be from the caret, in characters.
    static constexpr int kNeighbourReach = 3;

    enum class Result { Skipped, Cancelled, Changed };

    struct Host {
        std::function<int()> documentType;
        // Opens the link page with the code ("LK" or "LK_OBJ") and the
        // proposed value; nullopt when cancelled.
        std::function<std::optional<QString>(const QString& code, const QString& value)> linkPage;
        std::function<void(QString* text, QString* number)> askTag;
    };

    FieldCommands(engine::TextEngine& engine, const dialogs::Frmt& formats, Host host);

    // Inserts a field in place of the selection, formatted by `styleCode`,
    // leaves the caret after it in the body format and returns its id.
    int insertField(int styleCode, const QString& text, const QString& data);
    // Removes the program field under the caret; see the .cpp for the blanks.
    bool deleteField(bool keepText);
    // start < 0: every program field; otherwise those overlapping the range.
    void reformat(int start, int length);
    // The kind code of the program field under the caret, "" outside one.
    QString kindAtCaret() const;
    // The nearest link or tag ending 1 to 3 characters before the selection,
    // and the nearest starting 1 to 3 characters after it.
    std::optional<dialogs::NeighbourField> preceding() const;
    std::optional<dialogs::NeighbourField> following() const;

    // Job 50: mode 0 new, 1 edit, 2 delete; `fieldId` > 0 names the field
    // edited or deleted, and for a new link the field it copies (the object
    // menu's copy of a neighbour). A selection that is an object gets an
    // object link, as `object` asks for, which never replaces the object.
    Result link(int mode, bool object, int fieldId = 0);
    // A link to `target` for the selected object, as job 50 makes one
    // without asking; a link the caret is in leads to `target` instead.
    Result linkObject(const QString& target);
    // Job 51: tags, only in documents of type −2; the same modes.
    Result tag(int mode, bool object, int fieldId = 0);
    // Jobs 52 and 53: references and tool tips over the selection, asked in
    // an input box; `remove` drops the field under the caret, keeping its text.
    Result reference(bool remove);
    Result toolTip(bool remove);
    // Job 56: a data field ("[FD]", named "@") at the caret, or the one under
    // the caret taken away; a link under the caret is never taken for one.
    Result dataField(bool insert);

    // What a click on field `id` reports; nullopt for nothing to report.
    std::optional<FieldClick> click(int id) const;

private:
    int programFieldAtCaret() const;
    bool selectionIsObject() const;
    int insertNew(int styleCode, bool object, const QString& text, const QString& data);
    Result copyField(int id, bool object);
    std::optional<dialogs::NeighbourField> neighbourOf(const engine::FieldRun& run) const;
    bool selectProgramField(int fieldId);
    void applyAppearance(int id, int colour);
    void resetTypingFormat();
    void removeBlanksAround(int position);
    Result prefixedField(const QString& prefix, int styleCode, const QString& prompt, bool remove);

    engine::TextEngine& m_engine;
    const dialogs::Frmt& m_formats;
    Host m_host;
};

} // namespace editor
