#include "fichierini.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

namespace FichierIni {

namespace {

// Code points of bytes 0x80..0x9F; the five unassigned bytes keep their
// own value so that they survive a round trip.
const char16_t kCp1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct Contenu {
    QList<QString> lignes;
    QByteArray finDeLigne = "\r\n";
    bool existe = false;
};

Contenu charger(const QString& chemin)
{
    Contenu c;
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return c;
    c.existe = true;
    const QByteArray octets = f.readAll();
    const qsizetype premier = octets.indexOf('\n');
    if (premier >= 0)
        c.finDeLigne = (premier > 0 && octets.at(premier - 1) == '\r') ? "\r\n" : "\n";
    const QString texte = depuisCp1252(octets);
    const QStringList lignes = texte.split(QLatin1Char('\n'));
    for (QString l : lignes) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
        c.lignes.append(l);
    }
    // A final line end leaves one empty piece that is not a line.
    if (!c.lignes.isEmpty() && c.lignes.constLast().isEmpty())
        c.lignes.removeLast();
    return c;
}

// Name of the section a line opens, or nullopt.
std::optional<QString> enTeteSection(const QString& ligne)
{
    const QString t = ligne.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype fin = t.indexOf(QLatin1Char(']'));
    return (fin < 0 ? t.mid(1) : t.mid(1, fin - 1)).trimmed();
}

bool memeNom(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// Key of a "key=value" line, or nullopt (comments and lines without '=').
std::optional<QString> cleDeLigne(const QString& ligne)
{
    const qsizetype egal = ligne.indexOf(QLatin1Char('='));
    if (egal < 0 || ligne.trimmed().startsWith(QLatin1Char(';')))
        return std::nullopt;
    return ligne.left(egal).trimmed();
}

// Index of the first line of the first section of that name (its header),
// or -1.
qsizetype trouverSection(const Contenu& c, const QString& section)
{
    for (qsizetype i = 0; i < c.lignes.size(); ++i) {
        const auto nom = enTeteSection(c.lignes.at(i));
        if (nom && memeNom(*nom, section))
            return i;
    }
    return -1;
}

// Values are trimmed on read; one written with blanks at its ends is put
// between double quotes, which the read removes, so the blanks survive.
QString sansGuillemets(const QString& valeur)
{
    if (valeur.size() >= 2 && valeur.startsWith(QLatin1Char('"')) && valeur.endsWith(QLatin1Char('"')))
        return valeur.mid(1, valeur.size() - 2);
    return valeur;
}

QString texteEcrit(const QString& valeur)
{
    if (valeur != valeur.trimmed())
        return QLatin1Char('"') + valeur + QLatin1Char('"');
    return valeur;
}

} // namespace

QString depuisCp1252(const QByteArray& octets)
{
    QString texte;
    texte.reserve(octets.size());
    for (char ch : octets) {
        const uchar b = uchar(ch);
        texte.append(b >= 0x80 && b <= 0x9F ? QChar(kCp1252[b - 0x80]) : QChar(b));
    }
    return texte;
}

QByteArray versCp1252(const QString& texte)
{
    QByteArray octets;
    octets.reserve(texte.size());
    for (QChar c : texte) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            octets.append(char(u));
            continue;
        }
        char sortie = '?';
        for (int i = 0; i < 32; ++i)
            if (kCp1252[i] == u)
                sortie = char(0x80 + i);
        octets.append(sortie);
    }
    return octets;
}

std::optional<QString> lire(const QString& chemin, const QString& section, const QString& cle)
{
    const Contenu c = charger(chemin);
    const qsizetype debut = trouverSection(c, section);
    if (debut < 0)
        return std::nullopt;
    for (qsizetype i = debut + 1; i < c.lignes.size(); ++i) {
        const QString& ligne = c.lignes.at(i);
        if (enTeteSection(ligne))
            break;
        const auto nom = cleDeLigne(ligne);
        if (nom && memeNom(*nom, cle))
            return sansGuillemets(ligne.mid(ligne.indexOf(QLatin1Char('=')) + 1).trimmed());
    }
    return std::nullopt;
}

bool ecrire(const QString& chemin, const QString& section, const QString& cle, const QString& valeur)
{
    Contenu c = charger(chemin);
    const QFileInfo info(chemin);
    if (info.exists() && (!c.existe || !info.isWritable()))
        return false; // present but unreadable or read-only: leave it as it is
    const QString nouvelle = cle.trimmed() + QLatin1Char('=') + texteEcrit(valeur);
    const qsizetype debut = trouverSection(c, section);
    if (debut < 0) {
        c.lignes.append(QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
        c.lignes.append(nouvelle);
    } else {
        qsizetype fin = debut + 1;       // first line after the section
        qsizetype derniere = debut;      // last non-blank line of the section
        bool remplace = false;
        for (; fin < c.lignes.size(); ++fin) {
            const QString& ligne = c.lignes.at(fin);
            if (enTeteSection(ligne))
                break;
            const auto nom = cleDeLigne(ligne);
            if (nom && memeNom(*nom, cle)) {
                c.lignes[fin] = ligne.left(ligne.indexOf(QLatin1Char('='))).trimmed() + QLatin1Char('=') + texteEcrit(valeur);
                remplace = true;
                break;
            }
            if (!ligne.trimmed().isEmpty())
                derniere = fin;
        }
        if (!remplace)
            c.lignes.insert(derniere + 1, nouvelle);
    }
    QByteArray octets;
    for (const QString& ligne : std::as_const(c.lignes)) {
        octets += versCp1252(ligne);
        octets += c.finDeLigne;
    }
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(octets) != octets.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace FichierIni
