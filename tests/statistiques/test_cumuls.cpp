// The figures read from the monthly sums kept in the database are those
// read from the rows, after every kind of write that changes them: a stay
// moved, stretched, put on another unit or in another state, cancelled,
// deleted; journal rows added, changed, deleted, with or without a stay;
// a unit deleted; a state no longer sold. And when the sums cannot be
// brought up to date (a database opened read only) the figures are still
// right.
#include "historique.h"
#include "statistiques/statistiques.h"
#include "store/base.h"
#include "store/cumuls.h"
#include "testutil.h"

#include <QSqlQuery>
#include <gtest/gtest.h>
#include <cmath>
#include <functional>

namespace {

using Statistiques::Chiffres;
using Statistiques::Source;

struct Periode {
    QDate debut, fin;
    std::optional<QString> categorie;
};

const Periode kPeriodes[] = {
    {QDate(2025, 1, 1), QDate(2025, 12, 31), std::nullopt},
    {QDate(2026, 3, 17), QDate(2026, 8, 9), std::nullopt},      // cut inside two months
    {QDate(2026, 1, 1), QDate(2026, 12, 31), QStringLiteral("Chalet")},
    {QDate(2024, 11, 15), QDate(2027, 10, 31), std::nullopt},
    {QDate(2026, 2, 1), QDate(2026, 2, 28), QStringLiteral("Emplacement")},
    {QDate(2026, 2, 3), QDate(2026, 2, 20), std::nullopt},     // no whole month
};

std::string nom(const Periode& p)
{
    return (p.debut.toString(Qt::ISODate) + QStringLiteral("…") + p.fin.toString(Qt::ISODate) + QLatin1Char(' ')
            + p.categorie.value_or(QStringLiteral("toutes")))
        .toStdString();
}

qint64 c(double euros)
{
    return std::llround(euros * 100);
}

// Every figure of the two, to the cent.
void comparer(const Chiffres& a, const Chiffres& b, const std::string& contexte)
{
    EXPECT_EQ(a.nuitsVendues, b.nuitsVendues) << contexte;
    EXPECT_EQ(a.nuitsAdultes, b.nuitsAdultes) << contexte;
    EXPECT_EQ(a.nuitsEnfants, b.nuitsEnfants) << contexte;
    EXPECT_EQ(a.arrivees, b.arrivees) << contexte;
    EXPECT_DOUBLE_EQ(a.dureeMoyenne, b.dureeMoyenne) << contexte;
    for (size_t n = 0; n < a.recettes.size(); ++n)
        EXPECT_EQ(c(a.recettes[n]), c(b.recettes[n])) << contexte << " nature " << n;
    EXPECT_EQ(c(a.totalEncaisse), c(b.totalEncaisse)) << contexte;
    ASSERT_EQ(a.paiements.size(), b.paiements.size()) << contexte;
    for (int i = 0; i < a.paiements.size(); ++i) {
        EXPECT_EQ(a.paiements[i].type, b.paiements[i].type) << contexte;
        EXPECT_EQ(a.paiements[i].nombre, b.paiements[i].nombre) << contexte;
        EXPECT_EQ(c(a.paiements[i].total), c(b.paiements[i].total)) << contexte;
    }
    EXPECT_EQ(a.sejoursTermines, b.sejoursTermines) << contexte;
    EXPECT_EQ(a.sejoursDebiteurs, b.sejoursDebiteurs) << contexte;
    EXPECT_EQ(c(a.soldeDu), c(b.soldeDu)) << contexte;
    ASSERT_EQ(a.parMois.size(), b.parMois.size()) << contexte;
    for (int i = 0; i < a.parMois.size(); ++i) {
        const std::string m = contexte + " " + a.parMois[i].mois.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(a.parMois[i].nuits, b.parMois[i].nuits) << m;
        EXPECT_EQ(a.parMois[i].nuitsParEtat, b.parMois[i].nuitsParEtat) << m;
        for (size_t n = 0; n < a.parMois[i].recettes.size(); ++n)
            EXPECT_EQ(c(a.parMois[i].recettes[n]), c(b.parMois[i].recettes[n])) << m << " nature " << n;
    }
    ASSERT_EQ(a.parUnite.size(), b.parUnite.size()) << contexte;
    for (int i = 0; i < a.parUnite.size(); ++i) {
        const std::string u = contexte + " logement " + std::to_string(a.parUnite[i].numero);
        EXPECT_EQ(a.parUnite[i].nuits, b.parUnite[i].nuits) << u;
        EXPECT_EQ(a.parUnite[i].nuitsParEtat, b.parUnite[i].nuitsParEtat) << u;
        EXPECT_EQ(c(a.parUnite[i].recettes), c(b.parUnite[i].recettes)) << u;
    }
}

// The figures of every period (or of the first `combien`), from the sums
// and from the rows, and the monthly chart's.
void verifier(const TestUtil::BaseTemporaire& b, const std::string& apres, int combien = int(std::size(kPeriodes)))
{
    for (int i = 0; i < combien; ++i) {
        const Periode& p = kPeriodes[i];
        const std::string contexte = apres + " : " + nom(p);
        QString erreur;
        const auto cumuls = Statistiques::Calculer(b.base(), p.debut, p.fin, p.categorie, &erreur, Source::Cumuls);
        ASSERT_TRUE(cumuls) << contexte << " " << erreur.toStdString();
        const auto lignes = Statistiques::Calculer(b.base(), p.debut, p.fin, p.categorie, &erreur, Source::Lignes);
        ASSERT_TRUE(lignes) << contexte << " " << erreur.toStdString();
        comparer(*cumuls, *lignes, contexte);
        const auto moisCumuls = Statistiques::CalculerParMois(b.base(), p.debut, p.fin, p.categorie, &erreur);
        const auto moisLignes =
            Statistiques::CalculerParMois(b.base(), p.debut, p.fin, p.categorie, &erreur, Source::Lignes);
        ASSERT_TRUE(moisCumuls && moisLignes) << contexte << " " << erreur.toStdString();
        comparer(*moisCumuls, *moisLignes, contexte + " par mois");
    }
}

qint64 aRefaire(const TestUtil::BaseTemporaire& b)
{
    return b.valeur(QStringLiteral("SELECT count(*) FROM CUMULS_A_REFAIRE")).toLongLong();
}

TEST(Cumuls, FiguresFromTheMonthlySumsAreThoseOfTheRowsAfterEveryKindOfWrite)
{
    TestUtil::BaseTemporaire b(QStringLiteral("cumuls1"));
    const Historiques::Historique h = Historiques::generer();
    Historiques::enregistrer(b, h);
    ASSERT_GT(aRefaire(b), 0);
    verifier(b, "histoire générée");
    EXPECT_EQ(aRefaire(b), 0);
    ASSERT_GT(b.valeur(QStringLiteral("SELECT count(*) FROM CUMULS_SEJOURS")).toLongLong(), 100);

    // A stay standing, with nights and charges; one cancelled; one
    // without a reservation's rows.
    const int sejour = b.valeur(QStringLiteral("SELECT min(NumeroReservation) FROM RESERVATIONS WHERE Annulation IS NULL"
                                               " AND DateDebut >= '2026-03-01' AND objet = 1 AND DateFin > DateDebut"))
                           .toInt();
    const int annule = b.valeur(QStringLiteral("SELECT min(NumeroReservation) FROM RESERVATIONS"
                                               " WHERE Annulation IS NOT NULL AND DateDebut >= '2026-01-01'"))
                           .toInt();
    ASSERT_GT(sejour, 0);
    ASSERT_GT(annule, 0);
    const QString s = QString::number(sejour);
    // A state or a category is read with the sums: changing one marks
    // nothing to sum again.
    struct Ecriture {
        const char* quoi;
        QString sql;
        bool marque = true;
    };
    const Ecriture ecritures[] = {
        {"séjour déplacé de 40 jours",
         QStringLiteral("UPDATE RESERVATIONS SET DateDebut = '2026-05-10 14:00:00', DateFin = '2026-06-12 11:00:00'"
                        " WHERE NumeroReservation = %1").arg(s)},
        {"séjour sur un autre logement (autre catégorie)",
         QStringLiteral("UPDATE RESERVATIONS SET objet = 3 WHERE NumeroReservation = %1").arg(s)},
        {"séjour dans un état non vendu", QStringLiteral("UPDATE RESERVATIONS SET Etat = 3 WHERE NumeroReservation = %1").arg(s)},
        {"personnes changées", QStringLiteral("UPDATE RESERVATIONS SET nbadultes = 5, nbenfants = 2 WHERE NumeroReservation = %1").arg(s)},
        {"correction de séjour postée",
         QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle, tauxtva)"
                        " VALUES (%1, '2026-12-01 10:00:00', -123.45, '   ', 'CORRECTION SEJOUR dates (TVA 10 %)', 10)").arg(s)},
        {"paiement reçu",
         QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle, tauxtva)"
                        " VALUES (%1, '2026-04-02 10:00:00', 77.7, 'CB ', 'Paiement', 0)").arg(s)},
        {"ligne du journal changée de montant et de date",
         QStringLiteral("UPDATE OPERATIONS SET prix = prix - 10, date = '2025-07-14 09:00:00'"
                        " WHERE numeroreservation = %1 AND libelle LIKE 'BAR%'").arg(s)},
        {"séjour annulé", QStringLiteral("UPDATE RESERVATIONS SET Annulation = '2026-02-11 10:00:00' WHERE NumeroReservation = %1").arg(s)},
        {"annulation reprise", QStringLiteral("UPDATE RESERVATIONS SET Annulation = NULL WHERE NumeroReservation = %1").arg(annule)},
        {"vente au bar sans séjour",
         QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle, tauxtva)"
                        " VALUES (0, '2026-03-20 18:00:00', -4.5, '   ', 'BAR Bière', 20)")},
        {"vente sans séjour changée de mois",
         QStringLiteral("UPDATE OPERATIONS SET date = '2026-07-01 08:00:00' WHERE numeroreservation = 0")},
        {"lignes du journal supprimées",
         QStringLiteral("DELETE FROM OPERATIONS WHERE numeroreservation = %1 AND prix > 0").arg(annule)},
        {"réservation supprimée (ses lignes restent)",
         QStringLiteral("DELETE FROM RESERVATIONS WHERE NumeroReservation = %1").arg(s)},
        {"état qui ne compte plus comme vendu", QStringLiteral("UPDATE ETATS SET Vendu = 0 WHERE Code = 2"), false},
        {"logement changé de catégorie", QStringLiteral("UPDATE OBJETS SET Categorie = 'Emplacement' WHERE Numero = 2"), false},
    };
    for (const Ecriture& e : ecritures) {
        b.executer(e.sql);
        EXPECT_EQ(aRefaire(b) > 0, e.marque) << e.quoi;
        verifier(b, e.quoi, 3);
    }
    // A unit deleted with its stays left behind, as an older program did.
    {
        const TestUtil::SansRegles anciennes(b.base());
        b.executerHorsRegles(QStringLiteral("DELETE FROM OBJETS WHERE Numero = 4"));
    }
    verifier(b, "logement supprimé");
}

