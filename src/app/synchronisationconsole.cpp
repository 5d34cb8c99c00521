#include "synchronisationconsole.h"

#include "app/demarrage.h"
#include "flux/synchronisation.h"

namespace SynchronisationConsole {

int Synchroniser(QTextStream& sortie, QTextStream& erreurs)
{
    const auto ouverte = Demarrage::OuvrirSansFenetre(erreurs);
    if (!ouverte)
        return SortieBase;
    QString raison;
    Synchronisation::Synchroniseur run(ouverte->base, Synchronisation::HeureDebut(ouverte->cheminINI),
                                       Synchronisation::HeureFin(ouverte->cheminINI));
    QObject::connect(&run, &Synchronisation::Synchroniseur::avancement, [&sortie](const QString& ligne) {
        // Only the feeds read: a failure comes once, with the outcome.
        if (ligne.endsWith(QStringLiteral(" ... OK"))) {
            sortie << ligne << '\n';
            sortie.flush();
        }
    });
    const auto bilan = run.executer(&raison);
    if (!bilan) {
        erreurs << "La liste des calendriers ne peut pas être lue : " << raison << '\n';
        erreurs.flush();
        return SortieBase;
    }
    if (bilan->flux == 0)
        sortie << "Aucun calendrier externe.\n";
    else
        for (const QString& ligne : Synchronisation::Texte(*bilan))
            sortie << ligne << '\n';
    sortie.flush();
    for (const QString& echec : bilan->echecs)
        erreurs << echec << '\n';
    erreurs.flush();
    if (!bilan->echecs.isEmpty())
        return SortieEchec;
    return bilan->conflits.isEmpty() ? SortieOK : SortieConflits;
}

} // namespace SynchronisationConsole
