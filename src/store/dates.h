#pragma once
// Dates and times of reservations and journal rows.
//
// They are naive local values: a QDateTime in UTC is used
// only as a carrier, so that no daylight-saving rule ever shifts an hour and
// a day is always 24 hours. Day counts (with the time of day as fraction)
// come from the Julian day, never from QDateTime differences.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

namespace Dates {

QDateTime naive(const QDate& jour, const QTime& heure = QTime(0, 0));

// Day number with the time of day as fraction (Julian day based).
double enJours(const QDateTime& moment);
// Inverse of enJours, to the second.
QDateTime depuisJours(double jours);

// Stored form in the database: "YYYY-MM-DD HH:MM:SS".
QString versTexteBase(const QDateTime& moment);
QString versTexteBase(const QDate& jour);
// Reads the stored form, and also "YYYY-MM-DDTHH:MM:SS[.zzz]" and a bare
// "YYYY-MM-DD". A Null or unreadable value gives an invalid QDateTime.
QDateTime depuisBase(const QVariant& valeur);

// "dd/mm/yyyy", "hh:nn" and the receipts' "dd/mm/yy hh:nn".
QString jjmmaaaa(const QDate& jour);
QString hhnn(const QTime& heure);
QString jjmmaahhnn(const QDateTime& moment);

// Day of week numbered as the planning does: 1 Sunday ... 7 Saturday.
int jourDeSemaine(const QDate& jour);

// French names whatever the system locale: "lun.", "janvier", "janv.".
QString nomJourCourt(const QDate& jour);
QString nomMoisMinuscule(int mois);      // "janvier"
QString nomMoisAbrege(int mois);         // "janv."

} // namespace Dates
