#include "enregistrementsejour.h"

#include "facturation/comptesejour.h"
#include "reservation/chevauchement.h"
#include "store/requetes_editeurs.h"
#include "store/requetes_reservation.h"

namespace EnregistrementSejour {

Accord Chevauchements(const QSqlDatabase& base, const Requetes::Reservation& r, qint32 sauf, const Question& question)
{
    Accord accord;
    const auto autres = RequetesEditeurs::chevauchements(base, r.objet, r.debut, r.fin, sauf, &accord.erreur);
    if (!autres)
        return accord;
    for (const Requetes::Reservation& a : *autres)
        accord.numeros.append(a.numero);
    accord.accepte = autres->isEmpty() || (question && question(Chevauchement::Question(*autres)));
    return accord;
}

Resultat Modifier(const QSqlDatabase& base, const QString& cheminINI, const Requetes::Reservation& r,
                  const QString& libelle, const QList<qint32>& acceptes, const Question& question)
{
    Resultat resultat;
    QList<qint32> accord = acceptes;
    CompteSejour::Suivi suivi;
    const auto porter = CompteSejour::SuivreEnEnregistrant(base, cheminINI, false, &suivi);
    // The version is read inside the transaction, after the charges: what
    // this desk wrote, whatever another desk writes once it commits.
    const RequetesReservation::Ensuite ensuite = [&](qint32 numero, QString* erreur) {
        if (porter && !porter(numero, erreur))
            return false;
        const auto ecrite = Requetes::reservation(base, numero, erreur);
        if (!ecrite)
            return false;
        resultat.version = ecrite->version;
        return true;
    };
    bool autrePoste = false;
    bool nouveau = false;
    bool ecrit = RequetesReservation::modifier(base, r, libelle, &resultat.erreur, &autrePoste, &accord, &nouveau,
                                               ensuite);
    while (!ecrit && nouveau) {
        const Accord encore = Chevauchements(base, r, r.numero, question);
        if (!encore.accepte) {
            resultat.issue = encore.erreur.isEmpty() ? Issue::Abandonne : Issue::Echec;
            resultat.erreur = encore.erreur;
            return resultat;
        }
        accord = encore.numeros;
        ecrit = RequetesReservation::modifier(base, r, libelle, &resultat.erreur, &autrePoste, &accord, &nouveau,
                                              ensuite);
    }
    if (!ecrit) {
        resultat.issue = autrePoste ? Issue::AutrePoste : Issue::Echec;
        return resultat;
    }
    resultat.issue = Issue::Enregistre;
    resultat.avertissement = suivi.avertissement;
    return resultat;
}

} // namespace EnregistrementSejour