TEST(Cumuls, ReadOnlyDatabaseStillGivesTheFiguresFromTheRows)
{
    TestUtil::BaseTemporaire b(QStringLiteral("cumuls2"));
    Historiques::enregistrer(b, Historiques::generer());
    const Periode annee{QDate(2026, 1, 1), QDate(2026, 12, 31), std::nullopt};
    const auto avant = Statistiques::Calculer(b.base(), annee.debut, annee.fin, std::nullopt);
    ASSERT_TRUE(avant);
    b.executer(QStringLiteral("UPDATE RESERVATIONS SET Etat = 3 WHERE DateDebut >= '2026-06-01' AND DateDebut < '2026-07-01'"
                                 " AND DateFin > DateDebut"));
    ASSERT_TRUE(Base::lectureSeule(b.base(), true));
    QString erreur;
    const auto apres = Statistiques::Calculer(b.base(), annee.debut, annee.fin, std::nullopt, &erreur);
    ASSERT_TRUE(Base::lectureSeule(b.base(), false));
    ASSERT_TRUE(apres) << erreur.toStdString();
    const auto lignes = Statistiques::Calculer(b.base(), annee.debut, annee.fin, std::nullopt, &erreur, Source::Lignes);
    ASSERT_TRUE(lignes);
    EXPECT_LT(apres->nuitsVendues, avant->nuitsVendues);
    comparer(*apres, *lignes, "lecture seule");
    // The marks wait for a desk that can write.
    EXPECT_GT(aRefaire(b), 0);
}

