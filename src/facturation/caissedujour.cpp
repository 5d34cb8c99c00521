#include "caissedujour.h"

#include "documents.h"

#include "config/fichiers.h"

#include "store/conversion.h"

#include <QCollator>
#include <QFont>
#include <QLocale>
#include <QRegularExpression>
#include <QTextDocument>
#include <algorithm>

namespace CaisseDuJour {

namespace {

const QString kBar = QStringLiteral("BAR ");
const QString kAnnulationBar = QStringLiteral("ANNULATION BAR ");
const QString kSejour = QStringLiteral("SEJOUR ");
const QString kTaxe = QStringLiteral("TAXE DE SEJOUR ");
const QString kCorrectionSejour = QStringLiteral("CORRECTION SEJOUR ");
const QString kCorrectionTaxe = QStringLiteral("CORRECTION TAXE DE SEJOUR ");
const QString kAutre = QStringLiteral("Autre");

// The payment types of the payment dialog, by stored code.
const QList<QPair<QString, QString>>& types()
{
    static const QList<QPair<QString, QString>> liste = {
        {QStringLiteral("ESP"), QStringLiteral("Espèces")},
        {QStringLiteral("CB"), QStringLiteral("Carte Bleue")},
        {QStringLiteral("CHQ"), QStringLiteral("Chèque")},
        {QStringLiteral("VIR"), QStringLiteral("Virement")},
    };
    return liste;
}

double ajouter(double total, double montant)
{
    return Conversion::ArrondiCentime(total + montant);
}

// The line break that ends the article's label: the last one, as the bar
// reads its own rows back.
qsizetype finDuLibelle(const QString& texte, qsizetype* suite)
{
    qsizetype fin = texte.lastIndexOf(QStringLiteral("\r\n"));
    if (fin >= 0) {
        *suite = fin + 2;
        return fin;
    }
    fin = texte.lastIndexOf(QLatin1Char('\n'));
    *suite = fin + 1;
    return fin;
}

// Adds a bar row ("<label>\r\n<q> x <price>", prefix removed) to the
// articles, the quantity counted with `signe`.
void compterArticle(QList<Article>& articles, const QString& texte, double montant, int signe)
{
    qsizetype suite = 0;
    const qsizetype fin = finDuLibelle(texte, &suite);
    const QString libelle = fin < 0 ? texte : texte.left(fin);
    std::optional<qint64> quantite;
    if (fin >= 0) {
        const QString ligne = texte.mid(suite);
        const qsizetype x = ligne.indexOf(QStringLiteral(" x "));
        if (x >= 0)
            quantite = Conversion::LireEntier(ligne.left(x));
    }
    auto it = std::find_if(articles.begin(), articles.end(), [&](const Article& a) { return a.libelle == libelle; });
    if (it == articles.end()) {
        articles.append({libelle, 0, true, 0});
        it = articles.end() - 1;
    }
    if (quantite && *quantite <= 1000000)
        it->quantite += signe * int(*quantite);
    else
        it->quantiteSure = false;
    it->montant = ajouter(it->montant, montant);
}

void compter(Groupe& groupe, double montant)
{
    ++groupe.nombre;
    groupe.montant = ajouter(groupe.montant, montant);
}

void trier(QList<Article>& articles)
{
    QCollator ordre(QLocale(QLocale::French, QLocale::France));
    ordre.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(articles.begin(), articles.end(),
                     [&](const Article& a, const Article& b) { return ordre.compare(a.libelle, b.libelle) < 0; });
}

QString premiereLigne(const QString& texte)
{
    const qsizetype fin = texte.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return fin < 0 ? texte : texte.left(fin);
}

} // namespace

const QList<QPair<QString, Nature>>& Prefixes()
{
    static const QList<QPair<QString, Nature>> liste = {
        {kAnnulationBar, Nature::AnnulationBar},
        {kBar, Nature::Bar},
        {kCorrectionTaxe, Nature::CorrectionTaxe},
        {kCorrectionSejour, Nature::CorrectionSejour},
        {kTaxe, Nature::Taxe},
        {kSejour, Nature::Sejour},
    };
    return liste;
}

Nature NatureDe(const QString& paiement, const QString& libelle)
{
    if (!paiement.trimmed().isEmpty())
        return Nature::Paiement;
    for (const auto& [prefixe, nature] : Prefixes())
        if (libelle.startsWith(prefixe))
            return nature;
    return Nature::Autre;
}

QString TypeDePaiement(const QString& code)
{
    const QString cle = code.trimmed().toUpper();
    for (const auto& [c, type] : types())
        if (c == cle)
            return type;
    return kAutre;
}

Rapport Calculer(const QDate& jour, const QList<Operation>& operations)
{
    Rapport r;
    r.jour = jour;
    for (const auto& type : types())
        r.paiements.append({type.second, 0, 0});
    for (const Operation& o : operations) {
        const double prix = Conversion::ArrondiCentime(o.prix);
        if (o.date.date() != jour || prix == 0)
            continue;
        const Nature nature = NatureDe(o.paiement, o.libelle);
        if (nature == Nature::Paiement) {
            const QString type = TypeDePaiement(o.paiement);
            auto it = std::find_if(r.paiements.begin(), r.paiements.end(),
                                   [&](const Paiement& p) { return p.type == type; });
            if (it == r.paiements.end()) {
                r.paiements.append({type, 0, 0});
                it = r.paiements.end() - 1;
            }
            ++it->nombre;
            it->total = ajouter(it->total, prix);
            r.totalEncaisse = ajouter(r.totalEncaisse, prix);
            continue;
        }
        // A charge is shown as the client owes it.
        const double du = -prix;
        const QString& l = o.libelle;
        switch (nature) {
        case Nature::AnnulationBar:
            compterArticle(r.annulationsBar, l.mid(kAnnulationBar.size()), du, -1);
            r.totalBar = ajouter(r.totalBar, du);
            break;
        case Nature::Bar:
            compterArticle(r.ventesBar, l.mid(kBar.size()), du, 1);
            r.totalBar = ajouter(r.totalBar, du);
            break;
        case Nature::CorrectionTaxe:
            compter(r.correctionsTaxe, du);
            r.totalSejour = ajouter(r.totalSejour, du);
            break;
        case Nature::CorrectionSejour:
            compter(r.correctionsSejour, du);
            r.totalSejour = ajouter(r.totalSejour, du);
            break;
        case Nature::Taxe:
            compter(r.taxes, du);
            r.totalSejour = ajouter(r.totalSejour, du);
            break;
        case Nature::Sejour:
            compter(r.sejours, du);
            r.totalSejour = ajouter(r.totalSejour, du);
            break;
        default:
            r.autres.append({premiereLigne(l), du});
            r.totalAutres = ajouter(r.totalAutres, du);
            break;
        }
    }
    trier(r.ventesBar);
    trier(r.annulationsBar);
    r.totalFacture = ajouter(ajouter(r.totalBar, r.totalSejour), r.totalAutres);
    return r;
}

QString Titre(const QDate& jour)
{
    return QStringLiteral("Caisse du ") + QLocale(QLocale::French, QLocale::France).toString(jour, QStringLiteral("dddd d MMMM yyyy"));
}

namespace {

// One line of a section: a label, a count (may be empty) and an amount.
struct Ligne {
    QString libelle;
    QString nombre;
    QString montant;
    bool total = false;
};

struct Section {
    QString titre;
    QString colonneNombre;   // heading of the count column, empty for none
    QList<Ligne> lignes;
    QString vide;            // shown when the section has no line
};

QString quantite(const Article& a)
{
    return QString::number(a.quantite) + (a.quantiteSure ? QString() : QStringLiteral(" ?"));
}

QList<Section> sections(const Rapport& r)
{
    const auto m = [](double v) { return Conversion::Monnaie(v); };
    const auto n = [](int v) { return QString::number(v); };
    QList<Section> s;

    Section paiements{QStringLiteral("Encaissements"), QStringLiteral("Nombre"), {}, {}};
    int nombre = 0;
    for (const Paiement& p : r.paiements) {
        paiements.lignes.append({p.type, n(p.nombre), m(p.total)});
        nombre += p.nombre;
    }
    paiements.lignes.append({QStringLiteral("Total encaissé"), n(nombre), m(r.totalEncaisse), true});
    s.append(paiements);

    Section ventes{QStringLiteral("Ventes du bar"), QStringLiteral("Quantité"), {}, QStringLiteral("Aucune vente")};
    for (const Article& a : r.ventesBar)
        ventes.lignes.append({a.libelle, quantite(a), m(a.montant)});
    s.append(ventes);
    Section annulations{QStringLiteral("Annulations du bar"), QStringLiteral("Quantité"), {},
                        QStringLiteral("Aucune annulation")};
    for (const Article& a : r.annulationsBar)
        annulations.lignes.append({a.libelle, quantite(a), m(a.montant)});
    annulations.lignes.append({QStringLiteral("Total du bar"), {}, m(r.totalBar), true});
    s.append(annulations);

    s.append({QStringLiteral("Séjours et taxe de séjour"), QStringLiteral("Lignes"),
              {{QStringLiteral("Séjours"), n(r.sejours.nombre), m(r.sejours.montant)},
               {QStringLiteral("Corrections de séjour"), n(r.correctionsSejour.nombre), m(r.correctionsSejour.montant)},
               {QStringLiteral("Taxe de séjour"), n(r.taxes.nombre), m(r.taxes.montant)},
               {QStringLiteral("Corrections de taxe de séjour"), n(r.correctionsTaxe.nombre),
                m(r.correctionsTaxe.montant)},
               {QStringLiteral("Total des séjours"), {}, m(r.totalSejour), true}},
              {}});

    Section autres{QStringLiteral("Autres opérations"), {}, {}, QStringLiteral("Aucune")};
    for (const Autre& a : r.autres)
        autres.lignes.append({a.libelle, {}, m(a.montant)});
    if (!r.autres.isEmpty())
        autres.lignes.append({QStringLiteral("Total des autres opérations"), {}, m(r.totalAutres), true});
    s.append(autres);

    s.append({QStringLiteral("Totaux"), {},
              {{QStringLiteral("Total facturé"), {}, m(r.totalFacture)},
               {QStringLiteral("Total encaissé"), {}, m(r.totalEncaisse)}},
              {}});
    return s;
}

} // namespace

QString Texte(const Rapport& rapport)
{
    const QList<Section> liste = sections(rapport);
    // One set of column widths for the whole report, so that every amount
    // of every section ends in the same column.
    qsizetype largeurLibelle = 0;
    qsizetype largeurNombre = 0;
    qsizetype largeurMontant = QStringLiteral("Montant").size();
    for (const Section& s : liste) {
        largeurNombre = std::max(largeurNombre, s.colonneNombre.size());
        for (const Ligne& l : s.lignes) {
            largeurLibelle = std::max(largeurLibelle, l.libelle.size());
            largeurNombre = std::max(largeurNombre, l.nombre.size());
            largeurMontant = std::max(largeurMontant, l.montant.size());
        }
    }
    const QString retrait = QStringLiteral("  ");
    const auto ligne = [&](const QString& libelle, const QString& nombre, const QString& montant) {
        QString texte = retrait + libelle.leftJustified(largeurLibelle) + QStringLiteral("  ")
            + nombre.rightJustified(largeurNombre) + QStringLiteral("  ") + montant.rightJustified(largeurMontant);
        while (texte.endsWith(QLatin1Char(' ')))
            texte.chop(1);
        return texte + QLatin1Char('\n');
    };
    const qsizetype largeur = retrait.size() + largeurLibelle + 2 + largeurNombre + 2 + largeurMontant;

    QString texte = Titre(rapport.jour) + QLatin1Char('\n');
    for (const Section& s : liste) {
        texte += QLatin1Char('\n') + s.titre + QLatin1Char('\n');
        if (!s.colonneNombre.isEmpty())
            texte += ligne(QString(), s.colonneNombre, QStringLiteral("Montant"));
        // The section's own lines, or its note when it has none, then its total.
        bool vide = true;
        for (const Ligne& l : s.lignes)
            if (!l.total) {
                texte += ligne(l.libelle, l.nombre, l.montant);
                vide = false;
            }
        if (vide && !s.vide.isEmpty())
            texte += retrait + s.vide + QLatin1Char('\n');
        for (const Ligne& l : s.lignes)
            if (l.total)
                texte += retrait + QString(largeur - retrait.size(), QLatin1Char('-')) + QLatin1Char('\n')
                    + ligne(l.libelle, l.nombre, l.montant);
    }
    return texte;
}

QString NomDuPdf(const QDate& jour)
{
    return QStringLiteral("Documents/caisse_") + jour.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".pdf");
}

bool EcrirePdf(const QString& texte, const QString& chemin, QString* erreur)
{
    QTextDocument document;
    QFont police(QStringLiteral("DejaVu Sans Mono"), 9);
    police.setStyleHint(QFont::Monospace);
    document.setDefaultFont(police);
    document.setPlainText(texte);
    const QByteArray octets = Documents::PdfDuDocument(document, texte.section(QLatin1Char('\n'), 0, 0));
    if (const QString raison = Fichiers::Ecrire(chemin, octets); !raison.isEmpty()) {
        if (erreur)
            *erreur = Fichiers::MessageNonEcrit(chemin, raison);
        return false;
    }
    return true;
}

} // namespace CaisseDuJour
