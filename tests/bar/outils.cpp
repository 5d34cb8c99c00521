#include "outils.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSqlQuery>
#include <gtest/gtest.h>

RepondeurMessages::RepondeurMessages()
{
    m_minuterie.setInterval(0);
    QObject::connect(&m_minuterie, &QTimer::timeout, [this] {
        auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!boite || !boite->isVisible())
            return;
        textes.append(boite->text());
        if (QAbstractButton* ok = boite->button(QMessageBox::Ok)) {
            ok->click();
            return;
        }
        if (!reponses.isEmpty()) {
            const QString voulu = reponses.takeFirst();
            for (QAbstractButton* b : boite->buttons())
                if (b->text() == voulu) {
                    b->click();
                    return;
                }
            ++sansOK;
            boite->reject();
        } else {
            ++sansOK;
            boite->reject();
        }
    });
    m_minuterie.start();
}

QList<LigneJournal> lireJournal(const QSqlDatabase& base)
{
    QList<LigneJournal> lignes;
    QSqlQuery q(base);
    EXPECT_TRUE(q.exec(QStringLiteral("SELECT numeroreservation, prix, paiement, libelle FROM OPERATIONS ORDER BY rowid")));
    while (q.next())
        lignes.append({q.value(0).toInt(), q.value(1).toDouble(), q.value(2).toString(), q.value(3).toString()});
    return lignes;
}

void remplirArticles(const QSqlDatabase& base, const QList<ArticleTest>& articles)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC) VALUES (?, ?, ?)"));
    for (const ArticleTest& a : articles) {
        q.bindValue(0, a.famille);
        q.bindValue(1, a.libelle);
        q.bindValue(2, a.prix);
        EXPECT_TRUE(q.exec());
    }
}
