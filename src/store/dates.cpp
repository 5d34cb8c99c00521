#include "dates.h"

#include <QStringList>
#include <optional>
#include <cmath>

namespace Dates {

QDateTime naive(const QDate& jour, const QTime& heure)
{
    return QDateTime(jour, heure, Qt::UTC);
}

double enJours(const QDateTime& moment)
{
    if (!moment.isValid())
        return 0.0;
    return double(moment.date().toJulianDay())
        + double(moment.time().msecsSinceStartOfDay()) / 86400000.0;
}

QDateTime depuisJours(double jours)
{
    const double entier = std::floor(jours);
    qint64 secondes = qint64(std::llround((jours - entier) * 86400.0));
    qint64 jour = qint64(entier);
    if (secondes >= 86400) {
        secondes -= 86400;
        ++jour;
    }
    return naive(QDate::fromJulianDay(jour), QTime(0, 0).addSecs(int(secondes)));
}

QString versTexteBase(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString versTexteBase(const QDate& jour)
{
    return versTexteBase(naive(jour));
}

namespace {

// The digits of text[debut, debut + n[ as a number, -1 when one is not a digit.
int chiffres(const QString& texte, int debut, int n)
{
    int valeur = 0;
    for (int i = debut; i < debut + n; ++i) {
        const char16_t c = texte.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        valeur = valeur * 10 + (c - u'0');
    }
    return valeur;
}

// The stored form "YYYY-MM-DD HH:MM:SS", read without the general parser:
// the calendar reads thousands of them at each refresh.
std::optional<QDateTime> formeStockee(const QString& t)
{
    if (t.size() != 19 || t.at(4) != QLatin1Char('-') || t.at(7) != QLatin1Char('-') || t.at(10) != QLatin1Char(' ')
        || t.at(13) != QLatin1Char(':') || t.at(16) != QLatin1Char(':'))
        return std::nullopt;
    const QDate jour(chiffres(t, 0, 4), chiffres(t, 5, 2), chiffres(t, 8, 2));
    const int h = chiffres(t, 11, 2), m = chiffres(t, 14, 2), sec = chiffres(t, 17, 2);
    if (!jour.isValid() || !QTime::isValid(h, m, sec))
        return QDateTime();
    return naive(jour, QTime(h, m, sec));
}

} // namespace

QDateTime depuisBase(const QVariant& valeur)
{
    if (valeur.isNull() || !valeur.isValid())
        return {};
    if (valeur.typeId() == QMetaType::QString)
        if (const auto rapide = formeStockee(valeur.toString()))
            return *rapide;
    if (valeur.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = valeur.toDateTime();
        return dt.isValid() ? naive(dt.date(), dt.time()) : QDateTime();
    }
    if (valeur.typeId() == QMetaType::QDate) {
        const QDate d = valeur.toDate();
        return d.isValid() ? naive(d) : QDateTime();
    }
    QString texte = valeur.toString().trimmed();
    texte.replace(QLatin1Char('T'), QLatin1Char(' '));
    const int point = texte.indexOf(QLatin1Char('.'));
    if (point > 0)
        texte.truncate(point);
    const QDate jour = QDate::fromString(texte.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!jour.isValid())
        return {};
    if (texte.size() == 10)
        return naive(jour);
    const QString reste = texte.mid(11);
    QTime heure = QTime::fromString(reste, QStringLiteral("HH:mm:ss"));
    if (!heure.isValid())
        heure = QTime::fromString(reste, QStringLiteral("HH:mm"));
    if (!heure.isValid() || texte.at(10) != QLatin1Char(' '))
        return {};
    return naive(jour, heure);
}

QString jjmmaaaa(const QDate& jour)
{
    return jour.toString(QStringLiteral("dd/MM/yyyy"));
}

QString hhnn(const QTime& heure)
{
    return heure.toString(QStringLiteral("HH:mm"));
}

QString jjmmaahhnn(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("dd/MM/yy HH:mm"));
}

int jourDeSemaine(const QDate& jour)
{
    return jour.dayOfWeek() % 7 + 1; // Qt: 1 Monday .. 7 Sunday
}

QString nomJourCourt(const QDate& jour)
{
    static const char* const noms[] = {"lun.", "mar.", "mer.", "jeu.", "ven.", "sam.", "dim."};
    return QString::fromUtf8(noms[jour.dayOfWeek() - 1]);
}

QString nomMoisMinuscule(int mois)
{
    static const char* const noms[] = {"janvier", "février", "mars", "avril", "mai", "juin",
        "juillet", "août", "septembre", "octobre", "novembre", "décembre"};
    return (mois >= 1 && mois <= 12) ? QString::fromUtf8(noms[mois - 1]) : QString();
}

QString nomMoisAbrege(int mois)
{
    static const char* const noms[] = {"janv.", "févr.", "mars", "avr.", "mai", "juin",
        "juil.", "août", "sept.", "oct.", "nov.", "déc."};
    return (mois >= 1 && mois <= 12) ? QString::fromUtf8(noms[mois - 1]) : QString();
}

} // namespace Dates
