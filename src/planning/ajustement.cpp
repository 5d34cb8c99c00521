#include "ajustement.h"

#include "store/dates.h"

#include <QStringList>
#include <algorithm>

namespace Ajustement {

namespace {

QString initialeDe(const QString& mot)
{
    // The first letter or digit; a word of signs alone gives nothing.
    for (const QChar c : mot)
        if (c.isLetterOrNumber())
            return c.toUpper();
    return QString();
}

} // namespace

QString initiales(const QString& nom)
{
    const QString ligne = nom.section(QLatin1Char('\n'), 0, 0).trimmed();
    const QStringList mots = ligne.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool capitale = false;
    for (const QString& mot : mots)
        capitale = capitale || (!mot.isEmpty() && mot.at(0).isUpper());
    QString resultat;
    int n = 0;
    for (const QString& mot : mots) {
        if (n == 3)
            break;
        if (capitale && !mot.at(0).isUpper())
            continue;
        QStringList parties;
        for (const QString& partie : mot.split(QLatin1Char('-'), Qt::SkipEmptyParts)) {
            const QString i = initialeDe(partie);
            if (!i.isEmpty())
                parties.append(i + QLatin1Char('.'));
        }
        if (parties.isEmpty())
            continue;
        resultat += parties.join(QLatin1Char('-'));
        ++n;
    }
    return resultat;
}

Choix etiquetteBarre(const QString& libelle, const QString& client, int personnes, int largeur, int hauteur,
                     int tailleNormale, int tailleMinimale, const Mesure& mesure)
{
    if (largeur <= 0 || hauteur <= 0)
        return {};
    // The line's height first: the letters are only measured in a band
    // lower than a line.
    const auto tailleHaute = [&](const QString& texte) {
        for (int t = tailleNormale; t >= tailleMinimale; --t)
            if (mesure.hauteur(t) <= hauteur || mesure.encre(texte, t) <= hauteur)
                return t;
        return 0;
    };
    const auto essayer = [&](const QString& texte, bool reduire) -> std::optional<Choix> {
        const int haute = texte.isEmpty() ? 0 : tailleHaute(texte);
        if (haute == 0)
            return std::nullopt;
        for (int t = haute; t >= (reduire ? tailleMinimale : haute); --t)
            if (mesure.largeur(texte, t) <= largeur)
                return Choix{texte, t};
        return std::nullopt;
    };
    if (const auto c = essayer(libelle, false))
        return *c;
    const QString nom = client.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (nom != libelle)
        if (const auto c = essayer(nom, false))
            return *c;

    const QString i = initiales(client.isEmpty() ? libelle : client);
    QStringList courts;
    if (!i.isEmpty() && personnes > 0)
        courts.append(i + QLatin1Char(' ') + QString::number(personnes));
    if (!i.isEmpty())
        courts.append(i);
    if (i.size() > 2)
        courts.append(i.left(2));   // "H."
    for (const QString& c : std::as_const(courts))
        if (const auto choix = essayer(c, true))
            return *choix;
    return {};
}

QString nomJour(const QDate& jour, int forme)
{
    const QString court = Dates::nomJourCourt(jour);   // "mer."
    switch (forme) {
    case 0:
        return court;
    case 1:
        return court.chopped(1);
    case 2:
        return court.left(2);
    default:
        return court.left(1);
    }
}

FormeEntete formeJours(int largeurJour, int hauteurEntete, int tailleNormale, int tailleMinimale, const Mesure& mesure)
{
    // The week of 1 to 7 January 2007 runs from Monday to Sunday.
    const auto tient = [&](int forme, int taille) {
        if (2 * mesure.hauteur(taille) > hauteurEntete)
            return false;
        const int place = largeurJour - 1;
        for (int j = 1; j <= 7; ++j)
            if (mesure.largeur(nomJour(QDate(2007, 1, j), forme), taille) > place)
                return false;
        for (int d = 1; d <= 31; ++d)
            if (mesure.largeur(QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0')), taille) > place)
                return false;
        return true;
    };
    // The size first: a shorter name reads better than a smaller one.
    for (int t = tailleNormale; t >= tailleMinimale; --t)
        for (int forme = 0; forme <= 2; ++forme)
            if (tient(forme, t))
                return {forme, t};
    return {3, std::min(tailleMinimale, tailleNormale)};
}

QList<PlaceMois> placesMois(const Grille::Entete& e, int largeurStrip, int taille, const Mesure& mesure, int marge)
{
    static const char* const abreges[] = {"janv.", "févr.", "mars", "avr.", "mai", "juin",
                                          "juil.", "août", "sept.", "oct.", "nov.", "déc."};
    QList<PlaceMois> places;
    for (const Grille::EtiquetteMois& m : e.mois) {
        // The span's first day gives the month and its year.
        const auto colonne = std::find_if(e.colonnes.cbegin(), e.colonnes.cend(),
                                          [&](const Grille::Colonne& c) { return c.x == m.debut; });
        if (colonne == e.colonnes.cend())
            continue;
        const QDate jour = colonne->jour;
        const int debut = std::max(m.debut, 0);
        const int fin = std::min(m.fin, largeurStrip);
        const int place = fin - debut - 2 * marge;
        if (place <= 0)
            continue;
        const QString annee = QString::number(jour.year());
        const QString court = QString::fromUtf8(abreges[jour.month() - 1]);
        const QString long_ = Dates::nomMoisMinuscule(jour.month());
        for (const QString& texte : {m.texte, court + QLatin1Char(' ') + annee, long_, court}) {
            const int w = mesure.largeur(texte, taille);
            if (w <= place) {
                places.append({texte, debut + (fin - debut - w) / 2});
                break;
            }
        }
    }
    return places;
}

} // namespace Ajustement
