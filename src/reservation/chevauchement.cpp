#include "chevauchement.h"

#include "store/dates.h"

namespace Chevauchement {

QString NomAffiche(const QString& nomclient)
{
    // The name box holds several lines; the question wants one.
    const QString nom = nomclient.simplified();
    if (nom.size() <= kLongueurNom)
        return nom;
    return nom.left(kLongueurNom - 1).trimmed() + QChar(0x2026);
}

QString Question(const QList<Requetes::Reservation>& autres)
{
    if (autres.isEmpty())
        return QString();
    const Requetes::Reservation& premiere = autres.first();
    QString texte = QStringLiteral("Ce logement est déjà occupé du %1 au %2")
                        .arg(Dates::jjmmaaaa(premiere.debut.date()), Dates::jjmmaaaa(premiere.fin.date()));
    const QString nom = NomAffiche(premiere.nomclient);
    if (!nom.isEmpty())
        texte += QStringLiteral(" (%1)").arg(nom);
    const qsizetype restantes = autres.size() - 1;
    if (restantes == 1)
        texte += QStringLiteral(" et par 1 autre réservation");
    else if (restantes > 1)
        texte += QStringLiteral(" et par %1 autres réservations").arg(restantes);
    return texte + QStringLiteral(". Enregistrer quand même ?");
}

} // namespace Chevauchement
