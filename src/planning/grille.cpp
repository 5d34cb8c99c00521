#include "grille.h"

#include "store/conversion.h"
#include "store/dates.h"
#include "store/requetes.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace Grille {

namespace {

int arrondi(double v)
{
    // Halves to even, as every coordinate of the grid is rounded.
    return int(std::nearbyint(v));
}

int largeurSure(int largeurJour)
{
    return largeurJour < 1 ? 1 : largeurJour;
}

} // namespace

int nombreColonnes(int largeurPlanning, int largeurJour)
{
    if (largeurPlanning < 0)
        return 0;
    return largeurPlanning / largeurSure(largeurJour) + 1;
}

QString libelleMois(const QDate& jour)
{
    return Dates::nomMoisMinuscule(jour.month()) + QLatin1Char(' ') + QString::number(jour.year());
}

Entete entete(const QDate& datedepart, int largeurPlanning, int largeurJour, const QDate& aujourdhui)
{
    const int L = largeurSure(largeurJour);
    const int n = nombreColonnes(largeurPlanning, L);
    Entete e;
    QString libelle = libelleMois(datedepart);
    int m = 0;
    for (int d = 0; d < n; ++d) {
        const int x = d * L;
        const QDate jour = datedepart.addDays(d);
        const QString l = libelleMois(jour);
        if (l != libelle) {
            e.mois.append({libelle, m, x});
            e.separations.append(x);
            libelle = l;
            m = x;
        }
        Colonne c;
        c.x = x;
        c.jour = jour;
        const int j = Dates::jourDeSemaine(jour);
        c.ombre = j == 7 || j == 1;
        c.aujourdhui = jour == aujourdhui;
        c.nomJour = Dates::nomJourCourt(jour);
        c.numeroJour = QStringLiteral("%1").arg(jour.day(), 2, 10, QLatin1Char('0'));
        e.colonnes.append(c);
    }
    e.xFin = n * L;
    e.mois.append({libelle, m, e.xFin});
    return e;
}

std::optional<int> marqueAujourdhui(const QDateTime& maintenant, const QDate& datedepart, int largeurJour,
                                    int largeurPlanning)
{
    const int L = largeurSure(largeurJour);
    const qint64 colonne = datedepart.daysTo(maintenant.date());
    if (!maintenant.isValid() || colonne < 0 || colonne * L > largeurPlanning)
        return std::nullopt;
    const double fraction = QTime(0, 0).msecsTo(maintenant.time()) / 86400000.0;
    const int dans = std::clamp(int(std::floor(fraction * L)), 0, std::max(0, L - 2));
    return int(colonne) * L + dans;
}

int hautTexteCentre(int yLigne, int hauteurLigne, int hauteurTexte)
{
    return yLigne + (hauteurLigne - hauteurTexte) / 2;
}

double jourDe(const QDateTime& moment)
{
    static const double origine = Dates::enJours(Dates::naive(QDate(1899, 12, 30)));
    return moment.isValid() ? Dates::enJours(moment) : origine;
}

Rectangle rectangleBarre(const QDateTime& debut, const QDateTime& fin, const QDate& datedepart,
                         int largeurJour, int hauteurLigne, int yLigne)
{
    const double origine = Dates::enJours(Dates::naive(datedepart));
    Rectangle r;
    r.x1 = arrondi((jourDe(debut) - origine) * largeurJour + 2);
    r.y1 = yLigne + 2;
    r.x2 = arrondi((jourDe(fin) - origine) * largeurJour - 2);
    r.y2 = yLigne + hauteurLigne - 2;
    return r;
}

