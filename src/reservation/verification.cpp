#include "verification.h"

#include "saisie.h"

namespace Verification {

namespace {

bool dansListe(const QString& texte, const QList<qint32>& numeros)
{
    if (texte.trimmed().isEmpty())
        return false;
    return numeros.contains(Saisie::NumeroEntree(texte));
}

bool heureInvalide(const QString& texte)
{
    return !texte.isEmpty() && !Saisie::LireHeure(texte);
}

} // namespace

QString Verifier(const Champs& s, const QList<qint32>& objets, const QList<qint32>& etats,
                 const std::optional<Tarification::Calcul>& prix)
{
    // "31/02/2027" is not a stay in the wrong order: say what is wrong with
    // it before anything else. An empty box has its own message below.
    const QString debutTape = s.datedebut.trimmed();
    const QString finTapee = s.datefin.trimmed();
    const auto debut = Saisie::LireJour(debutTape);
    const auto fin = Saisie::LireJour(finTapee);
    if (!debutTape.isEmpty() && !debut)
        return QString::fromUtf8(kDateDebutInvalide) + debutTape;
    if (!finTapee.isEmpty() && !fin)
        return QString::fromUtf8(kDateFinInvalide) + finTapee;

    QString message;
    auto echec = [&message](bool condition, const char* texte) {
        if (condition)
            message = QString::fromUtf8(texte);
    };

    // Checks of the values themselves come first, so that the checks of the
    // dates, which come last, decide when they fail too.
    echec(!dansListe(s.objet, objets), kObjetInconnu);
    echec(!etats.isEmpty() && !dansListe(s.etat, etats), kEtatInconnu);
    echec(!Saisie::LireEffectif(s.nbadultes), kAdultes);
    echec(!Saisie::LireEffectif(s.nbenfants), kEnfants);
    QString arrhes;
    if (!Saisie::ArrhesDuSejour(s.arrhes, prix, &arrhes))
        message = arrhes;
    echec(!s.datelimite.trimmed().isEmpty() && !Saisie::LireJour(s.datelimite), kDateLimite);
    echec(heureInvalide(s.heuredebut), kHeureDebutInvalide);
    echec(heureInvalide(s.heurefin), kHeureFinInvalide);

    echec(debutTape.isEmpty(), kDateDebutVide);
    echec(s.heuredebut.isEmpty(), kHeureDebutVide);
    echec(finTapee.isEmpty(), kDateFinVide);
    echec(s.heurefin.isEmpty(), kHeureFinVide);
    echec(debut && fin && *fin < *debut, kOrdreDates);
    return message;
}

} // namespace Verification
