#include "graphiques.h"

#include "statistiques/tableaux.h"
#include "store/dates.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QHorizontalStackedBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace Graphiques {

namespace {

// Past two years of months, the rates over the bars would overlap.
constexpr int kMoisAvecEtiquettes = 24;

QChart* nouveau(const QString& titre)
{
    auto* chart = new QChart;
    chart->setTitle(titre);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

QChart* vide(const QString& titre)
{
    QChart* chart = nouveau(AucuneDonnee());
    chart->setObjectName(titre);
    chart->legend()->hide();
    return chart;
}

// "mars" for a few months of one year, "sept." for a whole year, "mars 26"
// over several years.
QStringList nomsDesMois(const Statistiques::Chiffres& c)
{
    const bool plusieursAnnees = c.debut.year() != c.fin.year();
    const bool abreges = c.parMois.size() > 6;
    QStringList noms;
    for (const auto& m : c.parMois) {
        const int n = m.mois.month();
        if (plusieursAnnees)
            noms.append(Dates::nomMoisAbrege(n) + QLatin1Char(' ') + m.mois.toString(QStringLiteral("yy")));
        else
            noms.append(abreges ? Dates::nomMoisAbrege(n) : Dates::nomMoisMinuscule(n));
    }
    return noms;
}

QValueAxis* axePourcent(double maximum)
{
    auto* axe = new QValueAxis;
    axe->setRange(0, std::max(100.0, std::ceil(maximum / 10) * 10));
    axe->setLabelFormat(QStringLiteral("%d %"));
    axe->setTickCount(6);
    return axe;
}

// The states that have nights somewhere, in the order of the states.
template <typename T>
QList<Etat> etatsPresents(const QList<T>& lignes, const QList<Etat>& etats)
{
    QList<Etat> presents;
    for (const Etat& e : etats)
        for (const T& l : lignes)
            if (l.nuitsParEtat.value(e.code) > 0) {
                presents.append(e);
                break;
            }
    // Nights of a state missing from the list still show, in grey.
    for (const T& l : lignes)
        for (auto it = l.nuitsParEtat.begin(); it != l.nuitsParEtat.end(); ++it)
            if (it.value() > 0 && std::none_of(presents.begin(), presents.end(),
                                               [&](const Etat& e) { return e.code == it.key(); }))
                presents.append({it.key(), QStringLiteral("État %1").arg(it.key()), Qt::gray});
    return presents;
}

} // namespace

QString AucuneDonnee()
{
    return QStringLiteral("Aucune donnée");
}

QChart* Occupation(const Statistiques::Chiffres& c, const QList<Etat>& etats)
{
    if (c.nuitsVendues == 0 || c.parMois.isEmpty())
        return vide(QStringLiteral("occupation"));
    QChart* chart = nouveau(QStringLiteral("Occupation par mois"));
    chart->setObjectName(QStringLiteral("occupation"));
    auto* series = new QStackedBarSeries;
    for (const Etat& e : etatsPresents(c.parMois, etats)) {
        auto* set = new QBarSet(e.nom);
        set->setColor(e.couleur);
        set->setBorderColor(e.couleur.darker(130));
        for (const auto& m : c.parMois)
            set->append(m.disponibles > 0 ? 100.0 * double(m.nuitsParEtat.value(e.code)) / double(m.disponibles) : 0.0);
        series->append(set);
    }
    chart->addSeries(series);
    auto* axeX = new QBarCategoryAxis;
    axeX->append(nomsDesMois(c));
    double maximum = 0;
    for (const auto& m : c.parMois)
        maximum = std::max(maximum, m.taux);
    QValueAxis* axeY = axePourcent(maximum);
    chart->addAxis(axeX, Qt::AlignBottom);
    chart->addAxis(axeY, Qt::AlignLeft);
    series->attachAxis(axeX);
    series->attachAxis(axeY);

    // The month's rate, rounded, above its bar.
    if (c.parMois.size() <= kMoisAvecEtiquettes) {
        auto* taux = new QLineSeries;
        taux->setName(QStringLiteral("Taux"));
        taux->setPen(QPen(Qt::transparent));
        for (int i = 0; i < c.parMois.size(); ++i)
            taux->append(i, std::round(c.parMois[i].taux));
        taux->setPointLabelsVisible(true);
        taux->setPointLabelsClipping(false);
        taux->setPointLabelsFormat(QStringLiteral("@yPoint %"));
        chart->addSeries(taux);
        taux->attachAxis(axeX);
        taux->attachAxis(axeY);
        chart->legend()->markers(taux).value(0)->setVisible(false);
    }
    return chart;
}

QChart* Recettes(const Statistiques::Chiffres& c)
{
    bool rien = true;
    for (const auto& m : c.parMois)
        for (double r : m.recettes)
            rien = rien && r == 0;
    if (rien)
        return vide(QStringLiteral("recettes"));
    QChart* chart = nouveau(QStringLiteral("Recettes par mois (€)"));
    chart->setObjectName(QStringLiteral("recettes"));
    const QColor couleurs[Statistiques::NombreDeNatures] = {QColor(0x2E, 0x7D, 0x32), QColor(0x15, 0x65, 0xC0),
                                                            QColor(0xEF, 0x6C, 0x00), QColor(0x75, 0x75, 0x75)};
    auto* series = new QStackedBarSeries;
    for (int n = 0; n < Statistiques::NombreDeNatures; ++n) {
        auto* set = new QBarSet(Statistiques::NomNature(n));
        set->setColor(couleurs[n]);
        for (const auto& m : c.parMois)
            set->append(m.recettes[size_t(n)]);
        series->append(set);
    }
    chart->addSeries(series);
    auto* axeX = new QBarCategoryAxis;
    axeX->append(nomsDesMois(c));
    auto* axeY = new QValueAxis;
    axeY->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axeX, Qt::AlignBottom);
    chart->addAxis(axeY, Qt::AlignLeft);
    series->attachAxis(axeX);
    series->attachAxis(axeY);
    axeY->applyNiceNumbers();
    return chart;
}

