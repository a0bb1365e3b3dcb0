#include "dialogs/FormFont.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace {

bool AllFit(const QFont& font, std::initializer_list<const QLabel*> labels)
{
    const QFontMetrics metrics(font);
    return std::all_of(labels.begin(), labels.end(), [&metrics](const QLabel* label) {
        return metrics.horizontalAdvance(label->text()) <= label->contentsRect().width();
    });
}

} // namespace

void ApplyFormFont(QWidget& form, std::initializer_list<const QLabel*> runTimeTexts)
{
    QFont font = form.font();
    font.setPixelSize(FormFontPixels);
    while (font.pixelSize() > SmallestFormFontPixels && !AllFit(font, runTimeTexts))
        font.setPixelSize(font.pixelSize() - 1);
    form.setFont(font);
}
