#pragma once
// The one rule for the forms' font. They were designed for a font 11 pixels
// high; the wider default sans-serif font of this platform needs 10 to keep
// every caption within its control's designed size. Text that the program
// sets at run time may still be longer: then the whole form takes a smaller
// font, down to the smallest readable one, never a single label.

#include <initializer_list>

class QLabel;
class QWidget;

inline constexpr int FormFontPixels = 10;
inline constexpr int SmallestFormFontPixels = 8;

// Gives the form, and so every control on it that sets no font of its own,
// the form font, made smaller until the text of each of `runTimeTexts` fits
// its label's width.
void ApplyFormFont(QWidget& form, std::initializer_list<const QLabel*> runTimeTexts = {});