Barre barreDepuis(const Requetes::ReservationPlanning& ligne, const QDate& datedepart,
                  int largeurJour, int hauteurLigne, int yLigne)
{
    const Requetes::Reservation& res = ligne.reservation;
    Barre b;
    b.reservation = res;
    // A missing state leaves its code and name empty around the dash.
    b.libelleEtat = ligne.etatTrouve
        ? QString::number(ligne.code) + QStringLiteral(" - ") + ligne.nom
        : QStringLiteral(" - ");
    b.r = rectangleBarre(res.debut, res.fin, datedepart, largeurJour, hauteurLigne, yLigne);
    b.nbadultes = Conversion::EntierSeize(res.nbadultes).value_or(0);
    b.nbenfants = Conversion::EntierSeize(res.nbenfants).value_or(0);
    b.couleur = ligne.etatTrouve ? ligne.couleur : 0;
    b.hautLigne = yLigne;
    return b;
}

Rectangle rectangleEtiquette(const Rectangle& barre)
{
    Rectangle r = barre;
    if (r.x1 < 0 && r.x2 >= 0)
        r.x1 = 0;
    return r;
}

bool etiquetteDeplacee(const Rectangle& barre, int dx)
{
    const auto coupee = [](int x1, int x2) { return x1 < 0 && x2 >= 0; };
    return coupee(barre.x1, barre.x2) || coupee(barre.x1 - dx, barre.x2 - dx);
}

void partagerChevauchements(QList<Barre>& barres, int hauteurLigne)
{
    struct Sejour { double debut, fin; int index; };
    QList<Sejour> sejours;
    for (int i = 0; i < barres.size(); ++i) {
        const double a = jourDe(barres.at(i).reservation.debut);
        const double b = jourDe(barres.at(i).reservation.fin);
        sejours.append({std::min(a, b), std::max(a, b), i});
    }
    std::stable_sort(sejours.begin(), sejours.end(),
                     [](const Sejour& a, const Sejour& b) { return a.debut < b.debut; });
    // Groups of stays linked by shared time; in a group each stay takes the
    // first band free at its arrival.
    for (qsizetype debutGroupe = 0; debutGroupe < sejours.size();) {
        qsizetype finGroupe = debutGroupe + 1;
        double finCommune = sejours.at(debutGroupe).fin;
        while (finGroupe < sejours.size() && sejours.at(finGroupe).debut < finCommune) {
            finCommune = std::max(finCommune, sejours.at(finGroupe).fin);
            ++finGroupe;
        }
        if (finGroupe - debutGroupe > 1) {
            QList<double> finsBandes;
            QList<int> bandes;
            for (qsizetype k = debutGroupe; k < finGroupe; ++k) {
                const Sejour& s = sejours.at(k);
                int bande = 0;
                while (bande < finsBandes.size() && finsBandes.at(bande) > s.debut)
                    ++bande;
                if (bande == finsBandes.size())
                    finsBandes.append(s.fin);
                else
                    finsBandes[bande] = s.fin;
                bandes.append(bande);
            }
            const int n = int(finsBandes.size());
            for (qsizetype k = debutGroupe; k < finGroupe; ++k) {
                Barre& b = barres[sejours.at(k).index];
                const int haut = b.hautLigne + 2;
                const int hauteur = std::max(n, hauteurLigne - 3);   // rows y1 .. y2 of a whole bar
                const int bande = bandes.at(k - debutGroupe);
                b.r.y1 = haut + bande * hauteur / n;
                b.r.y2 = haut + (bande + 1) * hauteur / n - 1;
                b.chevauche = true;
            }
        }
        debutGroupe = finGroupe;
    }
}

int barreTouchee(const QList<Barre>& barres, int x, int y)
{
    for (int i = 0; i < barres.size(); ++i) {
        const Rectangle& r = barres.at(i).r;
        if (r.x1 <= x && x <= r.x2 && r.y1 <= y && y <= r.y2)
            return i + 1;
    }
    return 0;
}

Rectangle cellule(int ligne, int premiereLigne, const QDate& jour, const QDate& datedepart, int largeurJour,
                  int hauteurLigne)
{
    Rectangle r;
    r.x1 = int(datedepart.daysTo(jour)) * largeurJour;
    r.y1 = hautLigne(ligne, premiereLigne, hauteurLigne);
    r.x2 = r.x1 + largeurJour;
    r.y2 = r.y1 + hauteurLigne;
    return r;
}

