#include "dialogs/OneLineValidator.h"

#include <algorithm>

namespace {
bool IsLineBreak(QChar character) { return character == u'\n' || character == u'\r'; }
} // namespace

QValidator::State TOneLineValidator::validate(QString& input, int&) const
{
    for (QChar& character : input)
        if (IsLineBreak(character) || character == QChar::Null)
            character = u' ';
    return Acceptable;
}

bool HoldsLineBreak(const QString& text) { return std::any_of(text.begin(), text.end(), IsLineBreak); }
