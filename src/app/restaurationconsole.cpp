#include "restaurationconsole.h"

#include "demarrage.h"
#include "sauvegardes.h"
#include "sauvegardeserveur.h"
#include "config/langues.h"
#include "store/base.h"
#include "store/dialecte.h"
#include "store/numeros.h"

#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>

namespace Restauration {

namespace {

// The highest reservation number the server's database gave (0 when it
// does not answer: the restore line is given without the numbers' line).
qint64 numerosDuServeur(const QString& adresse)
{
    const QString connexion = QStringLiteral("NumerosServeur");
    qint64 n = 0;
    {
        const auto base = Base::ouvrir(adresse, Base::Ouverture::Existante, connexion);
        if (base)
            n = Numeros::plusGrandUtilise(*base).value_or(0);
    }
    QSqlDatabase::removeDatabase(connexion);
    return n;
}

} // namespace

int RestaurerSansFenetre(const QString& numero, QTextStream& sortie, QTextStream& erreurs)
{
    const QString cheminINI = Demarrage::CheminIniParDefaut();
    Langues::fixerFichier(cheminINI);
    const QString cheminBase = Demarrage::LireCheminBase(cheminINI);

    bool ok = false;
    const int n = numero.trimmed().toInt(&ok);
    // A server's database is restored with pg_restore, not by this program.
    if (Dialecte::estAdresse(cheminBase)) {
        QString fichier = Sauvegardes::Dossier() + QLatin1Char('/')
                        + Demarrage::NomSauvegardeBase(Sauvegardes::NomCreneaux(cheminBase), ok ? n : 0);
        for (const Sauvegardes::Creneau& c : Sauvegardes::Lister(cheminBase))
            if (ok && c.numero == n)
                fichier = c.chemin;
        erreurs << SauvegardeServeur::MessageRestauration(cheminBase, fichier, numerosDuServeur(cheminBase))
                << "\nRien n'est changé.\n";
        return SortieServeur;
    }
    std::optional<Sauvegardes::Creneau> creneau;
    if (ok) {
        for (const Sauvegardes::Creneau& c : Sauvegardes::Lister(cheminBase))
            if (c.numero == n)
                creneau = c;
    }
    if (!creneau) {
        erreurs << QString::fromUtf8("Pas de sauvegarde n° %1 de %2 dans %3\n")
                       .arg(numero, QFileInfo(cheminBase).fileName(), Sauvegardes::Dossier());
        return SortieCreneau;
    }
    const QString date = QLocale().toString(creneau->date, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    const CopieBase::Controle controle = Sauvegardes::Verifier(creneau->chemin);
    if (!controle.saine) {
        erreurs << QString::fromUtf8("La sauvegarde n° %1 du %2 est endommagée : %3\nRien n'est changé.\n")
                       .arg(n).arg(date, controle.premiereLigne);
        return SortieEndommagee;
    }
    const Sauvegardes::Restauration r = Sauvegardes::Restaurer(cheminBase, creneau->chemin);
    if (!r.reussie) {
        erreurs << QString::fromUtf8("Restauration impossible : %1\nRien n'est changé.\n").arg(r.erreur);
        return SortieEchec;
    }
    sortie << QString::fromUtf8("Sauvegarde n° %1 du %2 restaurée dans %3\n").arg(n).arg(date, cheminBase);
    if (!r.gardee.isEmpty())
        sortie << QString::fromUtf8("Base précédente gardée : %1\n").arg(r.gardee);
    if (r.numerosGardes > 0)
        sortie << Sauvegardes::MessageNumerosGardes(r.numerosGardes) << '\n';
    sortie.flush();

    // The restored file must open as this program's database.
    const QString connexion = QStringLiteral("Restauree");
    QString raison;
    const bool ouverte = Base::ouvrir(cheminBase, Base::Ouverture::Existante, connexion, &raison).has_value();
    QSqlDatabase::removeDatabase(connexion);
    if (!ouverte) {
        erreurs << Demarrage::MessageEchecOuverture(cheminBase) << " (" << raison << ")\n";
        return SortieRouverture;
    }
    return SortieOK;
}

} // namespace Restauration
