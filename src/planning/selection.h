#pragma once
// The calendar's selection box: "Tous", or one category of units, whose
// units alone the calendar and the day's lists then show. The choice is
// kept in the configuration file.
#include "store/requetes.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace Selection {

// The entry that shows every unit.
QString tous();

// Where the choice is kept: section "Planning", value "Selection".
QString section();
QString cle();

// The categories the units carry, each once, in alphabetical order (case
// and accents as French sorts them); a unit without one adds none.
QStringList categories(const QList<Requetes::Objet>& unites);

// The choice as it can be shown: "Tous" for an empty text, and for a
// category no unit carries any more (removed in the settings).
QString valable(const QString& choix, const QStringList& categories);

// The units of the chosen category, in their order; every unit for "Tous".
QList<Requetes::Objet> filtrer(const QList<Requetes::Objet>& unites, const QString& choix);

// The numbers of the chosen category's units; nothing for "Tous" (every
// unit, those removed since included).
std::optional<QSet<qint32>> numeros(const QList<Requetes::Objet>& unites, const QString& choix);

} // namespace Selection