QChart* Unites(const Statistiques::Chiffres& c, const QList<Etat>& etats)
{
    if (c.nuitsVendues == 0 || c.parUnite.isEmpty())
        return vide(QStringLiteral("unites"));
    QChart* chart = nouveau(QStringLiteral("Occupation par logement"));
    chart->setObjectName(QStringLiteral("unites"));
    const qint64 jours = c.debut.daysTo(c.fin) + 1;
    // The axis draws its first category at the bottom: the units go in
    // reverse so that the first one reads at the top, as in the table.
    QList<Statistiques::ParUnite> parUnite = c.parUnite;
    std::reverse(parUnite.begin(), parUnite.end());
    auto* series = new QHorizontalStackedBarSeries;
    for (const Etat& e : etatsPresents(c.parUnite, etats)) {
        auto* set = new QBarSet(e.nom);
        set->setColor(e.couleur);
        set->setBorderColor(e.couleur.darker(130));
        for (const auto& u : parUnite)
            set->append(100.0 * double(u.nuitsParEtat.value(e.code)) / double(jours));
        series->append(set);
    }
    chart->addSeries(series);
    auto* axeY = new QBarCategoryAxis;
    // Category names must differ: a repeated name gets its number.
    QStringList noms;
    for (const auto& u : parUnite) {
        QString nom = u.nom.trimmed().isEmpty() ? QString::number(u.numero) : u.nom;
        if (noms.contains(nom))
            nom += QStringLiteral(" (%1)").arg(u.numero);
        noms.append(nom);
    }
    axeY->append(noms);
    double maximum = 0;
    for (const auto& u : c.parUnite)
        maximum = std::max(maximum, u.taux);
    QValueAxis* axeX = axePourcent(maximum);
    chart->addAxis(axeY, Qt::AlignLeft);
    chart->addAxis(axeX, Qt::AlignBottom);
    series->attachAxis(axeY);
    series->attachAxis(axeX);
    return chart;
}

} // namespace Graphiques
