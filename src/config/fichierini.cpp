#include "fichierini.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <algorithm>
#include <iterator>

namespace FichierIni {

namespace {

// Code points of bytes 0x80..0x9F; the five unassigned bytes keep their
// own value so that they survive a round trip.
const char16_t kCp1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QByteArray kBom("\xEF\xBB\xBF");

struct Contenu {
    QList<QString> lignes;
    QByteArray finDeLigne = "\r\n";
    bool existe = false;
    bool utf8 = false;   // the file starts with a UTF-8 byte-order mark
};

// Splits a text into lines: CR LF, LF and a lone CR all end a line.
QList<QString> decouperLignes(const QString& texte)
{
    QList<QString> lignes;
    qsizetype debut = 0;
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lignes.append(texte.mid(debut, i - debut));
        if (c == QLatin1Char('\r') && i + 1 < texte.size() && texte.at(i + 1) == QLatin1Char('\n'))
            ++i;
        debut = i + 1;
    }
    // A final line end leaves nothing after it: that is not a line.
    if (debut < texte.size())
        lignes.append(texte.mid(debut));
    return lignes;
}

// The line end a file uses, from its first one: CR LF, LF or CR.
QByteArray finDeLigneDe(const QByteArray& octets)
{
    for (qsizetype i = 0; i < octets.size(); ++i) {
        if (octets.at(i) == '\n')
            return "\n";
        if (octets.at(i) == '\r')
            return (i + 1 < octets.size() && octets.at(i + 1) == '\n') ? "\r\n" : "\r";
    }
    return "\r\n";
}

Contenu charger(const QString& chemin)
{
    Contenu c;
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return c;
    c.existe = true;
    QByteArray octets = f.readAll();
    c.finDeLigne = finDeLigneDe(octets);
    // A byte-order mark says UTF-8, whoever wrote the file.
    c.utf8 = octets.startsWith(kBom);
    const QString texte = c.utf8 ? QString::fromUtf8(octets.mid(kBom.size())) : depuisCp1252(octets);
    c.lignes = decouperLignes(texte);
    return c;
}

// The bytes of a file: Windows-1252 when every line can be written in it
// (and the file was not UTF-8 already), else UTF-8 behind a byte-order mark,
// so that no character is ever lost.
QByteArray octetsDuFichier(const Contenu& c)
{
    bool utf8 = c.utf8;
    for (qsizetype i = 0; !utf8 && i < c.lignes.size(); ++i)
        utf8 = !representableCp1252(c.lignes.at(i));
    QByteArray octets = utf8 ? kBom : QByteArray();
    for (const QString& ligne : c.lignes) {
        octets += utf8 ? ligne.toUtf8() : versCp1252(ligne);
        octets += c.finDeLigne;
    }
    return octets;
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

// Values are trimmed on read, and one between double quotes loses them. So
// a value whose ends are blanks or double quotes, or that holds a line end,
// is written between double quotes, with its backslashes, CR and LF escaped
// (\\, \r, \n); the read undoes both. Any other value is written as it is.
bool estEntreGuillemets(const QString& valeur)
{
    return valeur.size() >= 2 && valeur.startsWith(QLatin1Char('"')) && valeur.endsWith(QLatin1Char('"'));
}

QString sansGuillemets(const QString& valeur)
{
    if (!estEntreGuillemets(valeur))
        return valeur;
    QString texte;
    const QString dedans = valeur.mid(1, valeur.size() - 2);
    texte.reserve(dedans.size());
    for (qsizetype i = 0; i < dedans.size(); ++i) {
        const QChar c = dedans.at(i);
        const QChar suivant = i + 1 < dedans.size() ? dedans.at(i + 1) : QChar();
        if (c == QLatin1Char('\\') && (suivant == QLatin1Char('\\') || suivant == QLatin1Char('r') || suivant == QLatin1Char('n'))) {
            texte += suivant == QLatin1Char('r') ? QLatin1Char('\r') : suivant == QLatin1Char('n') ? QLatin1Char('\n') : suivant;
            ++i;
        } else {
            texte += c;
        }
    }
    return texte;
}

QString texteEcrit(const QString& valeur)
{
    const bool aProteger = valeur != valeur.trimmed() || estEntreGuillemets(valeur)
        || valeur.contains(QLatin1Char('\r')) || valeur.contains(QLatin1Char('\n'));
    if (!aProteger)
        return valeur;
    QString texte = QStringLiteral("\"");
    for (QChar c : valeur) {
        if (c == QLatin1Char('\\'))
            texte += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\r'))
            texte += QStringLiteral("\\r");
        else if (c == QLatin1Char('\n'))
            texte += QStringLiteral("\\n");
        else
            texte += c;
    }
    return texte + QLatin1Char('"');
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

bool representableCp1252(const QString& texte)
{
    for (QChar c : texte) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            continue;
        if (std::find(std::begin(kCp1252), std::end(kCp1252), u) == std::end(kCp1252))
            return false;
    }
    return true;
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
    const QByteArray octets = octetsDuFichier(c);
    // A file that already holds these bytes is left alone: two programs
    // starting together then never write back each other's older copy of
    // a key they did not change (the backup counter).
    if (info.exists()) {
        QFile present(chemin);
        if (present.open(QIODevice::ReadOnly) && present.readAll() == octets)
            return true;
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
