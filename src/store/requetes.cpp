#include "requetes.h"

#include "contraintes.h"
#include "dates.h"
#include "dialecte.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Requetes {

namespace {

QVariant champ(const QSqlQuery& q, const char* nom)
{
    const int i = q.record().indexOf(QLatin1String(nom));
    return i < 0 ? QVariant() : q.value(i);
}

QVariant dateOuNull(const QDateTime& d)
{
    return d.isValid() ? QVariant(Dates::versTexteBase(d)) : QVariant(QMetaType(QMetaType::QString));
}

Reservation lireReservation(const QSqlQuery& q);

void lierReservation(QSqlQuery& q, const Reservation& r)
{
    q.bindValue(QStringLiteral(":objet"), r.objet);
    q.bindValue(QStringLiteral(":nomclient"), r.nomclient);
    q.bindValue(QStringLiteral(":debut"), dateOuNull(r.debut));
    q.bindValue(QStringLiteral(":fin"), dateOuNull(r.fin));
    q.bindValue(QStringLiteral(":arrhes"), r.arrhes);
    q.bindValue(QStringLiteral(":datelimite"), dateOuNull(r.datelimite));
    q.bindValue(QStringLiteral(":etat"), r.etat);
    q.bindValue(QStringLiteral(":nbadultes"), r.nbadultes);
    q.bindValue(QStringLiteral(":nbenfants"), r.nbenfants);
    q.bindValue(QStringLiteral(":remarque"), r.remarque);
    q.bindValue(QStringLiteral(":telephone"), r.telephone);
    q.bindValue(QStringLiteral(":email"), r.email);
}

std::optional<QList<Operation>> operations(const QSqlDatabase& base, qint32 numero, bool avecMontant,
                                           QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    q.prepare(avecMontant
        ? QStringLiteral("SELECT * FROM OPERATIONS WHERE numeroreservation = :n AND prix <> 0 ORDER BY date, rowid")
        : QStringLiteral("SELECT * FROM OPERATIONS WHERE numeroreservation = :n AND prix = 0 ORDER BY date, rowid"));
    q.bindValue(QStringLiteral(":n"), numero);
    if (!q.exec()) {
        Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Operation> lignes;
    while (q.next()) {
        Operation o;
        o.date = Dates::depuisBase(champ(q, "date"));
        o.prix = champ(q, "prix").toDouble();
        o.paiement = champ(q, "paiement").toString();
        o.libelle = champ(q, "libelle").toString();
        const QVariant taux = champ(q, "tauxtva");
        if (!taux.isNull() && taux.isValid())
            o.tauxTVA = taux.toDouble();
        lignes.append(o);
    }
    return lignes;
}

} // namespace

QString TexteErreur(const QSqlError& erreur)
{
    if (Dialecte::estOccupee(erreur.nativeErrorCode()))
        return QStringLiteral("La base est occupée par un autre poste, réessayez.");
    if (const QString refus = Contraintes::texteRefus(erreur); !refus.isEmpty())
        return refus;
    return erreur.text();
}

bool Rapporter(const QSqlQuery& requete, QString* erreur)
{
    if (erreur)
        *erreur = TexteErreur(requete.lastError());
    return false;
}

bool ChangerUneLigne(QSqlQuery& requete, const QString& absente, QString* erreur)
{
    if (!requete.exec())
        return Rapporter(requete, erreur);
    if (requete.numRowsAffected() != 1) {
        if (erreur)
            *erreur = absente;
        return false;
    }
    return true;
}

bool EnTransaction(const QSqlDatabase& base, QString* erreur, const std::function<bool()>& ecrire)
{
    QSqlDatabase db = base;
    if (!db.transaction()) {
        if (erreur)
            *erreur = TexteErreur(db.lastError());
        return false;
    }
    if (!ecrire()) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        if (erreur)
            *erreur = TexteErreur(db.lastError());
        db.rollback();
        return false;
    }
    return true;
}

