#include "etablissement.h"

#include "config/fichierini.h"
#include "config/ini32.h"
#include "store/conversion.h"

#include <algorithm>
#include <cmath>

namespace Etablissement {

namespace {

const QString kSection = QStringLiteral("etablissement");
const QString kFacturation = QStringLiteral("facturation");
const QString kTaxe = QStringLiteral("taxe de sejour");
const QString kFrais = QStringLiteral("frais d'annulation");
const QString kPorter = QStringLiteral("porter automatiquement");
const QString kArrhes = QStringLiteral("arrhes");
const QString kDelai = QStringLiteral("delai des arrhes");

bool registre(const QString& cheminINI)
{
    return cheminINI.startsWith(QLatin1Char('$'));
}

// ProfilINI reads at most 589 characters: the conditions of a contract are
// longer, so a file is read directly (the same file ProfilINI designates).
QString lire(const QString& cheminINI, const QString& section, const QString& cle, const QString& defaut)
{
    if (registre(cheminINI))
        return INI32::ProfilINI(section, cle, defaut, cheminINI, 1);
    return FichierIni::lire(INI32::CheminFichier(cheminINI), section, cle).value_or(defaut);
}

// ProfilINI never tells a failed write; the settings window must.
bool ecrire(const QString& cheminINI, const QString& section, const QString& cle, const QString& valeur)
{
    if (registre(cheminINI)) {
        INI32::ProfilINI(section, cle, valeur, cheminINI, 0);
        return true;
    }
    return FichierIni::ecrire(INI32::CheminFichier(cheminINI), section, cle, valeur);
}

} // namespace

const QList<Champ>& Champs()
{
    static const QList<Champ> champs = {
        {QStringLiteral("nom"), &Coordonnees::nom},
        {QStringLiteral("adresse"), &Coordonnees::adresse},
        {QStringLiteral("code postal"), &Coordonnees::codePostal},
        {QStringLiteral("ville"), &Coordonnees::ville},
        {QStringLiteral("telephone"), &Coordonnees::telephone},
        {QStringLiteral("email"), &Coordonnees::email},
        {QStringLiteral("siret"), &Coordonnees::siret},
        {QStringLiteral("numero tva"), &Coordonnees::numeroTVA},
        {QStringLiteral("conditions"), &Coordonnees::conditions},
    };
    return champs;
}

Coordonnees Lire(const QString& cheminINI)
{
    Coordonnees c;
    for (const Champ& champ : Champs())
        c.*champ.membre = lire(cheminINI, kSection, champ.cle, QString());
    return c;
}

bool Ecrire(const QString& cheminINI, const QString& cle, const QString& valeur)
{
    return ecrire(cheminINI, kSection, cle, valeur);
}

double TaxeDeSejour(const QString& cheminINI)
{
    const auto montant = Conversion::LireMontant(lire(cheminINI, kFacturation, kTaxe, QStringLiteral("0")));
    return montant && *montant > 0 ? Conversion::ArrondiCentime(*montant) : 0.0;
}

bool EcrireTaxeDeSejour(const QString& cheminINI, double montant)
{
    return ecrire(cheminINI, kFacturation, kTaxe, QString::number(Conversion::ArrondiCentime(montant), 'g', 15));
}

namespace {

MontantOuPourcentage::Valeur lireValeur(const QString& cheminINI, const QString& cle, double pourcentParDefaut)
{
    const auto v = MontantOuPourcentage::Lire(lire(cheminINI, kFacturation, cle, QString()));
    return v ? *v : MontantOuPourcentage::Valeur{pourcentParDefaut, true};
}

} // namespace

MontantOuPourcentage::Valeur FraisAnnulation(const QString& cheminINI)
{
    return lireValeur(cheminINI, kFrais, 0);
}

bool PorterAutomatiquement(const QString& cheminINI)
{
    return lire(cheminINI, kFacturation, kPorter, QStringLiteral("OUI")).trimmed().toUpper() != QLatin1String("NON");
}

MontantOuPourcentage::Valeur Arrhes(const QString& cheminINI)
{
    return lireValeur(cheminINI, kArrhes, 30);
}

int DelaiArrhes(const QString& cheminINI)
{
    const auto jours = Conversion::LireEntier(lire(cheminINI, kFacturation, kDelai, QStringLiteral("7")));
    return jours && *jours <= 365 ? int(*jours) : 7;
}

bool EcrireFraisAnnulation(const QString& cheminINI, const MontantOuPourcentage::Valeur& v)
{
    return ecrire(cheminINI, kFacturation, kFrais, v.texte());
}

bool EcrirePorterAutomatiquement(const QString& cheminINI, bool oui)
{
    return ecrire(cheminINI, kFacturation, kPorter, oui ? QStringLiteral("OUI") : QStringLiteral("NON"));
}

bool EcrireArrhes(const QString& cheminINI, const MontantOuPourcentage::Valeur& v)
{
    return ecrire(cheminINI, kFacturation, kArrhes, v.texte());
}

bool EcrireDelaiArrhes(const QString& cheminINI, int jours)
{
    return ecrire(cheminINI, kFacturation, kDelai, QString::number(std::clamp(jours, 0, 365)));
}

} // namespace Etablissement
