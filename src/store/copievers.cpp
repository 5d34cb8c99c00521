#include "copievers.h"

#include "contraintes.h"
#include "dialecte.h"
#include "numeros.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <optional>

namespace CopieVers {

namespace {

enum class Genre { Entier, Reel, Texte, Octets };

struct Colonne {
    const char* nom;
    Genre genre;
};

// One table: its columns as both schemas name them. `rowid` is copied for
// the tables numbered by it (the journal, the articles, the invoices, the
// feeds): the order of the rows and the numbers other rows may hold stay
// the same. `numero` is the numbered column whose next number follows the
// copy (empty: none).
struct Table {
    const char* nom;
    QList<Colonne> colonnes;
    const char* numero;
};

const QList<Table>& tables()
{
    using G = Genre;
    static const QList<Table> t = {
        {"ETATS", {{"Code", G::Entier}, {"Nom", G::Texte}, {"CouleurPrincipale", G::Entier}, {"internet", G::Entier},
                   {"surinternet", G::Entier}, {"Vendu", G::Entier}}, ""},
        {"OBJETS", {{"Numero", G::Entier}, {"Nom", G::Texte}, {"NomInternet", G::Texte},
                    {"FichierPlanningHTML", G::Texte}, {"Categorie", G::Texte}}, ""},
        {"RESERVATIONS", {{"NumeroReservation", G::Entier}, {"objet", G::Entier}, {"nomclient", G::Texte},
                          {"DateDebut", G::Texte}, {"DateFin", G::Texte}, {"arrhes", G::Reel}, {"datelimite", G::Texte},
                          {"Etat", G::Entier}, {"nbadultes", G::Entier}, {"nbenfants", G::Entier},
                          {"remarque", G::Texte}, {"telephone", G::Texte}, {"email", G::Texte},
                          {"UidExterne", G::Texte}, {"version", G::Entier}, {"Annulation", G::Texte}}, "NumeroReservation"},
        {"OPERATIONS", {{"rowid", G::Entier}, {"numeroreservation", G::Entier}, {"date", G::Texte}, {"prix", G::Reel},
                        {"paiement", G::Texte}, {"libelle", G::Texte}, {"tauxtva", G::Reel}}, "rowid"},
        {"CONSOMMATIONS", {{"rowid", G::Entier}, {"Famille", G::Texte}, {"Libelle", G::Texte}, {"prixTTC", G::Reel},
                           {"tauxTVA", G::Reel}}, "rowid"},
        {"TARIFS", {{"Numero", G::Entier}, {"Categorie", G::Texte}, {"PremierJour", G::Texte},
                    {"DernierJour", G::Texte}, {"PrixNuit", G::Reel}, {"PrixAdulte", G::Reel},
                    {"PrixEnfant", G::Reel}, {"TauxTVA", G::Reel}}, "Numero"},
        {"FACTURES", {{"rowid", G::Entier}, {"Numero", G::Texte}, {"Annee", G::Entier}, {"Sequence", G::Entier},
                      {"reservation", G::Entier}, {"date", G::Texte}, {"total", G::Reel}, {"pdf", G::Octets},
                      {"Serie", G::Texte}, {"Origine", G::Texte}},
         "rowid"},
        {"FLUX", {{"rowid", G::Entier}, {"adresse", G::Texte}, {"objet", G::Entier}, {"derniereLecture", G::Texte},
                  {"dernierResultat", G::Texte}}, "rowid"},
    };
    return t;
}

QString raison(const QSqlError& e)
{
    // A row of an older program that the target's rules refuse: named in
    // French, with the row's number given by the caller.
    if (const QString refus = Contraintes::texteRefus(e); !refus.isEmpty())
        return refus;
    const QString texte = e.databaseText().trimmed();
    return texte.isEmpty() ? e.text().trimmed() : texte;
}

// A value read from one engine as the other stores it: SQLite keeps
// whatever type was written, PostgreSQL wants the column's. An empty text
// in a number's column is no number (NULL); any other text that is not a
// number stays a text, and the target says why it refuses it.
QVariant convertir(const QVariant& v, Genre genre)
{
    if (v.isNull())
        return QVariant();
    const bool nombre = genre == Genre::Entier || genre == Genre::Reel;
    if (nombre && v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty())
        return QVariant();
    bool ok = false;
    switch (genre) {
    case Genre::Entier: {
        const qlonglong n = v.toLongLong(&ok);
        if (ok)
            return n;
        const double d = v.toDouble(&ok);
        return ok && d == qlonglong(d) ? QVariant(qlonglong(d)) : v;
    }
    case Genre::Reel: {
        const double d = v.toDouble(&ok);
        return ok ? QVariant(d) : v;
    }
    case Genre::Texte:
        return v.toString();
    case Genre::Octets:
        return v.toByteArray();
    }
    return v;
}

bool executer(const QSqlDatabase& base, const QStringList& instructions, QString* erreur)
{
    for (const QString& sql : instructions) {
        QSqlQuery q(base);
        if (!q.exec(sql)) {
            *erreur = raison(q.lastError());
            return false;
        }
    }
    return true;
}

// Rows the target already holds in the tables a copy must not mix with
// (the states apart: a new database has its default ones).
std::optional<qint64> lignesPresentes(const QSqlDatabase& cible, QString* erreur)
{
    QStringList comptes;
    for (const Table& t : tables())
        if (QLatin1String(t.nom) != QLatin1String("ETATS"))
            comptes << QStringLiteral("(SELECT count(*) FROM %1)").arg(QLatin1String(t.nom));
    QSqlQuery q(cible);
    if (!q.exec(QStringLiteral("SELECT ") + comptes.join(QStringLiteral(" + "))) || !q.next()) {
        *erreur = raison(q.lastError());
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

// Copies one table row by row; false with the reason (and whose side
// failed in *lecture).
bool copierTable(const QSqlDatabase& source, const QSqlDatabase& cible, const Table& t, qint64* lignes,
                 bool* lecture, QString* erreur)
{
    QStringList noms;
    QStringList marques;
    for (const Colonne& c : t.colonnes) {
        noms << QLatin1String(c.nom);
        marques << QStringLiteral("?");
    }
    const QString liste = noms.join(QStringLiteral(", "));
    // Read by the key (or the rowid): the journal and the articles keep their order.
    const QString cle = QLatin1String(t.colonnes.first().nom);
    QSqlQuery lire(source);
    lire.setForwardOnly(true);
    if (!lire.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(liste, QLatin1String(t.nom), cle))) {
        *lecture = true;
        *erreur = QStringLiteral("lecture de %1 impossible : %2").arg(QLatin1String(t.nom), raison(lire.lastError()));
        return false;
    }
    QSqlQuery ecrire(cible);
    if (!ecrire.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(QLatin1String(t.nom), liste, marques.join(QStringLiteral(", "))))) {
        *erreur = QStringLiteral("écriture de %1 impossible : %2").arg(QLatin1String(t.nom), raison(ecrire.lastError()));
        return false;
    }
    *lignes = 0;
    while (lire.next()) {
        for (int i = 0; i < t.colonnes.size(); ++i)
            ecrire.bindValue(i, convertir(lire.value(i), t.colonnes[i].genre));
        if (!ecrire.exec()) {
            *erreur = QStringLiteral("écriture de %1 impossible (ligne %2 = %3) : %4")
                          .arg(QLatin1String(t.nom), cle, lire.value(0).toString(), raison(ecrire.lastError()));
            return false;
        }
        ++*lignes;
    }
    if (lire.lastError().isValid()) {
        *lecture = true;
        *erreur = QStringLiteral("lecture de %1 interrompue : %2").arg(QLatin1String(t.nom), raison(lire.lastError()));
        return false;
    }
    return true;
}

} // namespace

QStringList Tables()
{
    QStringList noms;
    for (const Table& t : tables())
        noms << QLatin1String(t.nom);
    return noms;
}

Bilan Copier(const QSqlDatabase& source, const QSqlDatabase& cible)
{
    Bilan bilan;
    QSqlDatabase lue = source;
    QSqlDatabase ecrite = cible;
    // The source is read as one moment, the target written in one
    // transaction that holds the write lock from the start.
    if (!lue.transaction() || !executer(lue, Dialecte::lectureFigee(lue), &bilan.erreur)) {
        if (bilan.erreur.isEmpty())
            bilan.erreur = raison(lue.lastError());
        lue.rollback();
        bilan.issue = Bilan::EchecLecture;
        bilan.erreur = QStringLiteral("la base source ne peut pas être lue : ") + bilan.erreur;
        return bilan;
    }
    auto abandon = [&](Bilan::Issue issue, const QString& pourquoi) {
        executer(ecrite, {QStringLiteral("ROLLBACK")}, &bilan.erreur);
        lue.rollback();
        bilan.issue = issue;
        bilan.erreur = pourquoi;
        bilan.comptes.clear();
        return bilan;
    };
    if (!executer(ecrite, Dialecte::debutEcriture(ecrite) + Dialecte::copieSilencieuse(ecrite), &bilan.erreur))
        return abandon(Bilan::EchecEcriture, QStringLiteral("la base cible ne peut pas être écrite : ") + bilan.erreur);

    QString pourquoi;
    const auto presentes = lignesPresentes(ecrite, &pourquoi);
    if (!presentes)
        return abandon(Bilan::EchecEcriture, QStringLiteral("la base cible ne peut pas être lue : ") + pourquoi);
    if (*presentes > 0)
        return abandon(Bilan::CibleNonVide,
                       QStringLiteral("la base cible n'est pas vide (%1 lignes d'unités, de réservations, de journal, "
                                      "d'articles, de tarifs, de factures ou de flux) : rien n'est copié")
                           .arg(*presentes));
    // Every number the source ever gave stays given on the target, the
    // deleted stays' too (their journal rows and invoices keep them).
    const auto utilises = Numeros::plusGrandUtilise(lue, &pourquoi);
    if (!utilises)
        return abandon(Bilan::EchecLecture, QStringLiteral("lecture des numéros de réservation impossible : ") + pourquoi);
    // The default states of the new database give way to the source's.
    if (!executer(ecrite, {QStringLiteral("DELETE FROM ETATS")}, &pourquoi))
        return abandon(Bilan::EchecEcriture, QStringLiteral("les états de la base cible restent : ") + pourquoi);

    for (const Table& t : tables()) {
        Compte compte{QLatin1String(t.nom), 0};
        bool lecture = false;
        if (!copierTable(lue, ecrite, t, &compte.lignes, &lecture, &pourquoi))
            return abandon(lecture ? Bilan::EchecLecture : Bilan::EchecEcriture, pourquoi);
        const QString suite = *t.numero ? Dialecte::numeroterApres(ecrite, QLatin1String(t.nom), QLatin1String(t.numero))
                                        : QString();
        if (!suite.isEmpty() && !executer(ecrite, {suite}, &pourquoi))
            return abandon(Bilan::EchecEcriture,
                           QStringLiteral("numérotation de %1 impossible : %2").arg(QLatin1String(t.nom), pourquoi));
        bilan.comptes << compte;
    }
    if (!Numeros::suivantApres(ecrite, *utilises, &pourquoi))
        return abandon(Bilan::EchecEcriture, QStringLiteral("numérotation des réservations impossible : ") + pourquoi);
    if (!executer(ecrite, {QStringLiteral("COMMIT")}, &pourquoi))
        return abandon(Bilan::EchecEcriture, QStringLiteral("la copie n'a pas pu être validée : ") + pourquoi);
    lue.rollback();
    bilan.issue = Bilan::Copiee;
    bilan.erreur.clear();
    // The target's own counter may have been further still.
    bilan.dernierNumero = Numeros::plusGrandUtilise(ecrite).value_or(*utilises);
    return bilan;
}

} // namespace CopieVers
