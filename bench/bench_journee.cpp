// Time of the search box's query, of the "Journée" lists and of its
// deposits to receive against the size of the reservation history (100
// units x 20 years: about 80 000 stays, each asking a deposit of 50, part of
// them paid). Prints figures beside their goal, asserts nothing. The parts
// of a telephone are timed with the trigram index of the telephones, then
// without it (an engine that could not make it reads every telephone).
//
//   bench_journee [repetitions [units years [address]]]
//   address: an empty database of a PostgreSQL server, instead of a file
#include "generateur.h"
#include "journee/arrhesarecevoir.h"
#include "journee/journee.h"
#include "store/base.h"
#include "store/dates.h"
#include "store/requetes_journee.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using Generateur::mesurer;

using Generateur::mediane;

const QDate kAujourdhui(2026, 6, 15);

// Common French surnames, with and without accents; a few clients come
// back often, as they do at a campsite.
const char* const kNoms[] = {"Martin", "Bernard", "Thomas", "Petit", "Robert", "Richard", "Durand", "Dubois",
    "Moreau", "Laurent", "Simon", "Michel", "Lefèvre", "Leroy", "Roux", "David", "Bertrand", "Morel", "Fournier",
    "Girard", "Bonnet", "Dupont", "Lambert", "Fontaine", "Rousseau", "Vincent", "Müller", "Lefebvre", "Mercier",
    "Dupuis", "Blanc", "Guérin", "Boyer", "Garnier", "Chevalier", "François", "Legrand", "Gauthier", "Garcia",
    "Perrin", "Robin", "Clément", "Morin", "Nicolas", "Henry", "Roussel", "Mathieu", "Gautier", "Masson",
    "Marchand", "Duval", "Denis", "Lemaire", "Noël", "Meyer", "Dufour", "Meunier", "Brun", "Blanchard",
    "Giraud", "Joly", "Rivière", "Lucas", "Brunet", "Gaillard", "Barbier", "Arnaud", "Martínez", "Gérard",
    "Roche", "Renard", "Schmitt", "Roy", "Leroux", "Colin", "Vidal", "Caron", "Picard", "Roger", "Fabre",
    "Aubert", "Lemoine", "Renaud", "Dumas", "Lacroix", "Olivier", "Philippe", "Bourgeois", "Pierre", "Benoît"};
const char* const kPrenoms[] = {"Jean", "Marie", "Pierre", "Anne", "Luc", "Sophie", "Hélène", "Gérard", "Élodie",
    "Nicolas", "Camille", "Léa", "Hugo", "Chloé", "Louis", "Inès"};
// The rare client the benchmark looks for: one stay in the whole history.
const char* const kRare = "Quémeneur-Kerhervé";

