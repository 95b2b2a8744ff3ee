#include "bars/standardbuttons.h"

#include <array>

namespace bars {

std::span<const StandardButtonInfo> standardButtons()
{
    using B = StandardButton;
    static const std::array<StandardButtonInfo, 11> buttons{{
        {B::New, QStringLiteral("New"), 2, QStringLiteral("新規"), QStringLiteral("新しい文書"), QStringLiteral("document-new"), false},
        {B::Open, QStringLiteral("Open"), 1, QStringLiteral("開く"), QStringLiteral("文書を開く"), QStringLiteral("document-open"), false},
        {B::Save, QStringLiteral("Save"), 4, QStringLiteral("保存"), QStringLiteral("上書き保存"), QStringLiteral("document-save"), true},
        {B::Print, QStringLiteral("Print"), 6, QStringLiteral("印刷"), QStringLiteral("印刷"), QStringLiteral("document-print"), false},
        {B::Preview, QStringLiteral("Preview"), 7, QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"), QStringLiteral("ﾌﾞﾗｳｻﾞでﾌﾟﾚﾋﾞｭｰ"), QStringLiteral("document-print-preview"), true},
        {B::Cut, QStringLiteral("Cut"), 13, QStringLiteral("切取"), QStringLiteral("切り取り"), QStringLiteral("edit-cut"), false},
        {B::Copy, QStringLiteral("Copy"), 14, QStringLiteral("ｺﾋﾟｰ"), QStringLiteral("ｺﾋﾟｰ"), QStringLiteral("edit-copy"), false},
        {B::Paste, QStringLiteral("Paste"), 15, QStringLiteral("貼付"), QStringLiteral("貼り付け"), QStringLiteral("edit-paste"), true},
        {B::Undo, QStringLiteral("Undo"), 11, QStringLiteral("戻す"), QStringLiteral("元に戻す"), QStringLiteral("edit-undo"), false},
        {B::Redo, QStringLiteral("Redo"), 12, QStringLiteral("やり直し"), QStringLiteral("やり直し"), QStringLiteral("edit-redo"), true},
        {B::Find, QStringLiteral("Find"), 22, QStringLiteral("検索"), QStringLiteral("検索"), QStringLiteral("edit-find"), false},
    }};
    return buttons;
}

ButtonState standardButtonState(StandardButton button, const EditorFacts& facts)
{
    switch (button) {
    case StandardButton::Open:
        return {true, true};
    case StandardButton::Save:
        // Hosts without files of their own save through the database instead.
        return {facts.modified && facts.hasContent, facts.documentType >= 0};
    case StandardButton::Cut:
    case StandardButton::Copy:
        return {facts.canCopy, true};
    case StandardButton::Paste:
        return {facts.canPaste, true};
    case StandardButton::Undo:
        return {facts.canUndo, true};
    case StandardButton::Redo:
        return {facts.canRedo, true};
    case StandardButton::New:
    case StandardButton::Print:
    case StandardButton::Preview:
    case StandardButton::Find:
        return {facts.hasContent, true};
    }
    return {};
}

} // namespace bars
