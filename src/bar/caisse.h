#pragma once
// The arithmetic and the wording of the bar and of the payment dialog, with
// no widget: article layout, quantities, prices, receipt lines, journal
// wording, and the checks of a payment.
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace Caisse {

// Article buttons, in twips: the first at (240, 720), 855 x 735, 60 apart,
// a new row once a left edge would pass 9000.
constexpr QPoint kOrigineArticles{240, 720};
constexpr QSize kTailleArticle{855, 735};
constexpr int kEcartArticles = 60;
constexpr int kLimiteLigne = 9000;
QList<QPoint> dispositionArticles(int nombre, QPoint origine = kOrigineArticles,
                                  QSize taille = kTailleArticle, int ecart = kEcartArticles,
                                  int limite = kLimiteLigne);

// An article as the bar sells it. The price is kept to the cent; an empty or
// unreadable stored price leaves it unset (the article cannot be sold).
struct Article {
    QString libelle;
    std::optional<double> prix;
    double tauxTVA = 10;   // kept with each sale for the invoices
};
Article lireArticle(const QString& libelle, const QVariant& prixTTC);

// The caption of an article button: one word per line. Ampersands are
// doubled so that none is taken for an access key.
QString legendeArticle(const QString& libelle);
// The price as the button's tag shows it: French decimal comma, no
// trailing zeros ("2,5", "12", "1,26").
QString textePrix(double prix);

// Quantity limits of one sale.
constexpr int kQuantiteMin = 1;
constexpr int kQuantiteMax = 9999;
// A quantity typed in the display: plain digits, a whole number from 1 to
// 9999 ("3", " 12 "). nullopt otherwise ("3,0", "1e3", "-1", "+2").
std::optional<int> lireQuantite(const QString& texte);

// One sale of q units at price p.
struct Vente {
    int quantite = 0;
    double montant = 0;        // q x p, to the cent
    QString ligneTicket;       // "3 x 2,5 = 7,50 €"
    QStringList lignesRecu;    // what the receipt prints: the label, then ligneTicket
    QString libelleOperation;  // "BAR Jus d'orange\r\n3 x 2,5"
};
Vente vendre(const Article& article, int quantite);
// The correction of q units sold by mistake: the same amount, to be booked
// the other way; receipt "ANNULATION" / "Jus d'orange" / "-3 x 2,5 = -7,50 €"
// (the narrow receipt would cut a longer line), journal
// "ANNULATION BAR Jus d'orange\r\n3 x 2,5".
Vente annuler(const Article& article, int quantite);
// How many units of the article labelled `libelle` can still be corrected,
// from the wordings of an account's rows: units sold less units already
// corrected. Rows of other kinds are ignored.
int quantiteAnnulable(const QStringList& libellesCompte, const QString& libelle);

// What the client still owes from the amounts of an account's rows: the
// negative balance as a positive amount, 0 when nothing is owed.
double montantDu(const QList<double>& prix);
// What the payment dialog proposes: while the deposit asked (`arrhes`) is
// not wholly received (the payments among the rows: a payment code and a
// positive amount), what remains of it; then what the client still owes.
double montantPropose(const QList<double>& prix, const QStringList& paiements, double arrhes);
// An amount as the payment dialog proposes it: "37,50", or "0".
QString texteMontant(double montant);
// The wording of a payment: "Paiement ESP" without comment, otherwise the
// comment followed by the code, "Acompte (ESP)".
QString libellePaiement(const QString& commentaire, const QString& code);

// A payment amount typed by the user. It must be a number (comma or point),
// not zero, and at most one million euros either way (negative amounts are
// refunds). On refusal, nullopt and the French reason in *motif.
constexpr double kMontantMax = 1000000.0;
std::optional<double> lireMontantPaiement(const QString& texte, QString* motif = nullptr);

// The reservation a window works for: the leading whole number of its label,
// nullopt when the label holds none (or 0).
std::optional<qint32> numeroReservation(const QString& texte);

// Whether the guest of a stay has left: the stay is in the departure state
// (`etatDepart`, when one is set), or its departure day is before today.
// A departure day that cannot be read says nothing.
bool clientParti(qint32 etat, const QDateTime& fin, std::optional<qint32> etatDepart, const QDate& aujourdhui);

} // namespace Caisse
