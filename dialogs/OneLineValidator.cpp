#include "dialogs/OneLineValidator.h"

QValidator::State TOneLineValidator::validate(QString& input, int&) const
{
    for (QChar& character : input)
        if (character == u'\n' || character == u'\r' || character == QChar::Null)
            character = u' ';
    return Acceptable;
}
