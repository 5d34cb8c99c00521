#pragma once
// Helpers of the bar's window tests: answering message boxes, reading the
// journal, filling the articles.
#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& texte, std::ostream* os)
{
    *os << '"' << texte.toStdString() << '"';
}
inline void PrintTo(const QStringList& textes, std::ostream* os)
{
    *os << '[' << textes.join(QStringLiteral(" | ")).toStdString() << ']';
}

// Answers the message boxes shown while it lives: each must have an OK
// button, which is clicked; their texts are collected.
class RepondeurMessages
{
public:
    RepondeurMessages();
    QStringList textes;
    int sansOK = 0;   // boxes that came without an OK button (and no answer below)
    QStringList reponses;   // buttons to click, in turn, on boxes without OK ("Oui", "Non")

private:
    QTimer m_minuterie;
};

struct LigneJournal {
    qint32 numero = 0;
    double prix = 0;
    QString paiement;
    QString libelle;
};
QList<LigneJournal> lireJournal(const QSqlDatabase& base);

struct ArticleTest {
    QString famille;
    QString libelle;
    QVariant prix;
};
void remplirArticles(const QSqlDatabase& base, const QList<ArticleTest>& articles);
