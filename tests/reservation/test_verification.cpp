// Checks run before saving a reservation: the message of the last failing
// check, or none.
#include "reservation/verification.h"

#include <gtest/gtest.h>

using Verification::Champs;

namespace {

Champs valide()
{
    Champs c;
    c.objet = QStringLiteral("12 : Chalet");
    c.etat = QStringLiteral("2 - Option");
    c.nomclient = QStringLiteral("Durand");
    c.datedebut = QStringLiteral("03/08/2005");
    c.heuredebut = QStringLiteral("14:00");
    c.datefin = QStringLiteral("10/08/2005");
    c.heurefin = QStringLiteral("12:00");
    c.arrhes = QStringLiteral("0");
    c.nbadultes = QStringLiteral("1");
    c.nbenfants = QStringLiteral("0");
    return c;
}

QString verifier(const Champs& c)
{
    return Verification::Verifier(c, {1, 12}, {1, 2, 3});
}

struct Cas {
    const char* nom;
    void (*modifier)(Champs&);
    const char* message;   // nullptr: accepted
};

const Cas kCas[] = {
    {"valide", [](Champs&) {}, nullptr},
    {"date debut vide", [](Champs& c) { c.datedebut.clear(); }, Verification::kDateDebutVide},
    {"heure debut vide", [](Champs& c) { c.heuredebut.clear(); }, Verification::kHeureDebutVide},
    {"date fin vide", [](Champs& c) { c.datefin.clear(); }, Verification::kDateFinVide},
    {"heure fin vide", [](Champs& c) { c.heurefin.clear(); }, Verification::kHeureFinVide},
    {"deux heures vides: la derniere gagne",
     [](Champs& c) { c.heuredebut.clear(); c.heurefin.clear(); }, Verification::kHeureFinVide},
    {"tout vide: la date de fin l'emporte",
     [](Champs& c) { c.datedebut.clear(); c.heuredebut.clear(); c.datefin.clear(); c.heurefin.clear(); },
     Verification::kHeureFinVide},
    {"fin avant debut",
     [](Champs& c) { c.datedebut = QStringLiteral("03/08/2005"); c.datefin = QStringLiteral("02/08/2005"); },
     Verification::kOrdreDates},
    {"meme jour, heures inversees acceptees",
     [](Champs& c) { c.datefin = c.datedebut; c.heuredebut = QStringLiteral("18:00"); c.heurefin = QStringLiteral("08:00"); },
     nullptr},
    {"debut illisible", [](Champs& c) { c.datedebut = QStringLiteral("abc"); },
     "La date d'arrivée n'est pas une date valide : abc"},
    {"fin impossible", [](Champs& c) { c.datefin = QStringLiteral("31/02/2026"); },
     "La date de départ n'est pas une date valide : 31/02/2026"},
    {"debut impossible", [](Champs& c) { c.datedebut = QStringLiteral("31/02/2027"); },
     "La date d'arrivée n'est pas une date valide : 31/02/2027"},
    {"29 fevrier hors annee bissextile", [](Champs& c) { c.datefin = QStringLiteral("29/02/2027"); },
     "La date de départ n'est pas une date valide : 29/02/2027"},
    {"29 fevrier bissextile", [](Champs& c) { c.datedebut = QStringLiteral("28/02/2028"); c.datefin = QStringLiteral("29/02/2028"); },
     nullptr},
    {"mois 13", [](Champs& c) { c.datedebut = QStringLiteral("01/13/2026"); },
     "La date d'arrivée n'est pas une date valide : 01/13/2026"},
    {"les deux impossibles: l'arrivee d'abord",
     [](Champs& c) { c.datedebut = QStringLiteral("31/04/2027"); c.datefin = QStringLiteral("31/02/2027"); },
     "La date d'arrivée n'est pas une date valide : 31/04/2027"},
    {"date impossible avant les autres controles",
     [](Champs& c) { c.datefin = QStringLiteral("31/02/2027"); c.heurefin.clear(); c.nbadultes = QStringLiteral("x");
                     c.objet = QStringLiteral("Chalet"); },
     "La date de départ n'est pas une date valide : 31/02/2027"},
    {"date impossible et autre date vide",
     [](Champs& c) { c.datedebut.clear(); c.datefin = QStringLiteral("32/01/2027"); },
     "La date de départ n'est pas une date valide : 32/01/2027"},
    {"date faite d'espaces: vide", [](Champs& c) { c.datedebut = QStringLiteral("   "); }, Verification::kDateDebutVide},
    {"espaces autour d'une date valide", [](Champs& c) { c.datefin = QStringLiteral(" 10/08/2005 "); }, nullptr},
    {"annee a deux chiffres", [](Champs& c) { c.datedebut = QStringLiteral("1/1/05"); }, nullptr},
    {"date avec heure dans la case", [](Champs& c) { c.datedebut = QStringLiteral("03/08/2005 10:00"); },
     "La date d'arrivée n'est pas une date valide : 03/08/2005 10:00"},
    {"heure minuit", [](Champs& c) { c.heuredebut = QStringLiteral("00:00"); }, nullptr},
    {"heure impossible debut", [](Champs& c) { c.heuredebut = QStringLiteral("25:61"); },
     Verification::kHeureDebutInvalide},
    {"heure texte fin", [](Champs& c) { c.heurefin = QStringLiteral("abc"); }, Verification::kHeureFinInvalide},
    {"heure impossible et date vide: la date gagne",
     [](Champs& c) { c.heuredebut = QStringLiteral("25:61"); c.datedebut.clear(); }, Verification::kDateDebutVide},
    {"heure impossible et dates inversees: l'ordre gagne",
     [](Champs& c) { c.heurefin = QStringLiteral("25:61"); c.datefin = QStringLiteral("01/08/2005"); },
     Verification::kOrdreDates},
    {"adultes enormes", [](Champs& c) { c.nbadultes = QStringLiteral("999999"); }, Verification::kAdultes},
    {"adultes negatifs", [](Champs& c) { c.nbadultes = QStringLiteral("-3"); }, Verification::kAdultes},
    {"adultes texte", [](Champs& c) { c.nbadultes = QStringLiteral("x"); }, Verification::kAdultes},
    {"adultes vide vaut 0", [](Champs& c) { c.nbadultes.clear(); }, nullptr},
    {"enfants enormes", [](Champs& c) { c.nbenfants = QStringLiteral("999999"); }, Verification::kEnfants},
    {"enfants negatifs", [](Champs& c) { c.nbenfants = QStringLiteral("-3"); }, Verification::kEnfants},
    {"arrhes virgule", [](Champs& c) { c.arrhes = QStringLiteral("12,50"); }, nullptr},
    {"arrhes texte", [](Champs& c) { c.arrhes = QStringLiteral("douze"); }, Verification::kArrhes},
    {"arrhes negatives", [](Champs& c) { c.arrhes = QStringLiteral("-5"); }, Verification::kArrhes},
    {"date attendue vide", [](Champs& c) { c.datelimite.clear(); }, nullptr},
    {"date attendue illisible", [](Champs& c) { c.datelimite = QStringLiteral("31/02/2026"); },
     Verification::kDateLimite},
    {"objet tape a la main", [](Champs& c) { c.objet = QStringLiteral("Chalet des pins"); },
     Verification::kObjetInconnu},
    {"objet inconnu", [](Champs& c) { c.objet = QStringLiteral("7 : Yourte"); }, Verification::kObjetInconnu},
    {"objet par son numero seul", [](Champs& c) { c.objet = QStringLiteral("1"); }, nullptr},
    {"etat tape a la main", [](Champs& c) { c.etat = QStringLiteral("Annulé"); }, Verification::kEtatInconnu},
    {"etat inconnu et date fin vide: la date gagne",
     [](Champs& c) { c.etat = QStringLiteral("9 - X"); c.datefin.clear(); }, Verification::kDateFinVide},
};

} // namespace

