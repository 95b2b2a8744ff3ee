#pragma once
// The reader's machinery behind readRtf (rtfreader.h): the state of each
// group, the tables of the document's header, and where text goes (an
// output: a cursor with its open paragraph, lists and tables, switched for
// headers, footers and text boxes).

#include "engine/objects.h"
#include "formats/rtf/rtfcontrolwords.h"
#include "formats/rtf/rtfreader.h"
#include "formats/rtf/rtftokenizer.h"

#include <QColor>
#include <QHash>
#include <QPointer>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextList>
#include <QTextListFormat>
#include <map>
#include <optional>
#include <vector>

class QTextFrame;
class QTextList;
class QTextTable;

namespace formats::rtf {

enum class Dest {
    Body, FontTable, ColorTable, StyleSheet, ListTable, ListOverrideTable, LevelText, Title,
    FieldInstruction, ProgramField, Bookmark, Picture, Footnote, Shape, OldList, Info, Skip,
};

struct ParagraphState {
    QTextBlockFormat block;
    int style = 0;
    std::optional<int> outlineLevel;
    int listOverride = 0;
    int listLevel = 0;
    std::optional<QTextListFormat::Style> oldList;
    bool inTable = false;
    int nestLevel = 0;
    QTextOption::TabType nextTab = QTextOption::LeftTab;

    int tableLevel() const { return nestLevel > 0 ? nestLevel : (inTable ? 1 : 0); }
};

struct GroupState {
    Dest dest = Dest::Body;
    std::optional<Act> opened; // the destination this group opened, finished when it closes
    bool fresh = true;         // no control word read in this group yet
    bool ignorable = false;    // \* before the first control word
    QTextCharFormat characters;
    int font = -1;
    int unicodeSkip = 1;
    ParagraphState paragraph;
    QTextCharFormat link; // the field whose result this group is
    Dest resumeDest = Dest::Body; // for \ud inside \upr
};

struct CellDefinition {
    int right = 0;
    bool mergeNext = false;
    bool verticalFirst = false;
    bool verticalNext = false;
    std::optional<QColor> shading;
};

struct TableBuilder {
    QTextTable* table = nullptr;
    int row = 0;
    int cell = 0; // of the row
    bool inCell = false;
    std::vector<int> grid; // the right edges of the columns, every row's edges together (twips)
    std::vector<std::vector<CellDefinition>> rows; // each ended row's definition
    int border = 0; // twips
};

// Where the text of the current destination goes.
struct Output {
    QTextCursor cursor;
    bool blockUnused = true;   // the cursor's block has no paragraph yet
    bool paragraphOpen = false;
    bool pendingPageBreak = false;
    QTextFrame* paragraphFrame = nullptr; // the last text box the open paragraph anchors
    std::vector<TableBuilder> tables;     // open tables, outermost first
    // By list override and level, or "pn". Qt deletes a list whose last
    // paragraph leaves it, so a list is held only as long as it lives.
    QHash<QString, QPointer<QTextList>> lists;
    std::optional<Act> act;               // the destination that switched to it
    QTextBlock anchor;                    // text boxes: the paragraph that anchors the box
};

struct ListDefinition {
    std::vector<QTextListFormat::Style> levels;
};

struct PictureData {
    QByteArray bytes;
    int pendingNibble = -1;
    Act kind = Act::OtherBlip;
    int widthGoal = 0, heightGoal = 0, scaleX = 100, scaleY = 100; // twips, percent
};

struct Field {
    QString instruction;
    QString program;
};

class Parser {
public:
    Parser(const engine::DocumentSet& target, ReadOutcome& outcome);

    void parse(QByteArrayView input);

private:
    GroupState& state() { return m_states.back(); }
    void fail(Failure failure);
    void openGroup();
    void closeGroup();
    void handleWord(const Token& token);
    void handleSymbol(char symbol);
    void handle(const ControlWord& word, const Token& token);
    bool handleDocumentWord(Act act, int value);
    bool handleCharacterWord(Act act, int value);
    bool handleParagraphWord(Act act, int value);
    bool handleTableWord(Act act, int value);
    bool handlePictureWord(Act act, int value);
    bool handlePageWord(Act act, int value);
    ParagraphState& oldListParagraph();
    void openDestination(Act act);
    void finishDestination(Act act, const GroupState& closed);

    // Text
    int codePage() const;
    QStringDecoder& decoderFor(int codePage);
    void addBytes(QByteArrayView bytes);
    void addUnicode(int value);
    void flushBytes();
    void flushText();
    void deliver(const QString& text);
    void insertBody(const QString& text);
    void addHexPicture(QByteArrayView bytes);

    // Paragraphs
    void ensureParagraph();
    void startParagraph();
    void finishParagraph();
    void endParagraph();
    void joinList(const ParagraphState& paragraph);
    int headingLevel(const ParagraphState& paragraph) const;

    // Tables (rtfparsertables.cpp)
    void enterTableLevel(int level);
    void startTable();
    void enterCell();
    void endCell(int level);
    void endRow(int level);
    void finishTable();
    void widenGrid(TableBuilder& builder, const std::vector<CellDefinition>& cells);
    void applyRows(TableBuilder& builder);
    int definitionLevel() const;

    // Destinations
    void switchOutput(QTextCursor cursor, Act act);
    void restoreOutput();
    void closeOutputContent();
    void insertPicture();
    engine::Objects& objectsOf(QTextDocument& document);
    void openTextBox();
    void startFieldResult();
    void storeStyle();
    QString levelSymbol() const;
    void appendNotes();
    void applyPageSetup();
    void insertPageNumber();

    const engine::DocumentSet& m_target;
    ReadOutcome& m_outcome;
    std::vector<GroupState> m_states;
    Output m_out;
    std::vector<Output> m_savedOutputs;

    int m_ansiCodePage = 1252;
    int m_defaultFont = -1;
    QHash<int, int> m_fontCodePages;
    QHash<int, QString> m_fontNames;
    int m_currentFont = -1;
    std::map<int, QStringDecoder> m_decoders;
    QList<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    QHash<int, int> m_styleLevels;
    int m_currentStyle = 0;
    std::optional<int> m_currentStyleOutline;
    QString m_currentStyleName;
    QHash<int, ListDefinition> m_lists; // by \listid
    ListDefinition m_currentList;
    int m_currentListId = 0;
    int m_currentLevelFormat = 0;
    QString m_currentLevelText;
    QHash<int, int> m_overrides; // \ls to \listid
    int m_overrideListId = 0;
    int m_overrideNumber = 0;
    QHash<int, std::vector<CellDefinition>> m_rowDefinitions; // by table level
    CellDefinition m_nextCell;
    int m_rowBorder = 0;
    std::optional<int> m_rowGap; // twips

    QByteArray m_bytes;
    int m_bytesCodePage = 1252;
    QString m_text;
    int m_skip = 0; // fallback characters of \uN still to skip

    PictureData m_picture;
    std::vector<Field> m_fields;
    QStringList m_pendingAnchors;
    int m_nextFieldId = 1;
    int m_pictures = 0;
    // One object view per document read into: ids count on instead of being
    // looked for through the whole document at each picture or frame.
    std::map<QTextDocument*, engine::Objects> m_objects;
    QStringList m_notes;
    int m_noteMarks = 0;
    int m_headerFooterFlags = 0;
    bool m_titlePage = false;
    bool m_pageSeen = false;
    engine::PageSetup m_page;
    double m_shapeWidth = 0;
    int m_shapeLeft = 0;
    bool m_shapeHadText = false;
    bool m_done = false;
};

} // namespace formats::rtf
