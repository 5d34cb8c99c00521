#include "publicationconsole.h"

#include "publish/publication.h"
#include "config/chemins.h"
#include "app/demarrage.h"
#include "config/langues.h"
#include "store/base.h"
#include "store/horloge.h"

#include <QSqlDatabase>

namespace Publication {

int PublierSansFenetre(bool demo, QTextStream& sortie, QTextStream& erreurs)
{
    // The start-up's configuration and database opening. No backup slot: a
    // nightly run only reads the database and must not push the backups of
    // the days' real starts out of the rotation.
    const QString cheminINI = Demarrage::CheminIniParDefaut();
    Langues::fixerFichier(cheminINI);
    const QString cheminBase = Demarrage::LireCheminBase(cheminINI);

    QString raison;
    const auto base = Demarrage::OuvrirBase(cheminBase, &raison);
    if (!base) {
        erreurs << Demarrage::MessageEchecOuverture(cheminBase) << " (" << raison << ")\n";
        erreurs.flush();
        return SortieBase;
    }
    if (demo && Base::estVide(*base)) {
        QString erreur;
        if (!Base::remplirDemo(*base, Horloge::aujourdhui(), &erreur))
            erreurs << "Données de démonstration : " << erreur << '\n';
    }

    MiseAJourPages run(*base, Chemins::dossierProgramme());
    QObject::connect(&run, &MiseAJourPages::pageEcrite, [&sortie](const QString& nom, const QString& fichier) {
        sortie << nom << " ... OK ! (" << fichier << ")\n";
        sortie.flush();
    });
    const Issue issue = run.executer();

    // The same outcome lines as the window's.
    const bool reussie = issue == Issue::Envoyee || issue == Issue::SansScript;
    QTextStream& flux = reussie ? sortie : erreurs;
    for (const QString& ligne : run.bilan(issue))
        flux << ligne << '\n';
    flux.flush();
    switch (issue) {
    case Issue::Envoyee:
    case Issue::SansScript:
        return SortieOK;
    case Issue::AucunObjet:
        return SortieAucunObjet;
    case Issue::Echec:
        break;
    }
    return SortieEchec;
}

} // namespace Publication