bool remplir(const QSqlDatabase& base, int unites, int annees)
{
    QSqlDatabase db = base;
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (:n, :nom)"));
    for (int u = 1; u <= unites; ++u) {
        q.bindValue(QStringLiteral(":n"), u);
        q.bindValue(QStringLiteral(":nom"), QStringLiteral("Unité %1").arg(u));
        if (!q.exec())
            return false;
    }
    q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, arrhes, Etat, "
                             "nbadultes, nbenfants, remarque, telephone, email) VALUES "
                             "(:o, :c, :d, :f, 50, :e, 2, 1, :r, :t, :m)"));
    QRandomGenerator alea(1234);
    const QDate fin = kAujourdhui.addDays(120);
    const int nbNoms = int(sizeof kNoms / sizeof *kNoms);
    const int nbPrenoms = int(sizeof kPrenoms / sizeof *kPrenoms);
    bool rarePlace = false;
    for (int u = 1; u <= unites; ++u) {
        QDate jour = kAujourdhui.addYears(-annees).addDays(alea.bounded(5));
        while (jour < fin) {
            const int nuits = 2 + alea.bounded(8);
            QString nom = QString::fromUtf8(kNoms[alea.bounded(nbNoms)]);
            if (!rarePlace && u == unites / 2 && jour.year() == kAujourdhui.year() - annees / 2) {
                nom = QString::fromUtf8(kRare);
                rarePlace = true;
            }
            const QString prenom = QString::fromUtf8(kPrenoms[alea.bounded(nbPrenoms)]);
            const quint32 numero = 600000000u + alea.bounded(99999999u);
            q.bindValue(QStringLiteral(":o"), u);
            q.bindValue(QStringLiteral(":c"), nom + QLatin1Char(' ') + prenom);
            q.bindValue(QStringLiteral(":d"), Dates::versTexteBase(Dates::naive(jour, QTime(14, 0))));
            q.bindValue(QStringLiteral(":f"), Dates::versTexteBase(Dates::naive(jour.addDays(nuits), QTime(12, 0))));
            q.bindValue(QStringLiteral(":e"), 1 + alea.bounded(3));
            q.bindValue(QStringLiteral(":r"), alea.bounded(4) == 0 ? QStringLiteral("Arrivée tardive, chien") : QStringLiteral(" "));
            q.bindValue(QStringLiteral(":t"), QStringLiteral("0%1").arg(numero).replace(QRegularExpression(QStringLiteral("(\\d\\d)(?=\\d)")), QStringLiteral("\\1 ")));
            q.bindValue(QStringLiteral(":m"), prenom.toLower() + QLatin1Char('.') + nom.toLower() + QStringLiteral("@exemple.fr"));
            if (!q.exec())
                return false;
            // About 9 days from one arrival to the next: 40 stays a year.
            jour = jour.addDays(nuits + 1 + alea.bounded(6));
        }
    }
    // A payment or a charge on one account in three, for the balances.
    if (!q.exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                               "SELECT NumeroReservation, DateDebut, -120, '   ', 'Séjour' FROM RESERVATIONS "
                               "WHERE NumeroReservation % 3 = 0")))
        return false;
    // The deposit paid on one account in two, due on the day of arrival.
    if (!q.exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                               "SELECT NumeroReservation, DateDebut, 50, 'CB', 'Arrhes' FROM RESERVATIONS "
                               "WHERE NumeroReservation % 2 = 0"))
        || !q.exec(QStringLiteral("UPDATE RESERVATIONS SET datelimite = substr(DateDebut, 1, 10) || ' 00:00:00'")))
        return false;
    return db.commit();
}

constexpr double kBudgetMs = 20;

void rechercher(const QSqlDatabase& base, const char* quoi, const QString& texte, int repetitions)
{
    int trouves = 0;
    const double ms = mesurer(repetitions, [&](int) {
        trouves = int(RequetesJournee::rechercher(base, texte, 50).value_or(QList<RequetesJournee::Sejour>()).size());
    });
    std::printf("  recherche %-26s « %s » : %6.2f ms, %4.2f du budget (%d résultats)\n", quoi, qPrintable(texte), ms,
                ms / kBudgetMs, trouves);
}

