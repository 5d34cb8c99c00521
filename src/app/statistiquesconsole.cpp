#include "statistiquesconsole.h"

#include "app/demarrage.h"
#include "config/fichiers.h"
#include "facturation/etablissement.h"
#include "statistiques/restedu.h"
#include "statistiques/statistiques.h"
#include "statistiques/tableaux.h"

#include <QDate>
#include <QRegularExpression>

namespace StatistiquesConsole {

namespace {

QDate lireDate(const QString& texte)
{
    // Exactly ten characters: "2026-12-9" is refused too.
    static const QRegularExpression forme(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    return forme.match(texte).hasMatch() ? QDate::fromString(texte, QStringLiteral("yyyy-MM-dd")) : QDate();
}

} // namespace

int Executer(const QString& debut, const QString& fin, const QString& csv, QTextStream& sortie, QTextStream& erreurs)
{
    const auto fini = [&](int statut) {
        sortie.flush();
        erreurs.flush();
        return statut;
    };
    const QDate premier = lireDate(debut);
    const QDate dernier = lireDate(fin);
    for (const auto& [texte, date] : {std::pair{debut, premier}, std::pair{fin, dernier}})
        if (!date.isValid()) {
            erreurs << "Date invalide : « " << texte << " ». La date s'écrit AAAA-MM-JJ, par exemple 2026-12-09.\n";
            return fini(SortiePeriode);
        }
    const QString refus = Statistiques::ErreurPeriode(premier, dernier);
    if (!refus.isEmpty()) {
        erreurs << refus << '\n';
        return fini(SortiePeriode);
    }

    const auto ouverte = Demarrage::OuvrirSansFenetre(erreurs);
    if (!ouverte)
        return fini(SortieBase);
    QString raison;
    const auto chiffres = Statistiques::Calculer(ouverte->base, premier, dernier, std::nullopt, &raison);
    if (!chiffres) {
        erreurs << "Les chiffres ne peuvent pas être lus : " << raison << '\n';
        return fini(SortieBase);
    }
    const auto reste = ResteDu::Lire(ouverte->base, premier, dernier, std::nullopt,
                                     Etablissement::TaxeDeSejour(ouverte->cheminINI), &raison);
    if (!reste) {
        erreurs << "Les comptes ne peuvent pas être lus : " << raison << '\n';
        return fini(SortieBase);
    }
    if (csv.isEmpty()) {
        sortie << Tableaux::Texte(*chiffres, &*reste);
        return fini(SortieOK);
    }
    const QByteArray octets = Tableaux::Csv({Tableaux::Resume(*chiffres, &*reste), Tableaux::ParMois(*chiffres),
                                             Tableaux::ParUnite(*chiffres), Tableaux::ResteDu(*reste)});
    if (const QString raison = Fichiers::Ecrire(csv, octets); !raison.isEmpty()) {
        erreurs << Fichiers::MessageNonEcrit(csv, raison) << '\n';
        return fini(SortieFichier);
    }
    sortie << "Statistiques écrites dans " << csv << '\n';
    return fini(SortieOK);
}

} // namespace StatistiquesConsole
