#pragma once
// The settings text's groups, found by plain text search as the rest of the
// settings are: one element a group inside the root element, its opening tag
// and a line break, its values, an indent and its closing tag. Two copies of
// the program that share the settings file merge by group through these when
// each writes: what a copy changed is its, what it left alone is the file's.

#include <QString>
#include <QStringList>
#include <optional>

namespace env::settingsgroups {

// The names of the groups in `text` below its root element `root`, in their
// order, each once.
QStringList names(const QString& text, const QString& root);
// The inside of group `name` in `text`: from the line break after its first
// opening tag up to the first closing tag after it (the closing tag's indent
// included); nullopt when the group has no such pair.
std::optional<QString> inside(const QString& text, const QString& name);
// Puts `newInside` as the inside of group `name` in `text`: in place of its
// present inside when it has one, else `block` (the whole group) goes before
// the root's closing tag, or with the closing tag at the end without one.
void put(QString& text, const QString& name, const QString& newInside, const QString& block, const QString& root);
// The text to write over `disk`, which another copy may have written since
// this copy read `loaded`: `disk` with every group that `mine` holds
// otherwise than `loaded` taken from `mine`. Groups `mine` did not change
// keep the disk's text; groups only on disk stay.
QString merged(const QString& disk, const QString& loaded, const QString& mine, const QString& root);

} // namespace env::settingsgroups
