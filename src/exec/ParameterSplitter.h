#pragma once

#include <QString>
#include <QStringList>

// Splits a parameter text into program arguments by the word rules of the POSIX shell, with no
// expansion of any kind (no variables, globs, "~" or command substitution):
// - blanks (space, tab, line feed) separate arguments;
// - single quotes keep everything up to the next single quote as it stands;
// - double quotes group, and inside them a backslash escapes only $ ` " \ and line feed;
// - outside quotes a backslash keeps the next character as it stands;
// - a backslash before a line feed removes both, as a shell's line continuation does;
// - '' and "" make an empty argument; quoted and unquoted parts next to each other join.
// An unterminated single or double quote, or a backslash at the very end (a shell would read on
// for the rest of the text), raises RunlatchError quoting the parameter text.
[[nodiscard]] QStringList splitParameters(const QString& parameters);
