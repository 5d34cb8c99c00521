// The figures of a generated history against a brute-force computation
// night by night: stays across months and years, day uses, states not
// sold, stay charges at two VAT rates posted before, during and after the
// stay with their corrections, tax posted or not, cancelled stays with
// their reversals and fees, rows of deleted reservations, bar sales and
// payments.
#include "statistiques/statistiques.h"
#include "statistiques/taxesejour.h"
#include "store/dates.h"
#include "historique.h"
#include "testutil.h"

#include <QMap>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <cmath>

namespace {

using namespace Historiques;

// What the figures must be, computed night by night.
struct Attendu {
    QMap<QDate, std::array<qint64, 4>> recettes;   // by month, in cents: stay, tax, bar, other
    QMap<QDate, qint64> nuits;
    qint64 arrivees = 0;
    qint64 encaisse = 0;
};

bool estSejour(const QString& l)
{
    return l.startsWith(QStringLiteral("SEJOUR ")) || l.startsWith(QStringLiteral("CORRECTION SEJOUR "));
}

bool estTaxe(const QString& l)
{
    return l.startsWith(QStringLiteral("TAXE DE SEJOUR ")) || l.startsWith(QStringLiteral("CORRECTION TAXE DE SEJOUR "));
}

QDate mois(const QDate& d)
{
    return QDate(d.year(), d.month(), 1);
}

Attendu bruteForce(const Historique& h, const QDate& debut, const QDate& fin, const std::optional<QString>& categorie)
{
    Attendu e;
    for (QDate m = mois(debut); m <= fin; m = m.addMonths(1)) {
        e.recettes[m] = {0, 0, 0, 0};
        e.nuits[m] = 0;
    }
    QMap<int, Resa> resas;
    for (const Resa& r : h.resas)
        resas[r.numero] = r;
    QMap<int, QString> categories;
    for (const Unite& u : h.unites)
        categories[u.numero] = u.categorie;
    auto garder = [&](int reservation) {
        if (!categorie)
            return true;
        return resas.contains(reservation) && categories.value(resas[reservation].objet) == *categorie;
    };
    auto dans = [&](const QDate& d) { return d >= debut && d <= fin; };
    // Per stay, kind and rate: the net amount posted, given out cent by
    // cent to its nights in turn.
    QMap<std::tuple<int, int, double>, qint64> postes;
    for (const Op& o : h.ops) {
        if (!garder(o.reservation) || o.centimes == 0)
            continue;
        const QDate jour = o.date.date();
        if (o.paiement.trimmed().size() > 0) {
            if (dans(jour))
                e.encaisse += o.centimes;
            continue;
        }
        const bool sejour = estSejour(o.libelle);
        const bool taxe = estTaxe(o.libelle);
        if (sejour || taxe) {
            const auto r = resas.find(o.reservation);
            const bool etale = r != resas.end() && (r->annulation.isValid() || r->debut < r->fin);
            if (etale) {
                postes[{o.reservation, taxe ? 1 : 0, o.tva}] -= o.centimes;
                continue;
            }
        }
        const int nature = sejour ? 0 : taxe ? 1 : o.libelle.startsWith(QStringLiteral("BAR ")) ? 2 : 3;
        if (dans(jour))
            e.recettes[mois(jour)][size_t(nature)] -= o.centimes;
    }
    for (auto it = postes.cbegin(); it != postes.cend(); ++it) {
        const Resa& r = resas[std::get<0>(it.key())];
        const size_t nature = size_t(std::get<1>(it.key()));
        if (r.annulation.isValid()) {
            if (dans(r.annulation))
                e.recettes[mois(r.annulation)][nature] += it.value();
            continue;
        }
        const int n = int(r.debut.daysTo(r.fin));
        std::vector<qint64> parNuit(size_t(n), 0);
        const qint64 signe = it.value() < 0 ? -1 : 1;
        for (qint64 c = 0; c < std::abs(it.value()); ++c)
            parNuit[size_t(c % n)] += signe;
        for (int i = 0; i < n; ++i)
            if (dans(r.debut.addDays(i)))
                e.recettes[mois(r.debut.addDays(i))][nature] += parNuit[size_t(i)];
    }
    for (const Resa& r : h.resas) {
        if (!garder(r.numero) || r.etat == 3 || r.annulation.isValid())
            continue;
        for (QDate j = r.debut; j < r.fin; j = j.addDays(1))
            if (dans(j))
                ++e.nuits[mois(j)];
        if (dans(r.debut))
            ++e.arrivees;
    }
    return e;
}

} // namespace

