#include "arrhesarecevoir.h"

#include "store/conversion.h"
#include "store/dates.h"

#include <algorithm>

namespace ArrhesARecevoir {

namespace {

bool avant(const Ligne& a, const Ligne& b)
{
    const bool datee = a.sejour.datelimite.isValid();
    if (datee != b.sejour.datelimite.isValid())
        return datee;
    if (datee && a.sejour.datelimite.date() != b.sejour.datelimite.date())
        return a.sejour.datelimite.date() < b.sejour.datelimite.date();
    if (a.sejour.debut != b.sejour.debut)
        return a.sejour.debut < b.sejour.debut;
    return a.sejour.numero < b.sejour.numero;
}

} // namespace

QList<Ligne> Lister(const QList<Demande>& demandes, const QDate& aujourdhui)
{
    QList<Ligne> lignes;
    for (const Demande& d : demandes) {
        if (!d.debut.isValid() || !d.fin.isValid() || d.fin.date() < aujourdhui)
            continue;
        Ligne l;
        l.sejour = d;
        l.reste = Conversion::ArrondiCentime(d.arrhes - d.recu);
        if (l.reste <= 0)
            continue;
        if (d.datelimite.isValid() && d.datelimite.date() < aujourdhui)
            l.joursDeRetard = int(d.datelimite.date().daysTo(aujourdhui));
        lignes.append(l);
    }
    std::sort(lignes.begin(), lignes.end(), avant);
    return lignes;
}

QString TexteRetard(int jours)
{
    return QString::number(jours) + (jours > 1 ? QStringLiteral(" jours de retard") : QStringLiteral(" jour de retard"));
}

QStringList TitresColonnes()
{
    return {QStringLiteral("Unité"), QStringLiteral("Client"), QStringLiteral("Séjour"), QStringLiteral("Demandé"),
            QStringLiteral("Reçu"), QStringLiteral("Reste dû"), QStringLiteral("Échéance")};
}

QStringList Textes(const Ligne& l)
{
    const Demande& s = l.sejour;
    // The client's name may hold several lines: the list shows one.
    QString client = s.client;
    client.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // A two-digit year is enough for dates this near.
    auto jour = [](const QDateTime& d) { return d.date().toString(QStringLiteral("dd/MM/yy")); };
    QString echeance = s.datelimite.isValid() ? jour(s.datelimite) : QString();
    if (l.enRetard())
        echeance += QStringLiteral(" (") + TexteRetard(l.joursDeRetard) + QLatin1Char(')');
    return {s.unite.isEmpty() ? QString::number(s.objet) : s.unite,
            client.trimmed(),
            jour(s.debut) + QStringLiteral(" – ") + jour(s.fin),
            Conversion::Monnaie(s.arrhes),
            Conversion::Monnaie(s.recu),
            Conversion::Monnaie(l.reste),
            echeance};
}

double Total(const QList<Ligne>& lignes)
{
    double total = 0;
    for (const Ligne& l : lignes)
        total += l.reste;
    return Conversion::ArrondiCentime(total);
}

} // namespace ArrhesARecevoir
