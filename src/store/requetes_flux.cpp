#include "requetes_flux.h"

#include "dates.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace RequetesFlux {

namespace {

QString texte(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

} // namespace

std::optional<QList<Flux>> flux(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    // A feed left behind by a unit deleted by hand is not read.
    if (!q.exec(QStringLiteral("SELECT FLUX.adresse, FLUX.objet, OBJETS.Nom, FLUX.derniereLecture, "
                               "FLUX.dernierResultat FROM FLUX JOIN OBJETS ON FLUX.objet = OBJETS.Numero "
                               "ORDER BY FLUX.objet, FLUX.adresse"))) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Flux> lignes;
    while (q.next())
        lignes.append({q.value(0).toString(), q.value(1).toInt(), texte(q.value(2)), Dates::depuisBase(q.value(3)),
                       texte(q.value(4))});
    return lignes;
}

std::optional<QMap<qint32, QStringList>> adressesParObjet(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT objet, adresse FROM FLUX ORDER BY objet, adresse"))) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QMap<qint32, QStringList> adresses;
    while (q.next())
        adresses[q.value(0).toInt()].append(q.value(1).toString());
    return adresses;
}

bool remplacerAdresses(const QSqlDatabase& base, qint32 objet, const QStringList& adresses, QString* erreur)
{
    return Requetes::EnTransaction(base, erreur, [&] {
        QSqlQuery q(base);
        q.prepare(QStringLiteral("SELECT FLUX.objet, OBJETS.Nom FROM FLUX LEFT JOIN OBJETS "
                                 "ON FLUX.objet = OBJETS.Numero WHERE FLUX.adresse = :a AND FLUX.objet <> :o"));
        for (const QString& adresse : adresses) {
            q.bindValue(QStringLiteral(":a"), adresse);
            q.bindValue(QStringLiteral(":o"), objet);
            if (!q.exec())
                return Requetes::Rapporter(q, erreur);
            if (q.next()) {
                if (erreur)
                    *erreur = QStringLiteral("L'adresse « %1 » est déjà celle du logement « %2 ».")
                                  .arg(adresse, texte(q.value(1)));
                return false;
            }
        }
        // The rows of addresses kept keep their last reading.
        q.prepare(QStringLiteral("SELECT adresse FROM FLUX WHERE objet = :o"));
        q.bindValue(QStringLiteral(":o"), objet);
        if (!q.exec())
            return Requetes::Rapporter(q, erreur);
        QStringList anciennes;
        while (q.next())
            anciennes.append(q.value(0).toString());
        for (const QString& ancienne : anciennes) {
            if (adresses.contains(ancienne))
                continue;
            q.prepare(QStringLiteral("DELETE FROM FLUX WHERE adresse = :a"));
            q.bindValue(QStringLiteral(":a"), ancienne);
            if (!q.exec())
                return Requetes::Rapporter(q, erreur);
        }
        for (const QString& adresse : adresses) {
            if (anciennes.contains(adresse))
                continue;
            q.prepare(QStringLiteral("INSERT INTO FLUX (adresse, objet) VALUES (:a, :o) ON CONFLICT DO NOTHING"));
            q.bindValue(QStringLiteral(":a"), adresse);
            q.bindValue(QStringLiteral(":o"), objet);
            if (!q.exec())
                return Requetes::Rapporter(q, erreur);
        }
        return true;
    });
}

bool noterLecture(const QSqlDatabase& base, const QString& adresse, const QDateTime& moment,
                  const QString& resultat, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("UPDATE FLUX SET derniereLecture = :m, dernierResultat = :r WHERE adresse = :a"));
    q.bindValue(QStringLiteral(":m"), Dates::versTexteBase(moment));
    q.bindValue(QStringLiteral(":r"), resultat);
    q.bindValue(QStringLiteral(":a"), adresse);
    return q.exec() || Requetes::Rapporter(q, erreur);
}

QString UidExterne(const QString& adresse, const QString& uid)
{
    // An address never holds a space (the settings split on them).
    return adresse + QLatin1Char(' ') + uid;
}

