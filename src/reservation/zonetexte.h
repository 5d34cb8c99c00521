#pragma once
// A text box of several lines that reads and writes like a one-line box
// (text/setText), always as plain text: a client name such as "<b>" or
// "A & B" is shown as typed.
#include <QPlainTextEdit>

class ZoneTexte : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit ZoneTexte(QWidget* parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString& texte) { setPlainText(texte); }
    void clear() { QPlainTextEdit::clear(); }
};