int barreDansCellule(const QList<Barre>& barres, const Rectangle& c)
{
    for (int i = 0; i < barres.size(); ++i) {
        const Rectangle& r = barres.at(i).r;
        if (r.x1 <= c.x2 && c.x1 <= r.x2 && r.y1 <= c.y2 && c.y1 <= r.y2)
            return i + 1;
    }
    return 0;
}

qint64 garderVisible(qint64 premier, qint64 choisi, qint64 nbVisibles)
{
    const qint64 n = std::max<qint64>(1, nbVisibles);
    if (choisi < premier)
        return choisi;
    if (choisi >= premier + n)
        return choisi - n + 1;
    return premier;
}

QDate jourApresEnregistrement(const QDate& datedepart, int joursVisibles, const QDateTime& debut,
                              const QDateTime& fin)
{
    if (!debut.isValid())
        return datedepart;
    const QDate arrivee = debut.date();
    const QDate depart = fin.isValid() && fin.date() >= arrivee ? fin.date() : arrivee;
    const QDate dernierVu = datedepart.addDays(std::max(1, joursVisibles) - 1);
    const bool vu = arrivee <= dernierVu && depart >= datedepart;
    return vu ? datedepart : arrivee;
}

QString infoBulle(const Barre& b, const QString& unite, std::optional<double> solde)
{
    const Requetes::Reservation& r = b.reservation;
    auto moment = [](const QDateTime& d) {
        return d.isValid() ? Dates::jjmmaaaa(d.date()) + QLatin1Char(' ') + Dates::hhnn(d.time()) : QStringLiteral("?");
    };
    auto compte = [](qint64 n, const char* un, const char* plusieurs) {
        return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n > 1 || n < -1 ? plusieurs : un);
    };
    QStringList lignes;
    lignes << (r.nomclient.isEmpty() ? QStringLiteral("(sans nom)") : r.nomclient);
    lignes << QStringLiteral("Logement : ") + unite;
    lignes << QString::fromUtf8("Arrivée : ") + moment(r.debut);
    lignes << QString::fromUtf8("Départ : ") + moment(r.fin);
    if (r.debut.isValid() && r.fin.isValid())
        lignes << compte(r.debut.date().daysTo(r.fin.date()), "nuit", "nuits");
    lignes << compte(b.nbadultes, "adulte", "adultes") + QStringLiteral(", ") + compte(b.nbenfants, "enfant", "enfants");
    lignes << QString::fromUtf8("État : ") + b.libelleEtat;
    lignes << QStringLiteral("Solde : ") + (solde ? Conversion::Monnaie(*solde) : QStringLiteral("illisible"));
    return lignes.join(QLatin1Char('\n'));
}

QString texteAucunLogement()
{
    return QString::fromUtf8("Aucun logement : Outils \u2192 Paramètres, onglet Objets");
}

Defilement defilement(int nbLignes, int hauteurVisible, int hauteurLigne, int premiereVoulue)
{
    Defilement d;
    d.lignesVisibles = std::max(0, hauteurVisible) / largeurSure(hauteurLigne);
    // A grid lower than one row still scrolls one unit at a time.
    d.premiereMaximale = std::max(0, nbLignes - std::max(1, d.lignesVisibles));
    d.premiereLigne = std::clamp(premiereVoulue, 0, d.premiereMaximale);
    return d;
}

int hautLigne(int ligne, int premiereLigne, int hauteurLigne)
{
    return (ligne - premiereLigne) * hauteurLigne;
}

bool ligneVisible(int yLigne, int hauteurLigne, int hauteurGrille)
{
    return yLigne + hauteurLigne > 0 && yLigne < hauteurGrille;
}

int decalageGlisser(int dx, int largeurJour)
{
    return int(std::floor(double(dx) / largeurSure(largeurJour)));
}

