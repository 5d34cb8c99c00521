#include "suppression.h"

#include "store/dates.h"

namespace Suppression {

namespace {

// A client name typed on several lines reads on one.
QString client(const Requetes::Reservation& r)
{
    QString nom = r.nomclient;
    nom.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    nom.replace(QLatin1Char('\n'), QLatin1Char(' '));
    nom.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return nom.trimmed();
}

QString jour(const QDateTime& moment)
{
    return moment.isValid() ? Dates::jjmmaaaa(moment.date()) : QString();
}

} // namespace

QString Question(const Requetes::Reservation& r)
{
    return QStringLiteral("Supprimer la réservation %1 de %2 du %3 au %4 ? Les opérations du compte sont conservées.")
        .arg(QString::number(r.numero), client(r), jour(r.debut), jour(r.fin));
}

QString Libelle(const Requetes::Reservation& r, const QString& unite)
{
    return QStringLiteral("Suppression de la réservation (%1, %2, %3 - %4)")
        .arg(client(r), unite, jour(r.debut), jour(r.fin));
}

QString NomUnite(const QList<Requetes::Objet>& objets, qint32 numero)
{
    for (const Requetes::Objet& o : objets)
        if (o.numero == numero && !o.nom.toString().isEmpty())
            return o.nom.toString();
    return QString::number(numero);
}

} // namespace Suppression