TEST(Verification, DernierControleEnEchecDecide)
{
    for (const Cas& cas : kCas) {
        Champs c = valide();
        cas.modifier(c);
        const QString attendu = cas.message ? QString::fromUtf8(cas.message) : QString();
        EXPECT_EQ(verifier(c).toStdString(), attendu.toStdString()) << cas.nom;
    }
}

TEST(Verification, SansEtatsLaListeDesEtatsNestPasExigee)
{
    Champs c = valide();
    c.etat.clear();
    EXPECT_TRUE(Verification::Verifier(c, {12}, {}).isEmpty());
    EXPECT_EQ(Verification::Verifier(c, {}, {}).toStdString(), std::string(Verification::kObjetInconnu));
}

TEST(Verification, ToutesLesCombinaisonsDeDatesEtHeuresDonnentUnMessageOuUneReservationComplete)
{
    const QStringList valeurs = {QString(), QStringLiteral("abc"), QStringLiteral("31/02/2026"),
                                 QStringLiteral("1/1/26"), QStringLiteral("00:00"), QStringLiteral("25:61")};
    int acceptees = 0;
    for (const QString& dd : valeurs)
        for (const QString& hd : valeurs)
            for (const QString& df : valeurs)
                for (const QString& hf : valeurs) {
                    Champs c = valide();
                    c.datedebut = dd;
                    c.heuredebut = hd;
                    c.datefin = df;
                    c.heurefin = hf;
                    if (!verifier(c).isEmpty())
                        continue;
                    ++acceptees;
                    // Accepted only with readable dates and hours.
                    EXPECT_EQ(dd, QStringLiteral("1/1/26"));
                    EXPECT_EQ(df, QStringLiteral("1/1/26"));
                    EXPECT_EQ(hd, QStringLiteral("00:00"));
                    EXPECT_EQ(hf, QStringLiteral("00:00"));
                }
    EXPECT_EQ(acceptees, 1);
}
