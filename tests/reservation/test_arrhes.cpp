// The deposit of a reservation: typed as an amount or as a share of the
// stay's price, turned into the amount stored; the deposit and its date
// proposed for a new reservation by the settings.
#include "fenetretest.h"

#include "facturation/comptesejour.h"
#include "facturation/documents.h"
#include "facturation/etablissement.h"
#include "reservation/prixsejour.h"
#include "reservation/saisie.h"
#include "reservation/zonetexte.h"
#include "reservation/verification.h"
#include "store/horloge.h"
#include "store/requetes_facturation.h"
#include "ui/xpcmdbutton.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

QString fr(const char* t)
{
    return QString::fromUtf8(t);
}

// A stay of that price, and its tourist tax (never part of a deposit's share).
Tarification::Calcul prix(double sejour)
{
    Tarification::Calcul c;
    c.lignes = {{Tarification::Genre::Sejour, QStringLiteral("Séjour"), sejour, 10},
                {Tarification::Genre::Taxe, QStringLiteral("Taxe de séjour"), 9.6, 0}};
    c.total = sejour + 9.6;
    return c;
}

Tarification::Calcul sansPrix(const char* raison)
{
    Tarification::Calcul c;
    c.erreur = fr(raison);
    return c;
}

TEST(Arrhes, UnMontantOuUnePartDuPrixDuSejour)
{
    const std::optional<Tarification::Calcul> aucun;
    struct Cas {
        const char* tape;
        std::optional<Tarification::Calcul> prix;
        std::optional<double> montant;   // nullopt: refused
        const char* message;             // a part of the refusal
    } const cas[] = {
        {"12,50", aucun, 12.5, nullptr},
        {"45 €", aucun, 45.0, nullptr},
        {"1 234,567", aucun, 1234.57, nullptr},
        {"", aucun, 0.0, nullptr},
        {"30 %", prix(475.50), 142.65, nullptr},
        {"30%", prix(475.50), 142.65, nullptr},
        {"12,5 %", prix(99.99), 12.50, nullptr},           // 12.49875 to the cent
        {"33,33 %", prix(100.01), 33.33, nullptr},
        {"100 %", prix(612.40), 612.40, nullptr},
        {"0 %", prix(612.40), 0.0, nullptr},
        {"0 %", aucun, 0.0, nullptr},                       // nothing to price
        {"0 %", sansPrix("Aucun tarif."), 0.0, nullptr},
        {"30 %", prix(0), 0.0, nullptr},                    // a stay without night costs nothing
        {"30 %", sansPrix("Le logement Chalet n'a pas de catégorie."), std::nullopt,
         "Les arrhes de 30 % ne peuvent pas être calculées : le séjour n'a pas de prix.\n"
         "Le logement Chalet n'a pas de catégorie.\nIndiquez-les en montant"},
        {"12,5 %", sansPrix("Aucun tarif pour la nuit du 03/08/2026 (catégorie Chalet)."), std::nullopt,
         "Les arrhes de 12,5 % ne peuvent pas être calculées : le séjour n'a pas de prix.\n"
         "Aucun tarif pour la nuit du 03/08/2026 (catégorie Chalet)."},
        {"30 %", aucun, std::nullopt, "Le prix du séjour n'est pas connu."},
        {"150 %", prix(100), std::nullopt, Verification::kArrhes},
        {"-5", aucun, std::nullopt, Verification::kArrhes},
        {"-5 %", prix(100), std::nullopt, Verification::kArrhes},
        {"douze", aucun, std::nullopt, Verification::kArrhes},
        {"1000000000", aucun, std::nullopt, Verification::kArrhes},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.tape);
        QString erreur;
        const auto montant = Saisie::ArrhesDuSejour(fr(c.tape), c.prix, &erreur);
        EXPECT_EQ(montant.has_value(), c.montant.has_value()) << erreur.toStdString();
        if (c.montant && montant) {
            EXPECT_DOUBLE_EQ(*montant, *c.montant);
            EXPECT_TRUE(erreur.isEmpty());
        } else if (!c.montant) {
            EXPECT_TRUE(erreur.contains(fr(c.message))) << erreur.toStdString();
        }
        // The checks refuse what the reading refuses, with the same words,
        // and the row written holds the amount.
        Verification::Champs boites;
        boites.objet = QStringLiteral("12 : Chalet");
        boites.datedebut = QStringLiteral("03/08/2026");
        boites.heuredebut = QStringLiteral("14:00");
        boites.datefin = QStringLiteral("10/08/2026");
        boites.heurefin = QStringLiteral("12:00");
        boites.arrhes = fr(c.tape);
        EXPECT_EQ(Verification::Verifier(boites, {12}, {}, c.prix), c.montant ? QString() : erreur);
        if (c.montant) {
            EXPECT_DOUBLE_EQ(Saisie::VersReservation(boites, c.prix).arrhes, *c.montant);
        }
    }
    // Only a share needs the stay's price.
    EXPECT_TRUE(Saisie::ArrhesEnPourcentage(QStringLiteral(" 30 % ")));
    EXPECT_FALSE(Saisie::ArrhesEnPourcentage(QStringLiteral("30")));
    EXPECT_FALSE(Saisie::ArrhesEnPourcentage(QStringLiteral("150 %")));
    EXPECT_EQ(Saisie::LireArrhes(QStringLiteral("30 %")), std::nullopt);
}