bool EnTransactionEcriture(const QSqlDatabase& base, QString* erreur, const std::function<bool()>& ecrire)
{
    QSqlQuery q(base);
    for (const QString& debut : Dialecte::debutEcriture(base))
        if (!q.exec(debut)) {
            Rapporter(q, erreur);
            QSqlQuery(base).exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    if (!ecrire()) {
        QSqlQuery(base).exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        Rapporter(q, erreur);
        QSqlQuery(base).exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

namespace {
enum { CNumero, CObjet, CClient, CDebut, CFin, CArrhes, CLimite, CEtatR, CAdultes, CEnfants, CRemarque, CTelephone,
       CEmail, CCode, CNom, CCouleur, CVersion, CAnnulation, CNbColonnes };
const char* const kColonnesPlanning[CNbColonnes] = {"NumeroReservation", "objet", "nomclient", "DateDebut",
    "DateFin", "arrhes", "datelimite", "Etat", "nbadultes", "nbenfants", "remarque", "telephone", "email",
    "code", "nom", "couleur", "version", "Annulation"};
} // namespace

LecteurPlanning::LecteurPlanning(const QSqlQuery& requete)
    : m_requete(requete)
{
    const QSqlRecord rec = requete.record();
    m_colonnes.resize(CNbColonnes);
    for (int i = 0; i < CNbColonnes; ++i)
        m_colonnes[i] = rec.indexOf(QLatin1String(kColonnesPlanning[i]));
}

ReservationPlanning LecteurPlanning::ligne() const
{
    auto valeur = [&](int i) { return m_colonnes[i] < 0 ? QVariant() : m_requete.value(m_colonnes[i]); };
    ReservationPlanning l;
    Reservation& r = l.reservation;
    r.numero = valeur(CNumero).toInt();
    r.objet = valeur(CObjet).toInt();
    r.nomclient = valeur(CClient).toString();
    r.debut = Dates::depuisBase(valeur(CDebut));
    r.fin = Dates::depuisBase(valeur(CFin));
    r.arrhes = valeur(CArrhes).toDouble();
    r.datelimite = Dates::depuisBase(valeur(CLimite));
    r.etat = valeur(CEtatR).toInt();
    r.nbadultes = valeur(CAdultes).toInt();
    r.nbenfants = valeur(CEnfants).toInt();
    r.remarque = valeur(CRemarque).toString();
    r.telephone = valeur(CTelephone).toString();
    r.email = valeur(CEmail).toString();
    r.version = valeur(CVersion).toInt();
    r.annulation = Dates::depuisBase(valeur(CAnnulation));
    const QVariant code = valeur(CCode);
    l.etatTrouve = !code.isNull();
    l.code = code.toInt();
    l.nom = valeur(CNom).toString();
    l.couleur = qint32(valeur(CCouleur).toLongLong());
    return l;
}

namespace {
Reservation lireReservation(const QSqlQuery& q)
{
    return LecteurPlanning(q).ligne().reservation;
}

// Every row of a statement without parameters, each read by `lire`.
template <typename T, typename Lire>
std::optional<QList<T>> lireTout(const QSqlDatabase& base, const QString& sql, QString* erreur, Lire lire)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<T> lignes;
    while (q.next())
        lignes.append(lire(q));
    return lignes;
}
} // namespace

std::optional<QList<Etat>> etats(const QSqlDatabase& base, QString* erreur)
{
    return lireTout<Etat>(base, QStringLiteral("SELECT * FROM ETATS ORDER BY rowid"), erreur, [](const QSqlQuery& q) {
        Etat e;
        e.code = champ(q, "Code").toInt();
        e.nom = champ(q, "Nom").toString();
        e.couleur = qint32(champ(q, "CouleurPrincipale").toLongLong());
        e.internet = champ(q, "internet");
        e.surinternet = champ(q, "surinternet").toInt() != 0;
        return e;
    });
}

std::optional<QList<Objet>> objets(const QSqlDatabase& base, QString* erreur)
{
    return lireTout<Objet>(base, QStringLiteral("SELECT * FROM OBJETS ORDER BY rowid"), erreur, [](const QSqlQuery& q) {
        Objet o;
        o.numero = champ(q, "Numero").toInt();
        o.nom = champ(q, "Nom");
        o.nomInternet = champ(q, "NomInternet");
        o.fichierPlanningHTML = champ(q, "FichierPlanningHTML");
        o.categorie = champ(q, "Categorie").toString().trimmed();
        return o;
    });
}

namespace {
const char* const kSelectAvecEtat =
    "SELECT RESERVATIONS.*, ETATS.Code AS code, ETATS.Nom AS nom, ETATS.CouleurPrincipale AS couleur "
    "FROM RESERVATIONS LEFT JOIN ETATS ON RESERVATIONS.Etat = ETATS.Code ";
} // namespace

QString SelectPeriode(const QSqlDatabase& base, const QString& filtre1, const QString& filtre2, const QString& ordre)
{
    // Two index ranges instead of the whole history: the stays that start
    // inside the period (whatever their end, even empty or earlier than the
    // start), and those that started before it and end inside or after it
    // (found by their end; the unary + keeps the planner on that index).
    // A stay that starts before the bound with an empty or earlier end lies
    // wholly before it and is left out.
    const QString select = QLatin1String(kSelectAvecEtat);
    const QString plus = Dialecte::sansIndex(base);
    return QStringLiteral("SELECT * FROM (") + select + QStringLiteral("WHERE ") + filtre1
        + QStringLiteral(" AND RESERVATIONS.DateDebut >= :apres1 AND RESERVATIONS.DateDebut < :avant1 UNION ALL ")
        + select + QStringLiteral("WHERE ") + filtre2
        + QStringLiteral(" AND RESERVATIONS.DateFin >= :apres2 AND %1RESERVATIONS.DateDebut < :apres3 "
                         "AND %1RESERVATIONS.DateDebut < :avant2) AS periode ORDER BY ").arg(plus)
        + ordre;
}

void LierPeriode(QSqlQuery& requete, const QDate& avant, const QDateTime& finApres)
{
    const QString apres = Dates::versTexteBase(finApres);
    const QString borne = Dates::versTexteBase(avant);
    requete.bindValue(QStringLiteral(":apres1"), apres);
    requete.bindValue(QStringLiteral(":avant1"), borne);
    requete.bindValue(QStringLiteral(":apres2"), apres);
    requete.bindValue(QStringLiteral(":apres3"), apres);
    requete.bindValue(QStringLiteral(":avant2"), borne);
}

std::optional<QList<ReservationPlanning>> reservationsDeObjet(const QSqlDatabase& base, qint32 objet,
    const QDate& avant, const QDateTime& finApres, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (finApres.isValid()) {
        q.prepare(SelectPeriode(base, QStringLiteral("RESERVATIONS.objet = :objet1"),
                                QStringLiteral("RESERVATIONS.objet = :objet2"),
                                QStringLiteral("DateDebut, NumeroReservation")));
        LierPeriode(q, avant, finApres);
        q.bindValue(QStringLiteral(":objet1"), objet);
        q.bindValue(QStringLiteral(":objet2"), objet);
    } else {
        q.prepare(QLatin1String(kSelectAvecEtat)
            + QStringLiteral("WHERE RESERVATIONS.objet = :objet AND RESERVATIONS.DateDebut < :avant "
                             "ORDER BY RESERVATIONS.DateDebut, RESERVATIONS.NumeroReservation"));
        q.bindValue(QStringLiteral(":objet"), objet);
        q.bindValue(QStringLiteral(":avant"), Dates::versTexteBase(avant));
    }
    if (!q.exec()) {
        Rapporter(q, erreur);
        return std::nullopt;
    }
    const LecteurPlanning lecteur(q);
    QList<ReservationPlanning> lignes;
    while (q.next())
        lignes.append(lecteur.ligne());
    return lignes;
}

std::optional<QVariantMap> reservationNominative(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT * FROM RESERVATION_NOMINATIVE WHERE NumeroReservation = :n"));
    q.bindValue(QStringLiteral(":n"), numero);
    if (!q.exec()) {
        Rapporter(q, erreur);
        return std::nullopt;
    }
    QVariantMap ligne;
    if (q.next()) {
        const QSqlRecord rec = q.record();
        for (int i = 0; i < rec.count(); ++i)
            ligne.insert(Dialecte::nomCanonique(rec.fieldName(i)), q.value(i));
    }
    return ligne;
}

std::optional<qint32> ajouterReservation(const QSqlDatabase& base, const Reservation& r, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral(
        "INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, arrhes, datelimite, Etat, "
        "nbadultes, nbenfants, remarque, telephone, email) VALUES (:objet, :nomclient, :debut, :fin, "
        ":arrhes, :datelimite, :etat, :nbadultes, :nbenfants, :remarque, :telephone, :email)")
        + Dialecte::retourNumero(base, QStringLiteral("NumeroReservation")));
    lierReservation(q, r);
    if (!q.exec()) {
        Rapporter(q, erreur);
        return std::nullopt;
    }
    const auto numero = Dialecte::numeroInsere(q);
    if (!numero) {
        if (erreur)
            *erreur = QStringLiteral("la base n'a pas donné de numéro à la réservation");
        return std::nullopt;
    }
    return qint32(*numero);
}

bool modifierReservation(const QSqlDatabase& base, const Reservation& r, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral(
        "UPDATE RESERVATIONS SET objet = :objet, nomclient = :nomclient, DateDebut = :debut, DateFin = :fin, "
        "arrhes = :arrhes, datelimite = :datelimite, Etat = :etat, nbadultes = :nbadultes, "
        "nbenfants = :nbenfants, remarque = :remarque, telephone = :telephone, email = :email "
        "WHERE NumeroReservation = :numero"));
    lierReservation(q, r);
    q.bindValue(QStringLiteral(":numero"), r.numero);
    return ChangerUneLigne(q, QStringLiteral("Réservation %1 introuvable").arg(r.numero), erreur);
}

