#include "publicationconsole.h"

#include "publish/publication.h"
#include "config/chemins.h"
#include "app/demarrage.h"
#include "store/base.h"
#include "store/horloge.h"

#include <QSqlDatabase>

namespace Publication {

int PublierSansFenetre(bool demo, QTextStream& sortie, QTextStream& erreurs)
{
    const auto ouverte = Demarrage::OuvrirSansFenetre(erreurs);
    if (!ouverte)
        return SortieBase;
    if (demo && Base::estVide(ouverte->base)) {
        QString erreur;
        if (!Base::remplirDemo(ouverte->base, Horloge::aujourdhui(), &erreur))
            erreurs << "Données de démonstration : " << erreur << '\n';
    }

    MiseAJourPages run(ouverte->base, Chemins::dossierProgramme());
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
