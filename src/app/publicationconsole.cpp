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

    switch (issue) {
    case Issue::Envoyee:
        sortie << "Bascule en FTP ... " << kScriptEnvoi << " lancé\n";
        return SortieOK;
    case Issue::SansScript:
        sortie << "Pas de " << run.script() << " : les pages ne sont pas envoyées\n";
        return SortieOK;
    case Issue::AucunObjet:
        erreurs << run.erreur() << '\n';
        return SortieAucunObjet;
    case Issue::Echec:
        break;
    }
    erreurs << run.erreur() << "\nPublication arrêtée : rien n'est envoyé.\n";
    return SortieEchec;
}

} // namespace Publication
