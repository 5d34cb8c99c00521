#pragma once
// Reading a written availability page back in the tests.
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace OutilsPage {

inline QList<QByteArray> lignes(const QByteArray& page)
{
    QList<QByteArray> l = page.split('\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

// French month title as the page writes it, in Windows-1252.
inline QByteArray titreMois(const QDate& jour)
{
    static const char* const noms[] = {"janvier", "f\xE9vrier", "mars", "avril", "mai", "juin", "juillet",
        "ao\xFBt", "septembre", "octobre", "novembre", "d\xE9" "cembre"};
    return QByteArray(noms[jour.month() - 1]) + ' ' + QByteArray::number(jour.year());
}

// Colour of the cell of `jour` ("#FFD351", ...), empty when the month or
// the day is not on the page.
inline QByteArray couleurDuJour(const QByteArray& page, const QDate& jour)
{
    const QList<QByteArray> l = lignes(page);
    const QByteArray titre = titreMois(jour);
    const QByteArray fin = ">" + QByteArray::number(jour.day()) + "</font></div></td>\r";
    for (qsizetype i = 0; i < l.size(); ++i) {
        if (!l[i].startsWith("    <td><div align=") || !l[i].endsWith(titre + "\r"))
            continue;
        for (qsizetype j = i + 1; j < l.size() && j < i + 67; ++j) {
            if (l[j].endsWith(fin)) {
                const qsizetype debut = l[j].indexOf("bgcolor=\"") + 9;
                return l[j].mid(debut, 7);
            }
        }
        return {};
    }
    return {};
}

inline int etatDuJour(const QByteArray& page, const QDate& jour)
{
    const QByteArray c = couleurDuJour(page, jour);
    if (c == "#FFD351")
        return 0;
    if (c == "#FF6633")
        return 1;
    if (c == "#FF0000")
        return 2;
    return -1;
}

} // namespace OutilsPage
