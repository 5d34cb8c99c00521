#include "documents.h"

#include "store/conversion.h"
#include "store/dates.h"

#include <QBuffer>
#include <QFont>
#include <QLocale>
#include <QPageSize>
#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <algorithm>
#include <functional>
#include <cmath>

namespace Documents {

namespace {

QString e(const QString& texte)
{
    // Line ends of the user's text become line breaks.
    return texte.toHtmlEscaped().replace(QStringLiteral("\r\n"), QStringLiteral("<br>"))
        .replace(QLatin1Char('\n'), QStringLiteral("<br>")).replace(QLatin1Char('\r'), QStringLiteral("<br>"));
}

QString m(double montant)
{
    return Conversion::Monnaie(montant).toHtmlEscaped();
}

QString taux(double t)
{
    return QLocale(QLocale::French).toString(t) + QStringLiteral(" %");
}

QString dateHeure(const QDateTime& d)
{
    return d.isValid() ? Dates::jjmmaaaa(d.date()) + QStringLiteral(" à ") + Dates::hhnn(d.time()) : QStringLiteral("?");
}

QString entete(const Entete& et)
{
    QString h = QStringLiteral("<table width='100%'><tr><td><b style='font-size:14pt'>") + e(et.nom) + QStringLiteral("</b><br>");
    if (!et.adresse.isEmpty())
        h += e(et.adresse) + QStringLiteral("<br>");
    if (!et.codePostal.isEmpty() || !et.ville.isEmpty())
        h += e((et.codePostal + QLatin1Char(' ') + et.ville).trimmed()) + QStringLiteral("<br>");
    if (!et.telephone.isEmpty())
        h += QStringLiteral("Tél. ") + e(et.telephone) + QStringLiteral("<br>");
    if (!et.email.isEmpty())
        h += e(et.email) + QStringLiteral("<br>");
    if (!et.siret.isEmpty())
        h += QStringLiteral("SIRET ") + e(et.siret) + QStringLiteral("<br>");
    if (!et.numeroTVA.isEmpty())
        h += QStringLiteral("TVA intracommunautaire ") + e(et.numeroTVA);
    return h + QStringLiteral("</td></tr></table><hr>");
}

QString ligneTableau(const QStringList& cellules, bool entete = false)
{
    QString h = QStringLiteral("<tr>");
    for (qsizetype i = 0; i < cellules.size(); ++i) {
        const QString balise = entete ? QStringLiteral("th") : QStringLiteral("td");
        const QString alignement = i == 0 ? QString() : QStringLiteral(" align='right'");
        h += QLatin1Char('<') + balise + alignement + QLatin1Char('>') + cellules.at(i) + QStringLiteral("</") + balise + QLatin1Char('>');
    }
    return h + QStringLiteral("</tr>");
}

// "<br>Client : … <br>Réservation n° 12 : Les Pins, du 03/08/2027 au 10/08/2027".
QString clientEtSejour(const Piece& p)
{
    return QStringLiteral("<br>Client : <b>") + e(p.client) + QStringLiteral("</b><br>Réservation n° ")
        + QString::number(p.reservation) + QStringLiteral(" : ") + e(p.unite) + QStringLiteral(", du ")
        + (p.arrivee.isValid() ? Dates::jjmmaaaa(p.arrivee.date()) : QStringLiteral("?")) + QStringLiteral(" au ")
        + (p.depart.isValid() ? Dates::jjmmaaaa(p.depart.date()) : QStringLiteral("?"));
}

bool estPaiement(const RequetesFacturation::LigneCompte& l)
{
    return !l.paiement.trimmed().isEmpty();
}

} // namespace

QList<TVA> VentilerTVA(const QList<RequetesFacturation::LigneCompte>& lignes)
{
    QList<TVA> parTaux;
    TVA sansTaux{false, 0, 0, 0, 0};
    for (const auto& l : lignes) {
        if (l.prix == 0 || estPaiement(l))
            continue;
        const double ttc = -l.prix;
        const bool taxe = l.libelle.startsWith(QStringLiteral("TAXE DE SEJOUR "))
            || l.libelle.startsWith(QStringLiteral("CORRECTION TAXE DE SEJOUR "));
        if (!l.tauxTVA || *l.tauxTVA <= 0 || taxe) {
            sansTaux.ttc += ttc;
            continue;
        }
        auto it = std::find_if(parTaux.begin(), parTaux.end(),
                               [&](const TVA& t) { return std::llround(t.taux * 100) == std::llround(*l.tauxTVA * 100); });
        if (it == parTaux.end()) {
            parTaux.append({true, *l.tauxTVA, 0, 0, 0});
            it = parTaux.end() - 1;
        }
        it->ttc += ttc;
    }
    std::sort(parTaux.begin(), parTaux.end(), [](const TVA& a, const TVA& b) { return a.taux < b.taux; });
    for (TVA& t : parTaux) {
        t.ttc = Conversion::ArrondiCentime(t.ttc);
        t.ht = Conversion::ArrondiCentime(t.ttc / (1.0 + t.taux / 100.0));
        t.tva = Conversion::ArrondiCentime(t.ttc - t.ht);
    }
    if (std::llround(sansTaux.ttc * 100) != 0) {
        sansTaux.ttc = sansTaux.ht = Conversion::ArrondiCentime(sansTaux.ttc);
        parTaux.append(sansTaux);
    }
    return parTaux;
}

QString HtmlContrat(const Contrat& c)
{
    QString h = QStringLiteral("<html><body style='font-family:DejaVu Sans; font-size:10pt'>") + entete(c.etablissement);
    h += QStringLiteral("<h2>Contrat de réservation n° ") + QString::number(c.reservation) + QStringLiteral("</h2>");
    h += QStringLiteral("<p>Client : <b>") + e(c.client) + QStringLiteral("</b>");
    if (!c.telephone.trimmed().isEmpty())
        h += QStringLiteral("<br>Téléphone : ") + e(c.telephone);
    if (!c.email.trimmed().isEmpty())
        h += QStringLiteral("<br>E-mail : ") + e(c.email);
    h += QStringLiteral("</p><p>Logement : <b>") + e(c.unite) + QStringLiteral("</b><br>Arrivée : ") + dateHeure(c.arrivee)
        + QStringLiteral("<br>Départ : ") + dateHeure(c.depart) + QStringLiteral("<br>Personnes : ")
        + QString::number(c.adultes) + QStringLiteral(" adulte(s), ") + QString::number(c.enfants)
        + QStringLiteral(" enfant(s)</p>");
    h += QStringLiteral("<h3>Prix du séjour</h3>");
    if (!c.prix.valide()) {
        h += QStringLiteral("<p>") + e(c.prix.erreur) + QStringLiteral("</p>");
    } else {
        h += QStringLiteral("<table width='100%' cellspacing='0' cellpadding='3' border='1'>");
        for (const Tarification::Ligne& l : c.prix.lignes)
            h += ligneTableau({e(l.libelle), m(l.montant)});
        h += ligneTableau({QStringLiteral("<b>Total</b>"), QStringLiteral("<b>") + m(c.prix.total) + QStringLiteral("</b>")});
        h += QStringLiteral("</table>");
    }
    if (c.arrhes > 0) {
        h += QStringLiteral("<p>Arrhes demandées : <b>") + m(c.arrhes) + QStringLiteral("</b>");
        if (c.dateAttendue.isValid())
            h += QStringLiteral(", à régler avant le ") + Dates::jjmmaaaa(c.dateAttendue);
        h += QStringLiteral("</p>");
    }
    if (!c.remarque.trimmed().isEmpty())
        h += QStringLiteral("<p>Remarque : ") + e(c.remarque.trimmed()) + QStringLiteral("</p>");
    if (!c.etablissement.conditions.trimmed().isEmpty())
        h += QStringLiteral("<h3>Conditions</h3><p style='font-size:8pt'>") + e(c.etablissement.conditions) + QStringLiteral("</p>");
    h += QStringLiteral("<p>Fait le ") + Dates::jjmmaaaa(c.date)
        + QStringLiteral(".</p><table width='100%'><tr><td>Le client</td><td align='right'>L'établissement</td></tr></table>");
    return h + QStringLiteral("</body></html>");
}

QString HtmlFacture(const Facture& f)
{
    QString h = QStringLiteral("<html><body style='font-family:DejaVu Sans; font-size:10pt'>") + entete(f.etablissement);
    h += QStringLiteral("<h2>Facture ") + e(f.numero) + QStringLiteral("</h2><p>Date : ") + Dates::jjmmaaaa(f.date)
        + clientEtSejour(f) + (f.annulee ? QStringLiteral(" (annulée)") : QString()) + QStringLiteral("</p>");

    // The head of the charges repeats at the top of every page they run onto.
    h += QStringLiteral("<table width='100%' cellspacing='0' cellpadding='3' border='1'><thead>")
        + ligneTableau({QStringLiteral("Prestation"), QStringLiteral("TVA"), QStringLiteral("Montant TTC")}, true)
        + QStringLiteral("</thead>");
    const LignesFacture::Sejour sejour{f.unite, f.arrivee.date(), f.depart.date(), f.prix, f.annulee};
    double charges = 0;
    for (const LignesFacture::Ligne& l : LignesFacture::Charges(f.lignes, sejour)) {
        charges += l.montant;
        h += ligneTableau({e(l.libelle), l.tauxTVA ? taux(*l.tauxTVA) : QStringLiteral("—"), m(l.montant)});
    }
    charges = Conversion::ArrondiCentime(charges);
    h += ligneTableau({QStringLiteral("<b>Total TTC</b>"), QString(), QStringLiteral("<b>") + m(charges) + QStringLiteral("</b>")});
    h += QStringLiteral("</table><h3>TVA</h3><table width='100%' cellspacing='0' cellpadding='3' border='1'>")
        + ligneTableau({QStringLiteral("Taux"), QStringLiteral("Hors taxes"), QStringLiteral("TVA"), QStringLiteral("TTC")}, true);
    for (const TVA& t : VentilerTVA(f.lignes))
        h += ligneTableau({t.soumis ? taux(t.taux) : QStringLiteral("Non soumis (taxe de séjour…)"), m(t.ht), m(t.tva), m(t.ttc)});
    h += QStringLiteral("</table><h3>Paiements</h3><table width='100%' cellspacing='0' cellpadding='3' border='1'>");
    double paiements = 0;
    for (const auto& l : f.lignes) {
        if (l.prix == 0 || !estPaiement(l))
            continue;
        paiements += l.prix;
        h += ligneTableau({Dates::jjmmaaaa(l.date.date()) + QStringLiteral(" ") + e(l.libelle), m(l.prix)});
    }
    h += ligneTableau({QStringLiteral("<b>Total payé</b>"), QStringLiteral("<b>") + m(paiements) + QStringLiteral("</b>")});
    h += QStringLiteral("</table><p><b>") + e(LignesFacture::Solde(Conversion::ArrondiCentime(paiements - charges)))
        + QStringLiteral("</b></p>");
    return h + QStringLiteral("</body></html>");
}

QString HtmlAvoir(const Avoir& a)
{
    QString h = QStringLiteral("<html><body style='font-family:DejaVu Sans; font-size:10pt'>") + entete(a.etablissement);
    h += QStringLiteral("<h2>Avoir ") + e(a.numero) + QStringLiteral("</h2><p>Date : ") + Dates::jjmmaaaa(a.date);
    if (!a.origine.isEmpty())
        h += (a.annulation ? QStringLiteral("<br>Annule la facture ") : QStringLiteral("<br>Se rapporte à la facture "))
            + QStringLiteral("<b>") + e(a.origine) + QStringLiteral("</b>");
    h += clientEtSejour(a);
    if (a.annulation)
        h += QStringLiteral("<br>Motif : annulation de la réservation");
    else if (!a.motif.isEmpty())
        h += QStringLiteral("<br>Motif : ") + e(a.motif);
    h += QStringLiteral("</p><table width='100%' cellspacing='0' cellpadding='3' border='1'>")
        + ligneTableau({QStringLiteral("Prestation"), QStringLiteral("TVA"), QStringLiteral("Montant TTC")}, true);
    double total = 0;
    for (const auto& l : a.lignes) {
        if (l.prix == 0 || estPaiement(l))
            continue;
        total -= l.prix;
        h += ligneTableau({e(l.libelle), l.tauxTVA && *l.tauxTVA > 0 ? taux(*l.tauxTVA) : QStringLiteral("—"), m(-l.prix)});
    }
    h += ligneTableau({QStringLiteral("<b>Total de l'avoir TTC</b>"), QString(),
                       QStringLiteral("<b>") + m(Conversion::ArrondiCentime(total)) + QStringLiteral("</b>")});
    h += QStringLiteral("</table><h3>TVA</h3><table width='100%' cellspacing='0' cellpadding='3' border='1'>")
        + ligneTableau({QStringLiteral("Taux"), QStringLiteral("Hors taxes"), QStringLiteral("TVA"), QStringLiteral("TTC")}, true);
    for (const TVA& t : VentilerTVA(a.lignes))
        h += ligneTableau({t.soumis ? taux(t.taux) : QStringLiteral("Non soumis (taxe de séjour…)"), m(t.ht), m(t.tva), m(t.ttc)});
    return h + QStringLiteral("</table></body></html>");
}

namespace {

// The bytes of a PDF of A4 pages that `ecrire` fills; empty when it fails.
QByteArray enPdf(const QString& titre, double margesMm, const std::function<bool(QPdfWriter&)>& ecrire)
{
    QByteArray octets;
    QBuffer tampon(&octets);
    if (!tampon.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter pdf(&tampon);
        pdf.setTitle(titre);
        pdf.setCreator(QStringLiteral("Orvane Planning"));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(margesMm, margesMm, margesMm, margesMm), QPageLayout::Millimeter);
        if (!ecrire(pdf))
            return {};
    }
    tampon.close();
    return octets;
}

} // namespace

