#include "testutil.h"

#include "store/base.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace TestUtil {

QStringList messagesPendant(const std::function<void()>& action)
{
    QStringList lus;
    QTimer guetteur;
    QObject::connect(&guetteur, &QTimer::timeout, [&lus] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* boite = qobject_cast<QMessageBox*>(w);
            if (!boite || !boite->isVisible())
                continue;
            EXPECT_EQ(boite->standardButtons(), QMessageBox::Ok);
            lus << boite->text();
            if (QAbstractButton* ok = boite->button(QMessageBox::Ok))
                ok->click();
            else
                boite->reject();
        }
    });
    guetteur.start(5);
    action();
    guetteur.stop();
    return lus;
}

QByteArray lireFichier(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void ecrireFichier(const QString& chemin, const QByteArray& contenu)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << chemin.toStdString();
    f.write(contenu);
}

BaseTemporaire::BaseTemporaire(const QString& connexion)
    : m_chemin(m_dossier.filePath(QStringLiteral("test.db"))), m_connexion(connexion)
{
    QString erreur;
    auto base = Base::ouvrir(m_chemin, Base::Ouverture::CreerSiAbsente, connexion, &erreur);
    EXPECT_TRUE(base.has_value()) << erreur.toStdString();
}

BaseTemporaire::~BaseTemporaire()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connexion, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connexion);
}

QSqlDatabase BaseTemporaire::base() const
{
    return QSqlDatabase::database(m_connexion, false);
}

void BaseTemporaire::executer(const QString& sql) const
{
    QSqlQuery q(base());
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString() << " : " << q.lastError().text().toStdString();
}

QVariant BaseTemporaire::valeur(const QString& sql) const
{
    QSqlQuery q(base());
    if (!q.exec(sql) || !q.next())
        return {};
    return q.value(0);
}

} // namespace TestUtil
