#include "rapprochement.h"

#include "store/dates.h"

#include <QHash>
#include <QRegularExpression>
#include <QUrl>

namespace Rapprochement {

namespace {

QString jourMois(const QDateTime& moment)
{
    return moment.date().toString(QStringLiteral("dd/MM"));
}

} // namespace

Plan Comparer(const QList<CalendrierICS::Evenement>& evenements, const QList<Importee>& importees,
              const QDate& aujourdhui)
{
    Plan plan;
    QHash<QString, const CalendrierICS::Evenement*> parUid;
    for (const CalendrierICS::Evenement& e : evenements)
        parUid.insert(e.uid, &e);   // the last event of a UID wins, as when reading

    QHash<QString, qint32> dejaImportes;
    for (const Importee& r : importees) {
        const bool passee = r.fin.isValid() && r.fin.date() < aujourdhui;
        const CalendrierICS::Evenement* e = parUid.value(r.uid, nullptr);
        if (dejaImportes.contains(r.uid) || (!e && !passee)) {
            plan.suppressions.append(r.numero);
            continue;
        }
        dejaImportes.insert(r.uid, r.numero);
        if (!e || passee)
            continue;
        if (r.debut.date() != e->arrivee || r.fin.date() != e->depart)
            plan.deplacements.append({r.numero, *e});
    }
    QHash<QString, bool> crees;
    for (const CalendrierICS::Evenement& e : evenements) {
        if (dejaImportes.contains(e.uid) || crees.contains(e.uid) || e.depart < aujourdhui)
            continue;
        crees.insert(e.uid, true);
        plan.creations.append(*parUid.value(e.uid));
    }
    return plan;
}

QDateTime Arrivee(const CalendrierICS::Evenement& e, const QTime& heureDebut)
{
    return Dates::naive(e.arrivee, heureDebut);
}

QDateTime Depart(const CalendrierICS::Evenement& e, const QTime& heureFin)
{
    return Dates::naive(e.depart, heureFin);
}

QList<Conflit> Conflits(const QString& nomObjet, const QList<Sejour>& duPortail, const QList<Sejour>& autres)
{
    QList<Conflit> lignes;
    for (const Sejour& p : duPortail)
        for (const Sejour& a : autres) {
            if (a.numero == p.numero || !a.debut.isValid() || !a.fin.isValid())
                continue;
            if (p.debut < a.fin && a.debut < p.fin)
                lignes.append({p.numero, a.numero, QStringLiteral("%1 : %2 %3–%4 chevauche %5 %6–%7")
                                  .arg(nomObjet, p.client, jourMois(p.debut), jourMois(p.fin), a.client,
                                       jourMois(a.debut), jourMois(a.fin))});
        }
    return lignes;
}

QStringList Adresses(const QString& saisie)
{
    static const QRegularExpression blancs(QStringLiteral("\\s+"));
    QStringList adresses;
    for (const QString& a : saisie.split(blancs, Qt::SkipEmptyParts))
        if (!adresses.contains(a))
            adresses.append(a);
    return adresses;
}

std::optional<QString> AdresseRefusee(const QString& adresse)
{
    if (adresse.startsWith(QLatin1Char('/')))
        return std::nullopt;
    const QUrl url(adresse, QUrl::StrictMode);
    const QString schema = url.scheme().toLower();
    if (url.isValid() && schema == QStringLiteral("file") && !url.toLocalFile().isEmpty())
        return std::nullopt;
    if (url.isValid() && (schema == QStringLiteral("http") || schema == QStringLiteral("https"))
        && !url.host().isEmpty())
        return std::nullopt;
    return QStringLiteral("Adresse de calendrier non reconnue : « %1 ». Une adresse commence par http://, "
                          "https:// ou file://, ou c'est le chemin complet d'un fichier (/…).").arg(adresse);
}

} // namespace Rapprochement