QByteArray PdfDuDocument(const QTextDocument& document, const QString& titre, double margesMm)
{
    return enPdf(titre, margesMm, [&](QPdfWriter& pdf) {
        document.print(&pdf);
        return true;
    });
}

namespace {

void preparer(QTextDocument& document)
{
    // No ligatures: the text read back from the PDF ("fils", not "ﬁls")
    // is the text written, for a search or a copy.
    QFont police(QStringLiteral("DejaVu Sans"), 10);
    police.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(police);
}

} // namespace

QByteArray Pdf(const QString& html, const QString& titre)
{
    QTextDocument document;
    preparer(document);
    document.setHtml(html);
    return PdfDuDocument(document, titre);
}

QByteArray PdfMarque(const QString& html, const QString& titre, const QString& marque)
{
    return enPdf(titre, 15, [&](QPdfWriter& pdf) {
        // Laid out at the writer's resolution, as QTextDocument::print does,
        // on pages shortened by the height of the foot.
        QTextDocument document;
        document.documentLayout()->setPaintDevice(&pdf);
        preparer(document);
        document.setHtml(html);
        QFont policePied(QStringLiteral("DejaVu Sans"), 8);
        policePied.setStyleStrategy(QFont::PreferNoShaping);
        const QRectF corps = pdf.pageLayout().paintRectPixels(pdf.resolution());
        const qreal pied = QFontMetricsF(policePied, &pdf).height() * 2;
        const QSizeF page(corps.width(), corps.height() - pied);
        document.setPageSize(page);
        const int pages = std::max(1, document.pageCount());
        QPainter peintre(&pdf);
        if (!peintre.isActive())
            return false;
        for (int i = 0; i < pages; ++i) {
            if (i > 0)
                pdf.newPage();
            const QRectF vue(QPointF(0, i * page.height()), page);
            peintre.save();
            peintre.translate(0, -vue.top());
            document.drawContents(&peintre, vue);
            peintre.restore();
            peintre.setFont(policePied);
            peintre.drawText(QRectF(0, page.height(), page.width(), pied), Qt::AlignRight | Qt::AlignBottom,
                             marque + QStringLiteral(" — page ") + QString::number(i + 1) + QLatin1Char('/')
                                 + QString::number(pages));
        }
        return true;
    });
}

QByteArray PdfFacture(const Facture& f)
{
    return PdfMarque(HtmlFacture(f), QStringLiteral("Facture ") + f.numero, QStringLiteral("Facture ") + f.numero);
}

} // namespace Documents