// A summing cut short (a statement that fails halfway) leaves the sums and
// the marks as they were: nothing half written, summed again next time.
TEST(Cumuls, FailedSummingLeavesTheMarksForTheNextReading)
{
    TestUtil::BaseTemporaire b(QStringLiteral("cumuls3"));
    Historiques::enregistrer(b, Historiques::generer());
    ASSERT_TRUE(Cumuls::MettreAJour(b.base(), Statistiques::PrefixesDesNatures()));
    const QString sommes = QStringLiteral("SELECT count(*), total(nuits), total(sejour) FROM CUMULS_SEJOURS");
    const QString avant = b.liste(sommes);
    b.executer(QStringLiteral("UPDATE RESERVATIONS SET nbadultes = nbadultes + 1 WHERE objet = 2 AND DateFin > DateDebut"));
    const qint64 marques = aRefaire(b);
    ASSERT_GT(marques, 0);
    b.refuser(QStringLiteral("INSERT"), QStringLiteral("CUMULS_JOURNAL"), QStringLiteral("disque plein"));
    QString erreur;
    EXPECT_FALSE(Cumuls::MettreAJour(b.base(), Statistiques::PrefixesDesNatures(), &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("disque plein"))) << erreur.toStdString();
    EXPECT_EQ(b.liste(sommes), avant);
    EXPECT_EQ(aRefaire(b), marques);
    b.accepter(QStringLiteral("CUMULS_JOURNAL"));
    verifier(b, "après l'échec");
}

