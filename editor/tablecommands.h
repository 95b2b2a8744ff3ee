#pragma once
// TableCommands: the editor's table commands — inserting, splitting,
// deleting and selecting parts of the caret's table, the look of a part
// through the table attribute dialog, and the cell texts the host fills.
// Each command names its part with the menu's word ("表", "行", "列", "ｾﾙ",
// "上", "下", "左", "右"); any other word does nothing.

#include "engine/tables.h"

#include <QString>
#include <functional>
#include <optional>

namespace engine {
class TextEngine;
}

namespace editor {

class TableCommands {
public:
    enum class Result {
        Skipped,   // the word or the caret's place did not allow the command
        Unchanged, // done without changing the document (or cancelled)
        Changed,
    };

    struct Host {
        // The settings dialog's table page; true when it inserted a table.
        std::function<bool()> openTablePage;
        // The attribute dialog for `part`; nullopt when cancelled.
        std::function<std::optional<engine::TableLook>(const engine::TableLook&, engine::TablePart)> askLook;
    };

    TableCommands(engine::TextEngine& engine, Host host);

    Result insert(const QString& part);     // 80
    Result split(const QString& part);      // 81
    Result remove(const QString& part);     // 82
    Result select(const QString& part);     // 83
    Result attributes(const QString& part); // 85

    // TvCelVL: the text of a cell of table `table` (numbered in document
    // order), without its line ends; setting it replaces the cell's text.
    QString cellValue(int table, int row, int column) const;
    bool setCellValue(int table, int row, int column, const QString& text);

private:
    bool selectPart(engine::TablePart part);
    static std::optional<engine::TablePart> partNamed(const QString& word);

    engine::TextEngine& m_engine;
    Host m_host;
};

} // namespace editor