int joursMaintenus(qint64 ms)
{
    constexpr qint64 kRepetition = 400;   // before it, a press is one day
    constexpr qint64 kRapide = 2000;      // from it, the fast pace
    if (ms < kRepetition)
        return 1;
    const qint64 lent = std::min(ms, kRapide) - kRepetition;
    int jours = 2 + int(lent / 125);      // 8 a second
    if (ms > kRapide)
        jours += int((ms - kRapide) * 30 / 1000);
    return jours;
}

QDateTime finMinimaleVisible(const QDate& datedepart, int largeurJour)
{
    // A bar's ends reach 2 pixels outside their moments; one more day keeps
    // every stay whose end or start could still touch the first column.
    const int jours = 1 + (2 + largeurSure(largeurJour) - 1) / largeurSure(largeurJour);
    return Dates::naive(datedepart.addDays(-jours));
}

QColor couleurDepuisBGR(qint32 bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

namespace {

double luminance(const QColor& c)
{
    auto lineaire = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lineaire(c.redF()) + 0.7152 * lineaire(c.greenF()) + 0.0722 * lineaire(c.blueF());
}

} // namespace

double contraste(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor couleurTexte(qint32 bgr)
{
    const QColor fond = couleurDepuisBGR(bgr);
    const QColor blanc(255, 255, 255);
    const QColor noir(0, 0, 0);
    if (contraste(fond, blanc) >= 4.5)
        return blanc;
    return contraste(fond, noir) > contraste(fond, blanc) ? noir : blanc;
}

QString etiquetteBarre(const QString& modele, const Barre& b)
{
    if (modele.isEmpty())
        return b.reservation.nomclient;
    auto date = [](const QDateTime& d) { return d.isValid() ? Dates::jjmmaaaa(d.date()) : QString(); };
    const Requetes::Reservation& r = b.reservation;
    auto valeur = [&](const QString& nom, bool* connu) -> QString {
        *connu = true;
        const QString n = nom.toLower();
        if (n == QLatin1String("nomclient")) return b.reservation.nomclient;
        if (n == QLatin1String("nbadultes")) return QString::number(b.nbadultes);
        if (n == QLatin1String("nbenfants")) return QString::number(b.nbenfants);
        if (n == QLatin1String("numeroreservation")) return QString::number(r.numero);
        if (n == QLatin1String("objet")) return QString::number(r.objet);
        if (n == QLatin1String("datedebut")) return date(r.debut);
        if (n == QLatin1String("datefin")) return date(r.fin);
        if (n == QLatin1String("datelimite")) return date(r.datelimite);
        if (n == QLatin1String("arrhes")) return Conversion::Monnaie(r.arrhes);
        if (n == QLatin1String("etat")) return QString::number(r.etat);
        if (n == QLatin1String("remarque")) return r.remarque;
        if (n == QLatin1String("telephone")) return r.telephone;
        if (n == QLatin1String("email")) return r.email;
        *connu = false;
        return QString();
    };
    // The template is cut into plain text and field names once; every bar of
    // a refresh then only looks its values up.
    struct Morceau {
        QString texte;
        bool champ = false;
    };
    static QString modeleLu;
    static QList<Morceau> morceaux;
    if (modele != modeleLu) {
        static const QRegularExpression champ(QStringLiteral("\\[([^\\[\\]]*)\\]"));
        morceaux.clear();
        qsizetype suite = 0;
        for (auto it = champ.globalMatch(modele); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            morceaux.append({modele.mid(suite, m.capturedStart() - suite), false});
            morceaux.append({m.captured(0), true});
            suite = m.capturedEnd();
        }
        morceaux.append({modele.mid(suite), false});
        modeleLu = modele;
    }
    QString resultat;
    for (const Morceau& m : std::as_const(morceaux)) {
        if (!m.champ) {
            resultat += m.texte;
            continue;
        }
        bool connu = false;
        const QString v = valeur(m.texte.mid(1, m.texte.size() - 2).trimmed(), &connu);
        resultat += connu ? v : m.texte;
    }
    return resultat;
}

} // namespace Grille