// A stay of the boxes priced from the units and rates of the database: the
// Chalet (unit 12) is in category "Chalet", at 80 € a night and 5 € per
// adult and night from 1 to 8 August 2026, then 100 € a night; the tent
// (unit 10) has no category.
class PrixDesCases : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ini = base.dossier() + QStringLiteral("/planning.ini");
        TestUtil::Logements(base.base(), {10});
        base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom, Categorie) VALUES (12, 'Chalet', 'Chalet')"));
        ASSERT_TRUE(RequetesFacturation::remplacerTarifs(base.base(), {
            {0, QStringLiteral("Chalet"), QDate(2026, 8, 1), QDate(2026, 8, 8), 80, 5, 0, 10},
            {0, QStringLiteral("Chalet"), QDate(2026, 8, 9), QDate(2026, 8, 31), 100, 0, 0, 10},
        }));
    }
    Verification::Champs boites(const char* objet, const char* debut, const char* fin, const char* adultes) const
    {
        Verification::Champs c;
        c.objet = fr(objet);
        c.datedebut = fr(debut);
        c.heuredebut = QStringLiteral("14:00");
        c.datefin = fr(fin);
        c.heurefin = QStringLiteral("12:00");
        c.nbadultes = fr(adultes);
        c.nbenfants = QStringLiteral("1");
        c.arrhes = QStringLiteral("30 %");
        return c;
    }
    TestUtil::BaseTemporaire base{QStringLiteral("prixdescases")};
    QString ini;
};

TEST_F(PrixDesCases, LeSejourDesCasesEstPriceCommeLeCompte)
{
    ASSERT_TRUE(Etablissement::EcrireTaxeDeSejour(ini, 0.5));
    struct Cas {
        const char* objet;
        const char* debut;
        const char* fin;
        const char* adultes;
        double total;          // when priced
        const char* raison;    // nullptr: priced
    } const cas[] = {
        // 7 nights × (80 + 2 × 5) + tax 2 × 7 × 0,50
        {"12 : Chalet", "01/08/2026", "08/08/2026", "2", 637.0, nullptr},
        // 2 nights × 90 + 1 night × 100 + tax 2 × 3 × 0,50
        {"12 : Chalet", "07/08/2026", "10/08/2026", "2", 283.0, nullptr},
        {"12 : Chalet", "07/08/2026", "07/08/2026", "2", 0.0, nullptr},
        {"10 : Logement 10", "01/08/2026", "08/08/2026", "2", 0, "n'a pas de catégorie"},
        {"12 : Chalet", "30/07/2026", "02/08/2026", "2", 0, "Aucun tarif pour la nuit du 30/07/2026"},
        {"99 : Ailleurs", "01/08/2026", "08/08/2026", "2", 0, "Aucune unité de location"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.objet) + " " + c.debut);
        const Tarification::Calcul calcul = PrixSejour::Calculer(base.base(), ini, boites(c.objet, c.debut, c.fin, c.adultes));
        EXPECT_EQ(calcul.valide(), c.raison == nullptr) << calcul.erreur.toStdString();
        if (c.raison)
            EXPECT_TRUE(calcul.erreur.contains(fr(c.raison))) << calcul.erreur.toStdString();
        else
            EXPECT_DOUBLE_EQ(calcul.total, c.total);
    }
    // Nothing is priced for an amount.
    Verification::Champs montant = boites("99 : Ailleurs", "01/08/2026", "08/08/2026", "2");
    montant.arrhes = QStringLiteral("50");
    EXPECT_FALSE(PrixSejour::PourLesArrhes(base.base(), ini, montant).has_value());
    EXPECT_TRUE(PrixSejour::PourLesArrhes(base.base(), ini, boites("12 : Chalet", "01/08/2026", "08/08/2026", "2")));
}