std::optional<Reservation> reservation(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT * FROM RESERVATIONS WHERE NumeroReservation = :n"));
    q.bindValue(QStringLiteral(":n"), numero);
    if (!q.exec()) {
        Rapporter(q, erreur);
        return std::nullopt;
    }
    if (!q.next()) {
        if (erreur)
            *erreur = QStringLiteral("Réservation %1 introuvable").arg(numero);
        return std::nullopt;
    }
    return lireReservation(q);
}

bool supprimerReservation(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("DELETE FROM RESERVATIONS WHERE NumeroReservation = :n"));
    q.bindValue(QStringLiteral(":n"), numero);
    if (!q.exec())
        return Rapporter(q, erreur);
    return true;
}

bool ajouterOperation(const QSqlDatabase& base, qint32 numero, const QDateTime& date, double prix,
                      const QString& paiement, const QString& libelle, QString* erreur,
                      std::optional<double> tauxTVA)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle, tauxtva) "
                             "VALUES (:n, :d, :p, :pa, :l, :t)"));
    q.bindValue(QStringLiteral(":t"), tauxTVA ? QVariant(*tauxTVA) : QVariant(QMetaType(QMetaType::Double)));
    q.bindValue(QStringLiteral(":n"), numero);
    q.bindValue(QStringLiteral(":d"), Dates::versTexteBase(date));
    q.bindValue(QStringLiteral(":p"), prix);
    q.bindValue(QStringLiteral(":pa"), paiement);
    q.bindValue(QStringLiteral(":l"), libelle);
    if (!q.exec())
        return Rapporter(q, erreur);
    return true;
}

