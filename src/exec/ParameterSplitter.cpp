#include "ParameterSplitter.h"

#include "Errors.h"

#include <QCoreApplication>

#include <utility>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool escapableInDoubleQuotes(QChar c)
{
    return c == u'$' || c == u'`' || c == u'"' || c == u'\\' || c == u'\n';
}

// Whole sentences, so that a translation can put the parameters where its grammar wants them.
[[noreturn]] void raiseIncomplete(const char* message, const QString& parameters)
{
    throw RunlatchError(QCoreApplication::translate("ParameterSplitter", message).arg(parameters));
}

// Adds the text between the double quote at open and its partner to word; returns the
// partner's position.
qsizetype appendDoubleQuoted(const QString& parameters, qsizetype open, QString& word)
{
    for (qsizetype i = open + 1; i < parameters.size(); ++i) {
        const QChar c = parameters.at(i);
        if (c == u'"')
            return i;
        if (c == u'\\' && i + 1 < parameters.size() &&
            escapableInDoubleQuotes(parameters.at(i + 1))) {
            ++i;
            if (parameters.at(i) != u'\n')
                word += parameters.at(i);
        } else {
            word += c;
        }
    }
    raiseIncomplete(QT_TRANSLATE_NOOP("ParameterSplitter",
                                      "Unterminated double quote in the parameters \"%1\""),
                    parameters);
}

} // namespace

QStringList splitParameters(const QString& parameters)
{
    QStringList words;
    QString word;
    // Quotes make an argument even when they add no character, so the text alone cannot tell.
    bool inWord = false;
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        const QChar c = parameters.at(i);
        if (isBlank(c)) {
            if (inWord)
                words << std::exchange(word, QString());
            inWord = false;
        } else if (c == u'\\') {
            if (++i == parameters.size())
                raiseIncomplete(QT_TRANSLATE_NOOP("ParameterSplitter",
                                                  "Backslash at the end in the parameters \"%1\""),
                                parameters);
            if (parameters.at(i) != u'\n') {
                word += parameters.at(i);
                inWord = true;
            }
        } else if (c == u'\'') {
            const qsizetype close = parameters.indexOf(u'\'', i + 1);
            if (close < 0)
                raiseIncomplete(
                    QT_TRANSLATE_NOOP("ParameterSplitter",
                                      "Unterminated single quote in the parameters \"%1\""),
                    parameters);
            word += QStringView(parameters).sliced(i + 1, close - i - 1);
            i = close;
            inWord = true;
        } else if (c == u'"') {
            i = appendDoubleQuoted(parameters, i, word);
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}
