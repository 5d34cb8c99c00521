#pragma once
// The charts of the figures (Qt Charts): occupancy per month as bars stacked
// by state with the rate above each bar, revenue per month stacked by kind,
// occupancy per unit as horizontal bars. Bars take the colours of their
// states; French month names; a chart without a figure says "Aucune donnée".
#include "statistiques/statistiques.h"

#include <QColor>
#include <QList>
#include <QString>

class QChart;

namespace Graphiques {

struct Etat {
    qint32 code = 0;
    QString nom;
    QColor couleur;
};

// The title of a chart that has nothing to show.
QString AucuneDonnee();

QChart* Occupation(const Statistiques::Chiffres& c, const QList<Etat>& etats);
QChart* Recettes(const Statistiques::Chiffres& c);
QChart* Unites(const Statistiques::Chiffres& c, const QList<Etat>& etats);

} // namespace Graphiques
