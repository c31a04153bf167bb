#include "TrimmedText.h"

namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 32;
}

} // namespace

QString trimmedText(QStringView text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && isBlankOrControl(text[first]))
        ++first;
    while (end > first && isBlankOrControl(text[end - 1]))
        --end;
    return text.sliced(first, end - first).toString();
}

QString oneLineText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}