// The window: a user who types "30 %" and saves.
class ArrhesFenetre : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(QDateTime(QDate(2026, 7, 1), QTime(9, 0), Qt::UTC));
        t.temp().executer(QStringLiteral("UPDATE OBJETS SET Categorie = 'Chalet' WHERE Numero = 12"));
        ASSERT_TRUE(RequetesFacturation::remplacerTarifs(t.base(), {
            {0, QStringLiteral("Chalet"), QDate(2026, 7, 1), QDate(2026, 8, 31), 80, 5, 0, 10},
        }));
        // The settings as a new installation has them: 30 %, due in 7 days.
        QFile::remove(t.contexte().CheminINI);
    }
    void TearDown() override { Horloge::liberer(); }

    void remplir(const char* objet, const char* arrhes)
    {
        reservations& f = t.fenetre();
        f.Objets->setCurrentIndex(f.Objets->findText(fr(objet)));
        f.NomClient->setText(QStringLiteral("Durand"));
        f.datedebut->setText(QStringLiteral("03/08/2026"));
        f.datefin->setText(QStringLiteral("10/08/2026"));
        f.nbadultes->setText(QStringLiteral("2"));
        f.arrhes->setText(fr(arrhes));
    }

    FenetreTest t;
};

TEST_F(ArrhesFenetre, UneNouvelleReservationProposeLesArrhesDesReglages)
{
    struct Cas {
        const char* arrhes;    // the setting, nullptr: none written
        int delai;             // -1: none written
        const char* boite;
        const char* date;
    } const cas[] = {
        {nullptr, -1, "30 %", "08/07/2026"},
        {"45,5", 3, "45,50 €", "04/07/2026"},
        {"12,5 %", 0, "12,5 %", "01/07/2026"},
        {"0", 10, "0", ""},   // no deposit asked: no date either
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.boite);
        QFile::remove(t.contexte().CheminINI);
        if (c.arrhes)
            Etablissement::EcrireArrhes(t.contexte().CheminINI, *MontantOuPourcentage::Lire(fr(c.arrhes)));
        if (c.delai >= 0)
            Etablissement::EcrireDelaiArrhes(t.contexte().CheminINI, c.delai);
        t.ouvrirNouvelle();
        EXPECT_EQ(t.fenetre().arrhes->text(), fr(c.boite));
        EXPECT_EQ(t.fenetre().datelimite->text(), fr(c.date));
        // What the opening proposed is no change of the user's.
        EXPECT_FALSE(t.fenetre().Modifiee());
        t.cliquer(QStringLiteral("Annuler"));
        ASSERT_FALSE(t.fenetre().isVisible());
    }
}

TEST_F(ArrhesFenetre, TrentePourCentTapesSontEnregistresEnMontantEtSurLeContrat)
{
    t.ouvrirNouvelle();
    ASSERT_EQ(t.fenetre().arrhes->text(), QStringLiteral("30 %"));
    remplir("12 : Chalet", "30 %");
    EXPECT_TRUE(t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); }).isEmpty());
    ASSERT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 1);
    const qint32 numero = t.nombre(QStringLiteral("SELECT NumeroReservation FROM RESERVATIONS"));
    const auto r = Requetes::reservation(t.base(), numero);
    ASSERT_TRUE(r.has_value());
    // 7 nights × (80 + 2 × 5) = 630, 30 % = 189
    EXPECT_DOUBLE_EQ(r->arrhes, 189.0);
    EXPECT_EQ(r->datelimite.date(), QDate(2026, 7, 8));

    // Opened again, the box shows the amount; the contract states it with its date.
    t.ouvrir(numero);
    EXPECT_EQ(t.fenetre().arrhes->text(), QStringLiteral("189"));
    QString erreur;
    const auto contrat = CompteSejour::Contrat(t.base(), numero, t.contexte().CheminINI, &erreur);
    ASSERT_TRUE(contrat.has_value()) << erreur.toStdString();
    const QString html = Documents::HtmlContrat(*contrat);
    EXPECT_TRUE(html.contains(fr("Arrhes demandées : <b>189,00 €</b>, à régler avant le 08/07/2026"))) << html.toStdString();

    // Changed to a share of a longer stay: the amount follows the new dates.
    t.fenetre().datefin->setText(QStringLiteral("13/08/2026"));
    t.fenetre().arrhes->setText(QStringLiteral("50 %"));
    EXPECT_TRUE(t.messagesPendant([&] { t.cliquer(QStringLiteral("Modifier")); }).isEmpty());
    EXPECT_DOUBLE_EQ(Requetes::reservation(t.base(), numero)->arrhes, 450.0);   // 10 × 90 / 2
}

