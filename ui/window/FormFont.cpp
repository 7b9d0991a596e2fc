#include "FormFont.h"

#include <QFontDatabase>

QFont FormFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    font.setStretch(QFont::SemiCondensed);
    return font;
}
