#include "requetes_parametres.h"

#include "requetes.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace RequetesParametres {

namespace {

QVariant champ(const QSqlQuery& q, const char* nom)
{
    const int i = q.record().indexOf(QLatin1String(nom));
    return i < 0 ? QVariant() : q.value(i);
}

QString introuvable(qint32 code)
{
    return QStringLiteral("État %1 introuvable").arg(code);
}

// One field of the state of that code.
std::optional<QVariant> champEtat(const QSqlDatabase& base, qint32 code, const char* nom, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT * FROM ETATS WHERE Code = :code"));
    q.bindValue(QStringLiteral(":code"), code);
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    if (!q.next()) {
        if (erreur)
            *erreur = introuvable(code);
        return std::nullopt;
    }
    return champ(q, nom);
}

} // namespace

std::optional<QList<LigneEtat>> etats(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT * FROM ETATS ORDER BY rowid"))) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<LigneEtat> lignes;
    while (q.next()) {
        LigneEtat e;
        e.code = champ(q, "Code").toInt();
        e.nom = champ(q, "Nom").toString();
        e.internet = champ(q, "internet");
        e.couleur = champ(q, "CouleurPrincipale");
        const QVariant vendu = champ(q, "Vendu");
        e.vendu = vendu.isNull() || vendu.toInt() != 0;
        lignes.append(e);
    }
    return lignes;
}

std::optional<QVariant> couleurEtat(const QSqlDatabase& base, qint32 code, QString* erreur)
{
    return champEtat(base, code, "CouleurPrincipale", erreur);
}

std::optional<QVariant> internetEtat(const QSqlDatabase& base, qint32 code, QString* erreur)
{
    return champEtat(base, code, "internet", erreur);
}

bool changerPublicationEtat(const QSqlDatabase& base, qint32 code, bool publie, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("UPDATE ETATS SET internet = :i, surinternet = :s WHERE Code = :code"));
    q.bindValue(QStringLiteral(":i"), publie ? 1 : 0);
    q.bindValue(QStringLiteral(":s"), publie ? 1 : 0);
    q.bindValue(QStringLiteral(":code"), code);
    return Requetes::ChangerUneLigne(q, introuvable(code), erreur);
}

} // namespace RequetesParametres
