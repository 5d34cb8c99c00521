#include "selection.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace Selection {

namespace {

bool estTous(const QString& choix)
{
    return choix.trimmed().isEmpty() || choix.trimmed().compare(tous(), Qt::CaseInsensitive) == 0;
}

} // namespace

QString tous()
{
    return QStringLiteral("Tous");
}

QString section()
{
    return QStringLiteral("Planning");
}

QString cle()
{
    return QStringLiteral("Selection");
}

QStringList categories(const QList<Requetes::Objet>& unites)
{
    QStringList liste;
    for (const Requetes::Objet& u : unites) {
        const QString c = u.categorie.trimmed();
        if (!c.isEmpty() && !liste.contains(c))
            liste.append(c);
    }
    QCollator ordre{QLocale(QLocale::French, QLocale::France)};
    ordre.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(liste.begin(), liste.end(), [&](const QString& a, const QString& b) { return ordre.compare(a, b) < 0; });
    return liste;
}

QString valable(const QString& choix, const QStringList& categories)
{
    const QString c = choix.trimmed();
    if (estTous(c) || !categories.contains(c))
        return tous();
    return c;
}

QList<Requetes::Objet> filtrer(const QList<Requetes::Objet>& unites, const QString& choix)
{
    if (estTous(choix))
        return unites;
    QList<Requetes::Objet> gardees;
    for (const Requetes::Objet& u : unites)
        if (u.categorie.trimmed() == choix.trimmed())
            gardees.append(u);
    return gardees;
}

std::optional<QSet<qint32>> numeros(const QList<Requetes::Objet>& unites, const QString& choix)
{
    if (estTous(choix))
        return std::nullopt;
    QSet<qint32> n;
    for (const Requetes::Objet& u : filtrer(unites, choix))
        n.insert(u.numero);
    return n;
}

} // namespace Selection