TEST(Comptabilite, FiguresOfAGeneratedHistoryAreThoseOfTheNights)
{
    TestUtil::BaseTemporaire b(QStringLiteral("compta1"));
    const Historique h = generer();
    enregistrer(b, h);
    struct Periode {
        QDate debut, fin;
        std::optional<QString> categorie;
    };
    const Periode periodes[] = {
        {QDate(2025, 1, 1), QDate(2025, 12, 31), std::nullopt},
        {QDate(2026, 1, 1), QDate(2026, 12, 31), std::nullopt},
        {QDate(2027, 1, 1), QDate(2027, 12, 31), std::nullopt},
        {QDate(2026, 3, 17), QDate(2026, 8, 9), std::nullopt},   // cut inside two months
        {QDate(2026, 1, 1), QDate(2026, 12, 31), QStringLiteral("Chalet")},
        {QDate(2024, 11, 1), QDate(2027, 10, 31), std::nullopt},
    };
    for (const Periode& p : periodes) {
        const std::string nom = (p.debut.toString(Qt::ISODate) + QStringLiteral("…") + p.fin.toString(Qt::ISODate) + QLatin1Char(' ')
                                 + p.categorie.value_or(QStringLiteral("toutes"))).toStdString();
        const Attendu e = bruteForce(h, p.debut, p.fin, p.categorie);
        QString erreur;
        const auto c = Statistiques::Calculer(b.base(), p.debut, p.fin, p.categorie, &erreur);
        const auto m = Statistiques::CalculerParMois(b.base(), p.debut, p.fin, p.categorie, &erreur);
        ASSERT_TRUE(c && m) << nom << " : " << erreur.toStdString();
        ASSERT_EQ(c->parMois.size(), e.recettes.size()) << nom;
        std::array<qint64, 4> total{0, 0, 0, 0};
        for (int i = 0; i < c->parMois.size(); ++i) {
            const QDate mo = c->parMois[i].mois;
            for (size_t n = 0; n < 4; ++n) {
                EXPECT_EQ(std::llround(c->parMois[i].recettes[n] * 100), e.recettes[mo][n])
                    << nom << " " << mo.toString(Qt::ISODate).toStdString() << " nature " << n;
                EXPECT_EQ(std::llround(m->parMois[i].recettes[n] * 100), e.recettes[mo][n])
                    << nom << " par mois " << mo.toString(Qt::ISODate).toStdString() << " nature " << n;
                total[n] += e.recettes[mo][n];
            }
            EXPECT_EQ(c->parMois[i].nuits, e.nuits[mo]) << nom << " " << mo.toString(Qt::ISODate).toStdString();
        }
        for (size_t n = 0; n < 4; ++n)
            EXPECT_EQ(std::llround(c->recettes[n] * 100), total[n]) << nom << " nature " << n;
        EXPECT_EQ(c->arrivees, e.arrivees) << nom;
        EXPECT_EQ(std::llround(c->totalEncaisse * 100), e.encaisse) << nom;
    }
}

// On a history where every stay is charged its tax at the declared rate,
// the tax of the figures and the tax due agree month by month; where it is
// not, the difference is named stay by stay.
TEST(Comptabilite, TaxChargedAndTaxDueAgreeOrTheDifferenceIsNamed)
{
    TestUtil::BaseTemporaire b(QStringLiteral("compta2"));
    Historique h = generer();
    // Only what a stay's tax is: 0,80 per adult and night, once, on every
    // stay not cancelled in a sold state; nothing posted on the others.
    h.ops.removeIf([](const Op& o) { return estTaxe(o.libelle); });
    int sansTaxe = 0;
    for (const Resa& r : h.resas)
        if (r.etat != 3 && !r.annulation.isValid() && r.adultes > 0 && r.debut < r.fin) {
            if (r.numero % 11 == 0) {   // not charged yet
                ++sansTaxe;
                continue;
            }
            h.ops.append({r.numero, Dates::naive(r.debut.addDays(-20), QTime(9, 0)), -80 * r.adultes * r.debut.daysTo(r.fin),
                          QStringLiteral("   "), QStringLiteral("TAXE DE SEJOUR 0,80 par adulte et par nuit"), 0});
        }
    ASSERT_GT(sansTaxe, 3);
    enregistrer(b, h);
    int nonFactures = 0;
    for (int m = 1; m <= 12; ++m) {
        const QDate debut = TaxeSejour::DebutMois(2026, m);
        const QDate fin = TaxeSejour::FinMois(2026, m);
        QString erreur;
        const auto d = TaxeSejour::Lire(b.base(), debut, fin, 0.8, std::nullopt, &erreur);
        const auto c = Statistiques::Calculer(b.base(), debut, fin, std::nullopt, &erreur);
        ASSERT_TRUE(d && c) << erreur.toStdString();
        // The tax of the figures is the tax charged on the declared nights.
        EXPECT_NEAR(c->recettes[Statistiques::Taxe], d->facturee, 0.001) << m;
        EXPECT_NEAR(d->montant, d->facturee + d->nonFacturee, 0.001) << m;
        EXPECT_NEAR(d->autresEcarts, 0, 0.001) << m;
        // Stay by stay: what is not charged is named.
        double nonFacturee = 0;
        for (const auto& l : d->lignes) {
            EXPECT_EQ(l.nonFacturee, l.sejour.numero % 11 == 0 || l.sejour.adultes == 0) << m << " #" << l.sejour.numero;
            if (l.nonFacturee) {
                nonFacturee += l.montant;
                nonFactures += l.sejour.adultes > 0;
            } else {
                EXPECT_NEAR(l.facturee, l.montant, 0.001) << m << " #" << l.sejour.numero;
            }
        }
        EXPECT_NEAR(nonFacturee, d->nonFacturee, 0.001) << m;
        // Charged but not yet stayed: posted 20 days ahead, the nights of
        // stays that begin after the month's end and were charged before it.
        double avance = 0;
        for (const Resa& r : h.resas) {
            const QDate apres = fin.addDays(1);
            if (r.etat == 3 || r.annulation.isValid() || r.numero % 11 == 0 || r.fin <= apres
                || r.debut.addDays(-20) > fin)
                continue;
            avance += 0.8 * r.adultes * double(std::max(apres, r.debut).daysTo(r.fin));
        }
        EXPECT_NEAR(d->avance, avance, 0.001) << m;
    }
    EXPECT_GT(nonFactures, 0);
}