void cas(int unites, int annees, int repetitions, const QString& adresse = QString())
{
    QTemporaryDir dossier;
    const QString connexion = QStringLiteral("bench_%1_%2").arg(unites).arg(annees);
    {
        QString erreur;
        const auto base = Base::ouvrir(adresse.isEmpty() ? dossier.filePath(QStringLiteral("bench.db")) : adresse,
                                       Base::Ouverture::CreerSiAbsente, connexion, &erreur);
        if (!base || !remplir(*base, unites, annees)) {
            std::printf("base impossible : %s\n", qPrintable(erreur));
            return;
        }
        // A server's planner reads the tables' statistics, which its
        // autovacuum makes a little after a bulk load; made at once here.
        if (!adresse.isEmpty())
            QSqlQuery(*base).exec(QStringLiteral("ANALYZE"));
        QSqlQuery n(*base);
        n.exec(QStringLiteral("SELECT count(*) FROM RESERVATIONS"));
        n.next();
        const int sejours = n.value(0).toInt();
        struct Recherche { const char* quoi; QString texte; };
        QString telephone;
        n.exec(QStringLiteral("SELECT telephone FROM RESERVATIONS WHERE NumeroReservation = %1").arg(sejours / 3));
        if (n.next())
            telephone = n.value(0).toString().left(11);   // "06 12 34 56", as typed
        n.finish();   // a read left open would keep the index from being dropped below

        std::printf("%3d unités x %2d an(s), %6d séjours, %s (objectif : médiane < 20 ms)\n", unites, annees, sejours,
                    adresse.isEmpty() ? "SQLite" : "PostgreSQL");
        // Parts of that number as a desk types them: four digits from its
        // middle, two groups with a dot, three digits.
        const QString chiffres = QString(telephone).remove(QLatin1Char(' '));
        const QList<Recherche> parties = {
            {"milieu d'un téléphone", chiffres.mid(3, 4)},
            {"deux groupes avec un point", chiffres.mid(4, 2) + QLatin1Char('.') + chiffres.mid(6, 2)},
            {"trois chiffres", chiffres.mid(5, 3)},
        };
        const Recherche recherches[] = {
            {"préfixe courant", QStringLiteral("ma")},
            {"préfixe courant", QStringLiteral("mar")},
            {"dans chaque e-mail", QStringLiteral("ex")},
            {"nom rare sans accent", QStringLiteral("quemeneur")},
            {"téléphone avec espaces", telephone},
            {"numéro de réservation", QString::number(sejours / 2)},
        };
        for (const Recherche& r : recherches)
            rechercher(*base, r.quoi, r.texte, repetitions);
        for (const Recherche& r : parties)
            rechercher(*base, r.quoi, r.texte, repetitions);
        struct Jour { const char* quoi; QDate jour; };
        const Jour jours[] = {{"aujourd'hui", kAujourdhui}, {"milieu de l'historique", kAujourdhui.addYears(-annees / 2)},
                              {"début de l'historique", kAujourdhui.addYears(-annees).addDays(30)}};
        for (const Jour& j : jours) {
            Journee::Listes l;
            const double ms = mesurer(repetitions, [&](int) {
                l = Journee::repartir(RequetesJournee::sejoursAutourDe(*base, j.jour).value_or(QList<Journee::Sejour>()), j.jour);
            });
            std::printf("  listes de la journée (%s) : %6.2f ms (%d arrivées, %d départs, %d présents)\n", j.quoi, ms,
                        int(l.arrivees.size()), int(l.departs.size()), int(l.presents.size()));
        }
        QList<ArrhesARecevoir::Ligne> dues;
        const double msArrhes = mesurer(repetitions, [&](int) {
            dues = ArrhesARecevoir::Lister(
                RequetesJournee::arrhesDemandees(*base, kAujourdhui).value_or(QList<RequetesJournee::ArrhesDemandees>()),
                kAujourdhui);
        });
        std::printf("  arrhes à recevoir : %6.2f ms (%d séjours, dont %d en retard)\n", msArrhes, int(dues.size()),
                    int(std::count_if(dues.begin(), dues.end(), [](const ArrhesARecevoir::Ligne& l) { return l.enRetard(); })));
        // The same parts without the telephones' index.
        const bool serveur = !adresse.isEmpty();
        const QStringList sansIndex = serveur
            ? QStringList{QStringLiteral("DROP INDEX idx_reservations_telephone_trgm")}
            : QStringList{QStringLiteral("DROP TRIGGER recherche_telephone_ajout"),
                          QStringLiteral("DROP TRIGGER recherche_telephone_suppression"),
                          QStringLiteral("DROP TRIGGER recherche_telephone_modification"),
                          QStringLiteral("DROP TABLE RECHERCHE_TELEPHONES")};
        for (const QString& sql : sansIndex) {
            QSqlQuery q(*base);
            if (!q.exec(sql))
                std::printf("  %s : %s\n", qPrintable(sql), qPrintable(q.lastError().text()));
        }
        std::printf("  sans l'index des téléphones :\n");
        for (const Recherche& r : parties)
            rechercher(*base, r.quoi, r.texte, repetitions);
        std::fflush(stdout);
    }
    QSqlDatabase::removeDatabase(connexion);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 41;
    if (argc > 3) {
        cas(std::max(1, atoi(argv[2])), std::max(1, atoi(argv[3])), repetitions,
            argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString());
        return 0;
    }
    cas(100, 1, repetitions);
    cas(100, 20, repetitions);
    return 0;
}