std::optional<QList<ReservationImportee>> reservationsDuFlux(const QSqlDatabase& base, const QString& adresse,
                                                           QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    // Compared by prefix, not LIKE: an address may hold '%' or '_'.
    q.prepare(QStringLiteral("SELECT NumeroReservation, UidExterne, DateDebut, DateFin FROM RESERVATIONS "
                             "WHERE substr(UidExterne, 1, :n) = :prefixe ORDER BY NumeroReservation"));
    const QString prefixe = UidExterne(adresse, QString());
    q.bindValue(QStringLiteral(":n"), prefixe.size());
    q.bindValue(QStringLiteral(":prefixe"), prefixe);
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<ReservationImportee> lignes;
    while (q.next())
        lignes.append({q.value(0).toInt(), q.value(1).toString().mid(prefixe.size()), Dates::depuisBase(q.value(2)),
                       Dates::depuisBase(q.value(3))});
    return lignes;
}

std::optional<QList<SejourObjet>> sejoursDeObjet(const QSqlDatabase& base, qint32 objet, const QDateTime& depuis,
                                                 QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT NumeroReservation, nomclient, DateDebut, DateFin, UidExterne FROM RESERVATIONS "
                             "WHERE objet = :o AND DateFin > :depuis AND Annulation IS NULL ORDER BY DateDebut, NumeroReservation"));
    q.bindValue(QStringLiteral(":o"), objet);
    q.bindValue(QStringLiteral(":depuis"), Dates::versTexteBase(depuis));
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<SejourObjet> lignes;
    while (q.next())
        lignes.append({q.value(0).toInt(), texte(q.value(1)), Dates::depuisBase(q.value(2)),
                       Dates::depuisBase(q.value(3)), texte(q.value(4))});
    return lignes;
}

std::optional<qint32> etatPortail(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT Code FROM ETATS WHERE Nom = :nom ORDER BY Code LIMIT 1"));
    q.bindValue(QStringLiteral(":nom"), QLatin1String(kEtatPortail));
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    if (q.next())
        return q.value(0).toInt();
    if (!q.exec(QStringLiteral("SELECT coalesce(max(Code), 0) + 1 FROM ETATS")) || !q.next()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    const qint32 code = q.value(0).toInt();
    q.prepare(QStringLiteral("INSERT INTO ETATS (Code, Nom, CouleurPrincipale, internet, surinternet) "
                             "VALUES (:c, :nom, :couleur, 0, 0)"));
    q.bindValue(QStringLiteral(":c"), code);
    q.bindValue(QStringLiteral(":nom"), QLatin1String(kEtatPortail));
    q.bindValue(QStringLiteral(":couleur"), kCouleurPortail);
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    return code;
}

std::optional<qint32> ajouterReservationImportee(const QSqlDatabase& base, const Requetes::Reservation& r,
                                                 const QString& uidExterne, QString* erreur)
{
    const auto numero = Requetes::ajouterReservation(base, r, erreur);
    if (!numero)
        return std::nullopt;
    QSqlQuery q(base);
    q.prepare(QStringLiteral("UPDATE RESERVATIONS SET UidExterne = :u WHERE NumeroReservation = :n"));
    q.bindValue(QStringLiteral(":u"), uidExterne);
    q.bindValue(QStringLiteral(":n"), *numero);
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    return numero;
}

bool deplacerReservation(const QSqlDatabase& base, qint32 numero, const QDateTime& debut, const QDateTime& fin,
                         QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("UPDATE RESERVATIONS SET DateDebut = :d, DateFin = :f WHERE NumeroReservation = :n"));
    q.bindValue(QStringLiteral(":d"), Dates::versTexteBase(debut));
    q.bindValue(QStringLiteral(":f"), Dates::versTexteBase(fin));
    q.bindValue(QStringLiteral(":n"), numero);
    return Requetes::ChangerUneLigne(q, QStringLiteral("Réservation %1 introuvable").arg(numero), erreur);
}

} // namespace RequetesFlux
