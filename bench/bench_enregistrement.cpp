// What the automatic posting adds to a save of the reservation window, on
// 100 units x 20 years with their journal (SQLite file): a change of dates
// saved alone (the baseline), the same saved with its corrections posted in
// its transaction, a change that costs nothing with the posting, and a press
// of "Porter au compte". Prints medians and their ratio to the baseline;
// asserts nothing. The budget of a save is 10 ms.
//
//   bench_enregistrement [repetitions [units years]]
#include "generateur.h"
#include "config/ini32.h"
#include "facturation/comptesejour.h"
#include "store/base.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/requetes_reservation.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

namespace {

using Generateur::mesurer;

const QDate kAujourdhui(2026, 6, 15);

// Every unit a chalet, two seasons a year over the whole history, a tax.
bool tarifer(const QSqlDatabase& base, int annees, const QString& ini)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("UPDATE OBJETS SET Categorie = 'Chalet'")))
        return false;
    q.prepare(QStringLiteral("INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, TauxTVA) "
                             "VALUES ('Chalet', ?, ?, ?, 5, 10)"));
    for (int a = kAujourdhui.year() - annees; a <= kAujourdhui.year() + 1; ++a) {
        const struct { QDate premier; QDate dernier; double prix; } saisons[] = {
            {QDate(a, 1, 1), QDate(a, 6, 30), 80}, {QDate(a, 7, 1), QDate(a, 12, 31), 120}};
        for (const auto& s : saisons) {
            q.addBindValue(Dates::versTexteBase(Dates::naive(s.premier, QTime())));
            q.addBindValue(Dates::versTexteBase(Dates::naive(s.dernier, QTime())));
            q.addBindValue(s.prix);
            if (!q.exec())
                return false;
        }
    }
    INI32::ProfilINI("facturation", "taxe de sejour", "0,80", ini, 0);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Horloge::fixer(Dates::naive(kAujourdhui, QTime(10, 0)));
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 51;
    const int unites = argc > 3 ? std::max(1, atoi(argv[2])) : 100;
    const int annees = argc > 3 ? std::max(1, atoi(argv[3])) : 20;

    QTemporaryDir dossier;
    const QString ini = dossier.filePath(QStringLiteral("planning.ini"));
    QString erreur;
    const auto base = Base::ouvrir(dossier.filePath(QStringLiteral("bench.db")), Base::Ouverture::CreerSiAbsente,
                                   QStringLiteral("bench"), &erreur);
    if (!base || !Generateur::remplir(*base, unites, annees, kAujourdhui, true) || !tarifer(*base, annees, ini)) {
        std::printf("base impossible : %s\n", qPrintable(erreur));
        return 1;
    }
    Requetes::Reservation r;
    r.objet = 1;
    r.nomclient = QStringLiteral("Durand");
    r.debut = Dates::naive(kAujourdhui.addDays(10), QTime(14, 0));
    r.fin = Dates::naive(kAujourdhui.addDays(14), QTime(12, 0));
    r.etat = 1;
    r.nbadultes = 2;
    CompteSejour::Suivi suivi;
    const auto numero = RequetesReservation::creer(*base, r, QStringLiteral("Création"), &erreur, nullptr, nullptr,
                                                   CompteSejour::SuivreEnEnregistrant(*base, ini, true, &suivi));
    if (!numero) {
        std::printf("réservation impossible : %s\n", qPrintable(erreur));
        return 1;
    }
    r.numero = *numero;
    int echecs = 0;
    auto enregistrer = [&](int i, bool porter, bool dates) {
        // Across the season boundary and back: every save with dates changes the price.
        if (dates)
            r.fin = Dates::naive(kAujourdhui.addDays(i % 2 ? 20 : 14), QTime(12, 0));
        r.remarque = QStringLiteral("Remarque %1").arg(i);
        const auto ensuite = porter ? CompteSejour::SuivreEnEnregistrant(*base, ini, false, &suivi)
                                    : RequetesReservation::Ensuite();
        if (!RequetesReservation::modifier(*base, r, QStringLiteral("Modification d'informations"), &erreur, nullptr,
                                           nullptr, nullptr, ensuite))
            ++echecs;
    };
    double cpuSeul = 0, cpuPorte = 0, cpuRien = 0, cpuBouton = 0;
    const double seul = mesurer(repetitions, [&](int i) { enregistrer(i, false, true); }, &cpuSeul);
    const double porte = mesurer(repetitions, [&](int i) { enregistrer(i, true, true); }, &cpuPorte);
    const double rien = mesurer(repetitions, [&](int i) { enregistrer(i, true, false); }, &cpuRien);
    const double bouton = mesurer(repetitions, [&](int i) {
        enregistrer(i, false, true);
        CompteSejour::PorterAuCompte(*base, r.numero, ini);
    }, &cpuBouton);

    std::printf("%d unités x %d ans, journal compris ; médianes de %d enregistrements (ms, processeur entre parenthèses) :\n",
                unites, annees, repetitions);
    auto ligne = [&](const char* quoi, double t, double cpu) {
        std::printf("    %-52s %7.2f (%6.2f)  x %.2f\n", quoi, t, cpu, seul > 0 ? t / seul : 0.0);
    };
    ligne("changement de dates, sans rien porter (référence)", seul, cpuSeul);
    ligne("changement de dates, corrections portées", porte, cpuPorte);
    ligne("changement sans effet sur le prix, avec le suivi", rien, cpuRien);
    ligne("changement de dates puis « Porter au compte »", bouton, cpuBouton);
    if (echecs)
        std::printf("%d enregistrements refusés : %s\n", echecs, qPrintable(erreur));
    return 0;
}