std::optional<QList<Operation>> operationsMontant(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    return operations(base, numero, true, erreur);
}

std::optional<QList<Operation>> operationsHistorique(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    return operations(base, numero, false, erreur);
}

std::optional<QList<Article>> consommations(const QSqlDatabase& base, QString* erreur)
{
    return lireTout<Article>(base, QStringLiteral("SELECT * FROM CONSOMMATIONS ORDER BY Famille, rowid"), erreur,
                             [](const QSqlQuery& q) {
                                 Article a;
                                 a.famille = champ(q, "Famille").toString();
                                 a.libelle = champ(q, "Libelle").toString();
                                 a.prixTTC = champ(q, "prixTTC").toDouble();
                                 const QVariant taux = champ(q, "tauxTVA");
                                 a.tauxTVA = taux.isNull() ? 10.0 : taux.toDouble();
                                 return a;
                             });
}

std::optional<QList<Reservation>> reservationsPubliees(const QSqlDatabase& base, qint32 objet,
    const QDate& avant, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT RESERVATIONS.*, ETATS.surinternet FROM RESERVATIONS LEFT JOIN ETATS "
        "ON RESERVATIONS.Etat = ETATS.Code WHERE ETATS.surinternet <> 0 AND RESERVATIONS.objet = :objet "
        "AND RESERVATIONS.Annulation IS NULL "
        "AND RESERVATIONS.DateDebut < :avant ORDER BY RESERVATIONS.DateDebut, RESERVATIONS.NumeroReservation"));
    q.bindValue(QStringLiteral(":objet"), objet);
    q.bindValue(QStringLiteral(":avant"), Dates::versTexteBase(avant));
    if (!q.exec()) {
        Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Reservation> lignes;
    while (q.next())
        lignes.append(lireReservation(q));
    return lignes;
}

bool changerCouleurEtat(const QSqlDatabase& base, qint32 code, qint32 couleur, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("UPDATE ETATS SET CouleurPrincipale = :c WHERE Code = :code"));
    q.bindValue(QStringLiteral(":c"), couleur);
    q.bindValue(QStringLiteral(":code"), code);
    return ChangerUneLigne(q, QStringLiteral("État %1 introuvable").arg(code), erreur);
}

std::optional<qint32> maxNumeroReservation(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT Max(RESERVATIONS.NumeroReservation) AS A FROM RESERVATIONS")) || !q.next()) {
        Rapporter(q, erreur);
        return std::nullopt;
    }
    return qint32(q.value(0).toLongLong());
}

} // namespace Requetes
