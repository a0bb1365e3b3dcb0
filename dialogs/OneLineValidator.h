#pragma once
// Keeps an edit box's text on one line: line breaks and NULs, which a
// settings file entry cannot hold, become blanks as they come in, typed,
// pasted or set.

#include <QString>
#include <QValidator>

class TOneLineValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
};

// Whether `text` holds a line break, which a settings file entry cannot hold.
bool HoldsLineBreak(const QString& text);
