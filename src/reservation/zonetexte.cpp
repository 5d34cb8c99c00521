#include "zonetexte.h"

ZoneTexte::ZoneTexte(QWidget* parent)
    : QPlainTextEdit(parent)
{
    // Tab moves to the next box, as in the one-line boxes.
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}
