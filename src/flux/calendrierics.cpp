#include "calendrierics.h"

#include <QMap>
#include <QSet>
#include <QTimeZone>

#include <libical/ical.h>

#include <memory>

namespace CalendrierICS {

namespace {

struct LibererComposant {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Composant = std::unique_ptr<icalcomponent, LibererComposant>;

// libical must report errors, never stop the program on a bad feed.
void preparerLibical()
{
    static const bool prete = [] {
        icalerror_set_errors_are_fatal(0);
        return true;
    }();
    (void)prete;
}

icaltimetype jourIcal(const QDate& jour)
{
    icaltimetype t = icaltime_null_date();
    t.year = jour.year();
    t.month = jour.month();
    t.day = jour.day();
    t.is_date = 1;
    return t;
}

// The day a time of a feed stands for (invalid for a null time).
QDate jourDe(const icaltimetype& t)
{
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return QDate();
    const QDate jour(t.year, t.month, t.day);
    if (t.is_date || !icaltime_is_utc(t))
        return jour;
    // A moment in UTC falls on the local day of that moment.
    const QDateTime utc(jour, QTime(t.hour, t.minute, t.second), QTimeZone::utc());
    return utc.toLocalTime().date();
}

QString resumeLisible(const char* brut)
{
    QString resume = QString::fromUtf8(brut ? brut : "");
    QString propre;
    propre.reserve(resume.size());
    for (const QChar c : resume)
        propre.append(c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ? QChar(' ') : c);
    return propre.simplified().left(kLongueurResume);
}

QString cle(const QString& uid, const QDate& occurrence)
{
    return uid + QLatin1Char('/') + occurrence.toString(QStringLiteral("yyyyMMdd"));
}

// Gathers the events by key; a later one with the same key replaces it.
class Recueil
{
public:
    void poser(const Evenement& e)
    {
        if (!m_evenements.contains(e.uid))
            m_ordre.append(e.uid);
        m_evenements.insert(e.uid, e);
    }
    void retirer(const QString& uid) { m_evenements.remove(uid); }
    QList<Evenement> liste() const
    {
        QList<Evenement> liste;
        for (const QString& uid : m_ordre)
            if (m_evenements.contains(uid))
                liste.append(m_evenements.value(uid));
        return liste;
    }

private:
    QStringList m_ordre;
    QMap<QString, Evenement> m_evenements;
};

// Arrival and departure of a VEVENT; the departure comes from DTEND, or
// DURATION (libical computes it), else one night. False without DTSTART.
bool nuits(icalcomponent* ev, QDate* arrivee, QDate* depart)
{
    const icaltimetype debut = icalcomponent_get_dtstart(ev);
    *arrivee = jourDe(debut);
    if (!arrivee->isValid())
        return false;
    icaltimetype fin = icaltime_null_time();
    if (icalcomponent_get_first_property(ev, ICAL_DTEND_PROPERTY)
        || icalcomponent_get_first_property(ev, ICAL_DURATION_PROPERTY))
        fin = icalcomponent_get_dtend(ev);
    *depart = jourDe(fin);
    if (!depart->isValid() || *depart <= *arrivee)
        *depart = arrivee->addDays(1);
    return true;
}

// The occurrences of a repeated event that touch [depuis, jusqua]: their
// arrival days. *coupe tells that kOccurrencesMax stopped the reading.
QList<QDate> occurrences(icalcomponent* ev, int nbNuits, const QDate& depuis, const QDate& jusqua, bool* coupe)
{
    QList<QDate> jours;
    QSet<QDate> exclus;
    for (icalproperty* p = icalcomponent_get_first_property(ev, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(ev, ICAL_EXDATE_PROPERTY))
        exclus.insert(jourDe(icalproperty_get_exdate(p)));
    auto garder = [&](const QDate& jour) {
        if (jour.isValid() && jour.addDays(nbNuits) > depuis && jour <= jusqua && !exclus.contains(jour)
            && !jours.contains(jour))
            jours.append(jour);
    };

    const icaltimetype debut = icalcomponent_get_dtstart(ev);
    for (icalproperty* p = icalcomponent_get_first_property(ev, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(ev, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype regle = icalproperty_get_rrule(p);
        icalrecur_iterator* it = icalrecur_iterator_new(regle, debut);
        if (!it)
            continue;
        // Without COUNT the reading may start near the window (a daily
        // event begun years ago would otherwise use up the occurrences).
        const QDate premier = depuis.addDays(-nbNuits);
        if (regle.count == 0 && jourDe(debut) < premier) {
            icaltimetype depart = debut;
            depart.year = premier.year();
            depart.month = premier.month();
            depart.day = premier.day();
            icalrecur_iterator_set_start(it, depart);
        }
        int lues = 0;
        for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
             t = icalrecur_iterator_next(it)) {
            const QDate jour = jourDe(t);
            if (!jour.isValid() || jour > jusqua)
                break;
            if (++lues > kOccurrencesMax) {
                *coupe = true;
                break;
            }
            garder(jour);
        }
        icalrecur_iterator_free(it);
    }
    for (icalproperty* p = icalcomponent_get_first_property(ev, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(ev, ICAL_RDATE_PROPERTY))
        garder(jourDe(icalproperty_get_rdate(p).time));
    std::sort(jours.begin(), jours.end());
    return jours;
}

bool estRepete(icalcomponent* ev)
{
    return icalcomponent_get_first_property(ev, ICAL_RRULE_PROPERTY)
        || icalcomponent_get_first_property(ev, ICAL_RDATE_PROPERTY);
}

} // namespace

QByteArray Ecrire(const QString& nomCalendrier, const QList<SejourExporte>& sejours, const QString& domaine,
                  const QDateTime& horodatage)
{
    preparerLibical();
    Composant calendrier(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendrier.get(), icalproperty_new_prodid("-//Orvane//Planning//FR"));
    icalcomponent_add_property(calendrier.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendrier.get(), icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(calendrier.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
    icalproperty* nom = icalproperty_new_x(nomCalendrier.toUtf8().constData());
    icalproperty_set_x_name(nom, "X-WR-CALNAME");
    icalcomponent_add_property(calendrier.get(), nom);

    const QDateTime utc = horodatage.toUTC();
    icaltimetype tampon = icaltime_null_time();
    tampon.year = utc.date().year();
    tampon.month = utc.date().month();
    tampon.day = utc.date().day();
    tampon.hour = utc.time().hour();
    tampon.minute = utc.time().minute();
    tampon.second = utc.time().second();
    tampon.zone = icaltimezone_get_utc_timezone();

    for (const SejourExporte& s : sejours) {
        if (!s.arrivee.isValid())
            continue;
        const QDate depart = s.depart.isValid() && s.depart > s.arrivee ? s.depart : s.arrivee.addDays(1);
        icalcomponent* ev = icalcomponent_new_vevent();
        const QByteArray uid = QStringLiteral("%1@%2").arg(s.numero).arg(domaine).toUtf8();
        icalcomponent_add_property(ev, icalproperty_new_uid(uid.constData()));
        icalcomponent_add_property(ev, icalproperty_new_dtstamp(tampon));
        icalcomponent_add_property(ev, icalproperty_new_dtstart(jourIcal(s.arrivee)));
        icalcomponent_add_property(ev, icalproperty_new_dtend(jourIcal(depart)));
        icalcomponent_add_property(ev, icalproperty_new_summary(kResumePublie));
        icalcomponent_add_property(ev, icalproperty_new_transp(ICAL_TRANSP_OPAQUE));
        icalcomponent_add_component(calendrier.get(), ev);
    }
    char* texte = icalcomponent_as_ical_string_r(calendrier.get());
    const QByteArray resultat(texte);
    icalmemory_free_buffer(texte);
    return resultat;
}

std::optional<Lecture> Lire(const QByteArray& texte, const QDate& aujourdhui, QString* erreur)
{
    preparerLibical();
    auto refus = [&](const QString& raison) -> std::optional<Lecture> {
        if (erreur)
            *erreur = raison;
        return std::nullopt;
    };
    // libical reads a text up to its first NUL; a feed holds none.
    QByteArray debut = texte.left(64).trimmed();
    if (debut.startsWith("\xEF\xBB\xBF"))
        debut = debut.mid(3);
    if (texte.contains('\0') || !debut.toUpper().startsWith("BEGIN:VCALENDAR"))
        return refus(QStringLiteral("ce n'est pas un calendrier iCalendar"));
    Composant racine(icalparser_parse_string(texte.constData()));
    if (!racine)
        return refus(QStringLiteral("calendrier iCalendar illisible"));
    icalcomponent* calendrier = racine.get();
    if (icalcomponent_isa(calendrier) != ICAL_VCALENDAR_COMPONENT)
        calendrier = icalcomponent_get_first_component(racine.get(), ICAL_VCALENDAR_COMPONENT);
    if (!calendrier)
        return refus(QStringLiteral("ce n'est pas un calendrier iCalendar"));

    const QDate depuis = aujourdhui.addDays(-1);
    const QDate jusqua = aujourdhui.addYears(kAnneesRepetition);
    Lecture lecture;
    Recueil recueil;
    QList<icalcomponent*> remplacements;
    int sansDate = 0;
    int sansUid = 0;
    for (icalcomponent* ev = icalcomponent_get_first_component(calendrier, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(calendrier, ICAL_VEVENT_COMPONENT)) {
        const QString uid = QString::fromUtf8(icalcomponent_get_uid(ev)).trimmed();
        if (uid.isEmpty()) {
            ++sansUid;
            continue;
        }
        if (!icaltime_is_null_time(icalcomponent_get_recurrenceid(ev))) {
            remplacements.append(ev);   // once every repeated event is known
            continue;
        }
        Evenement e{uid, resumeLisible(icalcomponent_get_summary(ev)), {}, {}};
        if (!nuits(ev, &e.arrivee, &e.depart)) {
            ++sansDate;
            continue;
        }
        const bool annule = icalcomponent_get_status(ev) == ICAL_STATUS_CANCELLED;
        if (!estRepete(ev)) {
            if (annule)
                recueil.retirer(uid);
            else
                recueil.poser(e);
            continue;
        }
        if (annule)
            continue;
        bool coupe = false;
        const int nbNuits = int(e.arrivee.daysTo(e.depart));
        for (const QDate& jour : occurrences(ev, nbNuits, depuis, jusqua, &coupe))
            recueil.poser({cle(uid, jour), e.resume, jour, jour.addDays(nbNuits)});
        if (coupe)
            lecture.avertissements.append(QStringLiteral("événement répété « %1 » : seules les %2 premières "
                                                         "occurrences sont lues").arg(uid).arg(kOccurrencesMax));
    }
    for (icalcomponent* ev : remplacements) {
        const QString uid = QString::fromUtf8(icalcomponent_get_uid(ev)).trimmed();
        const QString uidOccurrence = cle(uid, jourDe(icalcomponent_get_recurrenceid(ev)));
        Evenement e{uidOccurrence, resumeLisible(icalcomponent_get_summary(ev)), {}, {}};
        if (icalcomponent_get_status(ev) == ICAL_STATUS_CANCELLED || !nuits(ev, &e.arrivee, &e.depart)
            || e.depart <= depuis || e.arrivee > jusqua)
            recueil.retirer(uidOccurrence);
        else
            recueil.poser(e);
    }
    lecture.evenements = recueil.liste();
    if (sansDate > 0)
        lecture.avertissements.append(QStringLiteral("%1 événement(s) sans date de début ignoré(s)").arg(sansDate));
    if (sansUid > 0)
        lecture.avertissements.append(QStringLiteral("%1 événement(s) sans UID ignoré(s)").arg(sansUid));
    return lecture;
}

} // namespace CalendrierICS
