#include "conversion.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace Conversion {

QString Remplacer(const QString& texte, const QString& cherche, const QString& remplace)
{
    if (cherche.isEmpty())
        return texte;
    QString resultat = texte;
    qsizetype p = 0;
    for (;;) {
        const qsizetype c = resultat.indexOf(cherche, p, Qt::CaseInsensitive);
        if (c < 0)
            return resultat;
        resultat = resultat.left(c) + remplace + resultat.mid(c + cherche.size());
        p = c + remplace.size();
    }
}

QString ExtraireDossier(const QString& chemin)
{
    for (qsizetype i = chemin.size() - 1; i >= 0; --i) {
        const QChar c = chemin.at(i);
        if (c == QLatin1Char(':') || c == QLatin1Char('\\') || c == QLatin1Char('/'))
            return chemin.left(i + 1);
    }
    return QString();
}

QVariant SiAlorsSinon(const QVariant& condition, const QVariant& siVrai, const QVariant& siFaux)
{
    if (condition.isNull() || !condition.isValid())
        return siFaux;
    return condition.toBool() ? siVrai : siFaux;
}

bool PointDansRectangle(float x, float y, float gauche, float haut, float droite, float bas)
{
    return gauche <= x && x <= droite && haut <= y && y <= bas;
}

double Maximum(double a, double b)
{
    return a > b ? a : b;
}

double Minimum(double a, double b)
{
    return a > b ? b : a;
}

QString Monnaie(double montant)
{
    const bool negatif = montant < 0;
    const qint64 centimes = qint64(std::llround(std::fabs(montant) * 100.0));
    const QString chiffres = QString::number(centimes / 100);
    // Groups of three from the right; past four groups the extra digits stay
    // in front of the first group, as the pattern "### ### ### ##0.00" does.
    QStringList groupes;
    qsizetype fin = chiffres.size();
    while (fin > 0 && groupes.size() < 3) {
        const qsizetype debut = std::max<qsizetype>(0, fin - 3);
        groupes.prepend(chiffres.mid(debut, fin - debut));
        fin = debut;
    }
    if (fin > 0)
        groupes.prepend(chiffres.left(fin));
    QString texte = groupes.join(QLatin1Char(' '));
    texte += QLatin1Char(',') + QStringLiteral("%1").arg(centimes % 100, 2, 10, QLatin1Char('0'));
    texte += QStringLiteral(" €");
    if (negatif && centimes != 0)
        texte.prepend(QLatin1Char('-'));
    return texte;
}

QVariant FormaterValeur(int genre, const QVariant& valeur)
{
    if (genre == 5)
        return Monnaie(valeur.toDouble());
    return SiAlorsSinon(QVariant(valeur.isNull() || !valeur.isValid()), QString(), valeur);
}

static const char* const kMois[] = {"Janvier", "Février", "Mars", "Avril", "Mai", "Juin",
    "Juillet", "Août", "Septembre", "Octobre", "Novembre", "Décembre"};

QString NomDuMois(int n)
{
    if (n < 1 || n > 12)
        return QString();
    return QString::fromUtf8(kMois[n - 1]);
}

std::optional<int> NumeroDuMois(const QString& nom)
{
    for (int i = 0; i < 12; ++i)
        if (nom == QString::fromUtf8(kMois[i]))
            return i + 1;
    return std::nullopt;
}

QVariant SansNull(const QVariant& valeur)
{
    if (valeur.isNull() || !valeur.isValid())
        return QString();
    return valeur;
}

QString ExtraireChamp(const QString& texte, const QString& separateur, int n)
{
    if (separateur.isEmpty() || n < 1)
        return QString();
    const QStringList champs = (texte + separateur).split(separateur, Qt::KeepEmptyParts, Qt::CaseSensitive);
    // The list ends with the empty piece after the added separator.
    if (n > champs.size() - 1)
        return QString();
    return champs.at(n - 1);
}

QString NomDeFichierValide(const QString& texte)
{
    static const char* const interdits[] = {" ", "'", "%", "-", "+", ",", "=", "@", "*", "(", ")", "/", "\\"};
    QString resultat = texte;
    for (const char* c : interdits)
        resultat = Remplacer(resultat, QString::fromLatin1(c), QStringLiteral("_"));
    return resultat;
}

