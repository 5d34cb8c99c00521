#include "compte.h"

#include "store/conversion.h"
#include "store/dates.h"

namespace Compte {

namespace {

QString ligneDatee(const Requetes::Operation& o)
{
    return Dates::jjmmaahhnn(o.date) + QStringLiteral(" : ") + LibelleAffiche(o.libelle);
}

} // namespace

QString LibelleAffiche(const QString& libelle)
{
    if (libelle == QStringLiteral("Création de la reservation"))
        return QStringLiteral("Création de la réservation");
    return libelle;
}

std::optional<qint32> NumeroAffiche(const QString& caption)
{
    bool ok = false;
    const qint32 n = caption.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

Ticket LignesTicket(const QList<Requetes::Operation>& operations)
{
    Ticket t;
    for (const Requetes::Operation& o : operations) {
        t.lignes << LibelleAffiche(o.libelle) << Conversion::Monnaie(o.prix);
        t.total += o.prix;
    }
    return t;
}

QStringList LignesConso(const QList<Requetes::Operation>& operations)
{
    QStringList lignes;
    for (const Requetes::Operation& o : operations)
        lignes << ligneDatee(o) << Conversion::Monnaie(o.prix);
    return lignes;
}

QStringList LignesHisto(const QList<Requetes::Operation>& operations)
{
    QStringList lignes;
    for (const Requetes::Operation& o : operations)
        lignes << ligneDatee(o);
    return lignes;
}

} // namespace Compte
