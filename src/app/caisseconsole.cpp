#include "caisseconsole.h"

#include "app/demarrage.h"
#include "facturation/caissedujour.h"
#include "store/requetes_caisse.h"

#include <QDate>
#include <QRegularExpression>

namespace CaisseConsole {

int ImprimerCaisse(const QString& jour, QTextStream& sortie, QTextStream& erreurs)
{
    // Exactly ten characters: "2026-12-9" or "2026-12-09x" are refused too.
    static const QRegularExpression forme(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QDate date = forme.match(jour).hasMatch() ? QDate::fromString(jour, QStringLiteral("yyyy-MM-dd")) : QDate();
    if (!date.isValid()) {
        erreurs << "Date invalide : « " << jour << " ». La date s'écrit AAAA-MM-JJ, par exemple 2026-12-09.\n";
        erreurs.flush();
        return SortieDate;
    }

    QString raison;
    int statut = SortieOK;
    const auto ouverte = Demarrage::OuvrirSansFenetre(erreurs);
    if (!ouverte) {
        statut = SortieBase;
    } else if (const auto lignes = RequetesCaisse::operationsDuJour(ouverte->base, date, &raison); !lignes) {
        erreurs << "Le journal des opérations ne peut pas être lu : " << raison << '\n';
        statut = SortieBase;
    } else {
        sortie << CaisseDuJour::Texte(CaisseDuJour::Calculer(date, *lignes));
    }
    sortie.flush();
    erreurs.flush();
    return statut;
}

} // namespace CaisseConsole