double LireNombre(const QString& texte)
{
    QString s;
    s.reserve(texte.size());
    for (QChar c : texte)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            s.append(c);
    if (s.size() >= 2 && s.at(0) == QLatin1Char('&')) {
        const QChar prefixe = s.at(1).toUpper();
        const int base = prefixe == QLatin1Char('H') ? 16 : prefixe == QLatin1Char('O') ? 8 : 0;
        if (base != 0) {
            qint64 valeur = 0;
            for (qsizetype i = 2; i < s.size(); ++i) {
                const int chiffre = QString(s.at(i)).toInt(nullptr, base == 16 ? 16 : 8);
                const bool valide = base == 16 ? s.at(i).isDigit() || QStringLiteral("abcdefABCDEF").contains(s.at(i))
                                               : (s.at(i) >= QLatin1Char('0') && s.at(i) <= QLatin1Char('7'));
                if (!valide || valeur > (qint64(1) << 40))
                    break;
                valeur = valeur * base + chiffre;
            }
            return double(valeur);
        }
    }
    qsizetype i = 0;
    QString nombre;
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        nombre.append(s.at(i++));
    bool chiffres = false;
    while (i < s.size() && s.at(i).isDigit() && s.at(i).unicode() < 128) {
        nombre.append(s.at(i++));
        chiffres = true;
    }
    if (i < s.size() && s.at(i) == QLatin1Char('.')) {
        nombre.append(s.at(i++));
        while (i < s.size() && s.at(i).isDigit() && s.at(i).unicode() < 128) {
            nombre.append(s.at(i++));
            chiffres = true;
        }
    }
    if (!chiffres)
        return 0.0;
    if (i < s.size() && QStringLiteral("eEdD").contains(s.at(i))) {
        QString exposant = QStringLiteral("e");
        qsizetype j = i + 1;
        if (j < s.size() && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-')))
            exposant.append(s.at(j++));
        bool chiffresExposant = false;
        while (j < s.size() && s.at(j).isDigit() && s.at(j).unicode() < 128) {
            exposant.append(s.at(j++));
            chiffresExposant = true;
        }
        if (chiffresExposant)
            nombre += exposant;
    }
    bool ok = false;
    const double valeur = nombre.toDouble(&ok);
    return ok && std::isfinite(valeur) ? valeur : 0.0;
}

std::optional<QDateTime> LireDate(const QString& texte)
{
    const QString t = texte.trimmed();
    const QStringList parties = t.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parties.isEmpty() || parties.size() > 2)
        return std::nullopt;
    const QStringList jma = parties.at(0).split(QLatin1Char('/'));
    if (jma.size() != 3)
        return std::nullopt;
    bool okJ = false, okM = false, okA = false;
    const int jour = jma.at(0).toInt(&okJ);
    const int mois = jma.at(1).toInt(&okM);
    int annee = jma.at(2).toInt(&okA);
    if (!okJ || !okM || !okA || jma.at(2).size() > 4 || jma.at(2).size() == 3)
        return std::nullopt;
    if (jma.at(2).size() <= 2)
        annee += annee < 30 ? 2000 : 1900;
    const QDate date(annee, mois, jour);
    if (!date.isValid())
        return std::nullopt;
    QTime heure(0, 0);
    if (parties.size() == 2) {
        heure = QTime::fromString(parties.at(1), QStringLiteral("H:mm"));
        if (!heure.isValid())
            heure = QTime::fromString(parties.at(1), QStringLiteral("H:mm:ss"));
        if (!heure.isValid())
            return std::nullopt;
    }
    return QDateTime(date, heure, Qt::UTC);
}

std::optional<qint16> EntierSeize(double valeur)
{
    if (!std::isfinite(valeur))
        return std::nullopt;
    const double arrondi = std::nearbyint(valeur); // ties to even in the default mode
    if (arrondi < -32768.0 || arrondi > 32767.0)
        return std::nullopt;
    return qint16(arrondi);
}

double ArrondiCentime(double montant)
{
    return std::round(montant * 100.0) / 100.0;
}

std::optional<double> LireMontant(const QString& texte)
{
    // Plain digits with at most one decimal comma or point, an optional sign
    // in front (a refund) and blanks between digit groups ("1 200,50"). No
    // exponent, no "inf": an amount is what a desk clerk writes.
    QString t = texte;
    t.remove(QLatin1Char(' '));
    t = t.trimmed();
    static const QRegularExpression montant(QStringLiteral("^[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)$"));
    if (!montant.match(t).hasMatch())
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double valeur = t.toDouble(&ok);
    if (!ok || !std::isfinite(valeur))
        return std::nullopt;
    return valeur;
}

std::optional<qint64> LireEntier(const QString& texte)
{
    const QString t = texte.trimmed();
    static const QRegularExpression chiffres(QStringLiteral("^[0-9]{1,18}$"));
    if (!chiffres.match(t).hasMatch())
        return std::nullopt;
    return t.toLongLong();
}

} // namespace Conversion