// A database of the version before the monthly sums: its whole history is
// summed at the first reading after the upgrade, and only then.
TEST(Cumuls, AnUpgradedDatabaseSumsItsWholeHistoryAtTheFirstReading)
{
    TestUtil::BaseTemporaire b(QStringLiteral("cumuls4"));
    Historiques::enregistrer(b, Historiques::generer());
    for (const char* table : {"CUMULS_A_REFAIRE", "CUMULS_SEJOURS", "CUMULS_JOURNAL"})
        b.executer(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
    b.executer(TestUtil::SurPostgres() ? QStringLiteral("UPDATE schema_version SET version = 9")
                                       : QStringLiteral("PRAGMA user_version = 9"));
    QString erreur;
    const auto base = Base::ouvrir(b.chemin(), Base::Ouverture::Existante, QStringLiteral("cumuls4v9"), &erreur);
    ASSERT_TRUE(base.has_value()) << erreur.toStdString();
    QSqlQuery q(*base);
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM CUMULS_A_REFAIRE")) && q.next());
    EXPECT_GT(q.value(0).toLongLong(), 100);
    const Periode p = kPeriodes[0];
    const auto cumuls = Statistiques::Calculer(*base, p.debut, p.fin, std::nullopt, &erreur);
    const auto lignes = Statistiques::Calculer(*base, p.debut, p.fin, std::nullopt, &erreur, Source::Lignes);
    ASSERT_TRUE(cumuls && lignes) << erreur.toStdString();
    EXPECT_GT(cumuls->nuitsVendues, 0);
    comparer(*cumuls, *lignes, "base mise à jour");
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM CUMULS_A_REFAIRE")) && q.next());
    EXPECT_EQ(q.value(0).toLongLong(), 0);
}

} // namespace
