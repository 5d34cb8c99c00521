#include "copieconsole.h"

#include "app/demarrage.h"
#include "store/base.h"
#include "store/copievers.h"
#include "store/dialecte.h"

#include <QFileInfo>
#include <QSqlDatabase>

namespace CopieConsole {

namespace {

constexpr const char* kConnexionCible = "CopieCible";

// True when both name the same database (the same file, or the same address).
bool memeBase(const QString& source, const QString& cible)
{
    if (Dialecte::estAdresse(source) || Dialecte::estAdresse(cible))
        return source.trimmed() == cible.trimmed();
    const QFileInfo a(source);
    const QFileInfo b(cible);
    if (a.exists() && b.exists())
        return a.canonicalFilePath() == b.canonicalFilePath();
    return a.absoluteFilePath() == b.absoluteFilePath();
}

int copier(const QSqlDatabase& source, const QString& cheminSource, const QString& cible, QTextStream& sortie,
           QTextStream& erreurs)
{
    const QString montree = Dialecte::masquer(cible);
    if (memeBase(cheminSource, cible)) {
        erreurs << "Copie refusée : la cible " << montree << " est la base elle-même.\n";
        return SortieNonVide;
    }
    QString raison;
    const auto base = Base::ouvrir(cible, Base::Ouverture::CreerSiAbsente, QLatin1String(kConnexionCible), &raison);
    if (!base) {
        erreurs << "La base cible ne s'ouvre pas : " << montree << " (" << Dialecte::masquer(raison) << ")\n";
        return SortieCible;
    }
    const CopieVers::Bilan bilan = CopieVers::Copier(source, *base);
    switch (bilan.issue) {
    case CopieVers::Bilan::Copiee:
        break;
    case CopieVers::Bilan::CibleNonVide:
        erreurs << "Copie refusée vers " << montree << " : " << bilan.erreur << ".\n";
        return SortieNonVide;
    case CopieVers::Bilan::EchecLecture:
    case CopieVers::Bilan::EchecEcriture:
        erreurs << "Copie impossible vers " << montree << " : " << bilan.erreur << ".\nRien n'est écrit.\n";
        return SortieEchec;
    }
    sortie << "Base copiée vers " << montree << " :\n";
    for (const CopieVers::Compte& c : bilan.comptes)
        sortie << "  " << c.table << " : " << c.lignes << (c.lignes > 1 ? " lignes" : " ligne") << '\n';
    if (bilan.dernierNumero > 0)
        sortie << QString::fromUtf8("Numéros de réservation déjà donnés : jusqu'au n° %1 ; la prochaine réservation "
                                    "aura le n° %2.\n")
                      .arg(bilan.dernierNumero)
                      .arg(bilan.dernierNumero + 1);
    return SortieOK;
}

} // namespace

int Copier(const QString& cible, QTextStream& sortie, QTextStream& erreurs)
{
    int statut = SortieSource;
    if (cible.trimmed().isEmpty()) {
        erreurs << "Copie impossible : --copier-vers attend un fichier ou une adresse postgresql://.\n";
        statut = SortieCible;
    } else if (const auto ouverte = Demarrage::OuvrirSansFenetre(erreurs)) {
        statut = copier(ouverte->base, Demarrage::LireCheminBase(ouverte->cheminINI), cible, sortie, erreurs);
    }
    QSqlDatabase::removeDatabase(QLatin1String(kConnexionCible));
    sortie.flush();
    erreurs.flush();
    return statut;
}

} // namespace CopieConsole