// The due date proposed a week from now comes back to the arrival of a
// stay that starts sooner; a date typed by the user stays.
TEST_F(ArrhesFenetre, LaDateLimiteProposeeNeTombePasApresLArrivee)
{
    struct Cas {
        const char* arrivee;
        const char* limiteTapee;   // nullptr: the proposed one left as it is
        QDate attendue;
    } const cas[] = {
        {"04/07/2026", nullptr, QDate(2026, 7, 4)},
        {"08/07/2026", nullptr, QDate(2026, 7, 8)},
        {"20/07/2026", nullptr, QDate(2026, 7, 8)},
        {"01/07/2026", nullptr, QDate(2026, 7, 1)},
        {"04/07/2026", "06/07/2026", QDate(2026, 7, 6)},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.arrivee);
        t.temp().executer(QStringLiteral("DELETE FROM RESERVATIONS"));
        t.ouvrirNouvelle();
        remplir("12 : Chalet", "100");
        const QDate arrivee = QDate::fromString(QString::fromLatin1(c.arrivee), QStringLiteral("dd/MM/yyyy"));
        t.fenetre().datedebut->setText(QString::fromLatin1(c.arrivee));
        t.fenetre().datefin->setText(arrivee.addDays(3).toString(QStringLiteral("dd/MM/yyyy")));
        if (c.limiteTapee)
            t.fenetre().datelimite->setText(QString::fromLatin1(c.limiteTapee));
        EXPECT_TRUE(t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); }).isEmpty());
        const qint32 numero = t.nombre(QStringLiteral("SELECT max(NumeroReservation) FROM RESERVATIONS"));
        ASSERT_GT(numero, 0);
        EXPECT_EQ(Requetes::reservation(t.base(), numero)->datelimite.date(), c.attendue);
    }
}

TEST_F(ArrhesFenetre, UnePartDUnSejourSansPrixEstRefuseeEnDisantPourquoi)
{
    t.ouvrirNouvelle();
    remplir("10 : Tente", "25 %");
    const QStringList messages = t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(fr("Les arrhes de 25 % ne peuvent pas être calculées"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(fr("Le logement Tente n'a pas de catégorie"))) << messages[0].toStdString();
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 0);
    EXPECT_TRUE(t.fenetre().isVisible());
    // Typed as an amount, the same stay is saved.
    t.fenetre().arrhes->setText(QStringLiteral("50"));
    // (saved with the warning that its price could not be posted)
    const QStringList apres = t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); });
    EXPECT_LE(apres.size(), 1);
    for (const QString& m : apres)
        EXPECT_FALSE(m.contains(fr("arrhes"))) << m.toStdString();
    EXPECT_EQ(t.temp().valeur(QStringLiteral("SELECT arrhes FROM RESERVATIONS")).toDouble(), 50.0);
}

TEST_F(ArrhesFenetre, LaPartProposeeParLesReglagesNeBloqueJamaisUnSejourSansPrix)
{
    // The desk left "30 %" as proposed on a unit without rates: the stay is
    // saved asking no deposit, instead of refused.
    t.ouvrirNouvelle();
    ASSERT_EQ(t.fenetre().arrhes->text(), QStringLiteral("30 %"));
    remplir("10 : Tente", "30 %");
    const QStringList messages = t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); });
    for (const QString& m : messages)
        EXPECT_FALSE(m.contains(fr("arrhes"))) << m.toStdString();
    ASSERT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 1);
    EXPECT_EQ(t.temp().valeur(QStringLiteral("SELECT arrhes FROM RESERVATIONS")).toDouble(), 0.0);
}

} // namespace

