#pragma once
// The availability calendar of one unit for the web site: twenty month
// tables, from the current month on, whose day cells are coloured by the
// published stays. Pure computation: the text of the page is built here,
// the run (publication) reads the stays and writes the file.
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace CalendrierHTML {

// One published stay as read from RESERVATIONS (DateDebut, DateFin).
struct LigneSejour {
    QDateTime debut;
    QDateTime fin;
};

constexpr int kRangees = 5;           // rows of months
constexpr int kMoisParRangee = 4;     // months per row
constexpr int kSemaines = 6;          // week rows of a month table
constexpr int kLignesParMois = 67;
constexpr int kLignesParPage = 2 + kRangees * (2 + kMoisParRangee * kLignesParMois) + 1;   // 1353

// Cell colours of the three day states and of a cell without a day.
inline constexpr const char* kCouleurEtat[3] = {"#FFD351", "#FF6633", "#FF0000"};
inline constexpr const char* kCouleurSansJour = "#999999";

// Column (1 Monday .. 7 Sunday) of a weekday numbered 1 Sunday .. 7
// Saturday; 0 outside 1..7.
int jourdecolonne(int jourSemaine);

// Day state of `jour`: 0 free, 1 a half day (first or last day of a stay
// that starts or ends at a time of day), 2 taken. Two half days on the same
// day make a taken day; once taken, a day stays taken whatever the order of
// the stays. Stays whose dates cannot be read are ignored.
int etatjour(const QDate& jour, const QList<LigneSejour>& sejours);

// The unit name as it goes into the page: HTML metacharacters escaped,
// control characters (line breaks) turned into spaces.
QString NomPourPage(const QString& nom);

// Windows-1252 bytes of a page text; a character the code page lacks is
// written as an HTML character reference (&#322;).
QByteArray EnWindows1252(const QString& texte);

// The whole page, 1353 lines ended by CR LF, in Windows-1252. `maintenant`
// gives the first month shown and the "mis à jour" stamp.
QByteArray Page(const QString& NomObjet, const QList<LigneSejour>& sejours, const QDateTime& maintenant);

} // namespace CalendrierHTML
