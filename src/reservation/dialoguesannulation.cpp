#include "dialoguesannulation.h"

#include "bar/caisse.h"
#include "bar/encaissement.h"
#include "store/conversion.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace DialoguesAnnulation {

namespace {

// A dialog of a few rows and two buttons; `accepter` checks the rows and
// says why they are refused ("" to accept).
struct Dialogue {
    QDialog boite;
    QFormLayout* lignes = nullptr;
    QLabel* note = nullptr;

    Dialogue(QWidget* parent, const QString& titre, const QString& oui, const QString& non)
        : boite(parent)
    {
        boite.setWindowTitle(titre);
        auto* disposition = new QVBoxLayout(&boite);
        lignes = new QFormLayout;
        disposition->addLayout(lignes);
        note = new QLabel(&boite);
        note->setObjectName(QStringLiteral("note"));
        note->setWordWrap(true);
        disposition->addWidget(note);
        auto* boutons = new QDialogButtonBox(&boite);
        QPushButton* accepter = boutons->addButton(oui, QDialogButtonBox::AcceptRole);
        accepter->setObjectName(QStringLiteral("accepter"));
        QPushButton* revenir = boutons->addButton(non, QDialogButtonBox::RejectRole);
        revenir->setObjectName(QStringLiteral("revenir"));
        // What these dialogs do is hard to undo: Enter never does it.
        accepter->setAutoDefault(false);
        revenir->setDefault(true);
        disposition->addWidget(boutons);
        QObject::connect(boutons, &QDialogButtonBox::rejected, &boite, &QDialog::reject);
        QObject::connect(boutons, &QDialogButtonBox::accepted, &boite, [this] {
            const QString refus = verifier ? verifier() : QString();
            if (refus.isEmpty())
                boite.accept();
            else
                QMessageBox::warning(&boite, boite.windowTitle(), refus);
        });
    }
    std::function<QString()> verifier;
};

} // namespace

std::optional<MontantOuPourcentage::Valeur> DemanderFrais(QWidget* parent, const QString& titre,
    const MontantOuPourcentage::Valeur& proposition, double prix)
{
    Dialogue d(parent, titre, QStringLiteral("Annuler la réservation"), QStringLiteral("Revenir"));
    d.boite.setObjectName(QStringLiteral("DemanderFrais"));
    auto* frais = new QLineEdit(proposition.texte(), &d.boite);
    frais->setObjectName(QStringLiteral("frais"));
    d.lignes->addRow(QStringLiteral("Frais d'annulation (montant ou %) :"), frais);
    auto montrer = [&] {
        const auto v = MontantOuPourcentage::Lire(frais->text());
        d.note->setText(QStringLiteral("Prix du séjour : ") + Conversion::Monnaie(prix)
                        + (v ? QStringLiteral("\nFrais retenus : ") + Conversion::Monnaie(v->montant(prix)) : QString())
                        + QStringLiteral("\nLes nuits sont libérées à l'instant ; le compte et les factures sont conservés."));
    };
    montrer();
    QObject::connect(frais, &QLineEdit::textChanged, &d.boite, montrer);
    d.verifier = [&] {
        return MontantOuPourcentage::Lire(frais->text())
            ? QString()
            : QStringLiteral("Frais d'annulation illisibles : tapez un montant (45,50) ou un pourcentage (30 %).");
    };
    frais->selectAll();
    if (d.boite.exec() != QDialog::Accepted)
        return std::nullopt;
    return MontantOuPourcentage::Lire(frais->text());
}

QString RefusRemboursement(const QString& texte, double du, double* montant)
{
    const auto v = Conversion::LireMontant(texte);
    if (!v || Conversion::ArrondiCentime(*v) <= 0)
        return QStringLiteral("Montant à rembourser illisible : tapez un montant positif (120,50).");
    if (std::llround(*v * 100) > std::llround(du * 100))
        return QStringLiteral("On ne peut rembourser plus que le trop-perçu (") + Conversion::Monnaie(du) + QStringLiteral(").");
    if (montant)
        *montant = Conversion::ArrondiCentime(*v);
    return QString();
}

QString RefusAvoir(const QString& montant, const QString& taux, AvoirDemande* lu)
{
    const auto m = Conversion::LireMontant(montant);
    if (!m || Conversion::ArrondiCentime(*m) <= 0)
        return QStringLiteral("Montant de l'avoir illisible : tapez un montant positif, TVA comprise (22,00).");
    QString t = taux.trimmed();
    if (t.endsWith(QLatin1Char('%')))
        t.chop(1);
    const auto r = Conversion::LireMontant(t);
    if (!r || *r < 0 || *r >= 100)
        return QStringLiteral("Taux de TVA illisible : tapez un taux de 0 à 99 (10 ou 5,5).");
    if (lu) {
        lu->montant = Conversion::ArrondiCentime(*m);
        lu->tauxTVA = *r;
    }
    return QString();
}

std::optional<AvoirDemande> DemanderAvoir(QWidget* parent, const QString& titre, const QString& origine)
{
    Dialogue d(parent, titre, QStringLiteral("Émettre l'avoir"), QStringLiteral("Revenir"));
    d.boite.setObjectName(QStringLiteral("DemanderAvoir"));
    auto* montant = new QLineEdit(&d.boite);
    montant->setObjectName(QStringLiteral("montant"));
    auto* taux = new QComboBox(&d.boite);
    taux->setObjectName(QStringLiteral("taux"));
    taux->setEditable(true);
    taux->addItems({QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("5,5"), QStringLiteral("0")});
    auto* motif = new QLineEdit(QStringLiteral("Geste commercial"), &d.boite);
    motif->setObjectName(QStringLiteral("motif"));
    d.lignes->addRow(QStringLiteral("Montant TTC :"), montant);
    d.lignes->addRow(QStringLiteral("Taux de TVA (%) :"), taux);
    d.lignes->addRow(QStringLiteral("Motif :"), motif);
    d.note->setText(QStringLiteral("L'avoir se rapporte à la facture ") + origine
                    + QStringLiteral(" ; il est numéroté dans sa propre suite et ne change plus une fois émis."));
    AvoirDemande lu;
    d.verifier = [&] { return RefusAvoir(montant->text(), taux->currentText(), &lu); };
    if (d.boite.exec() != QDialog::Accepted)
        return std::nullopt;
    lu.motif = motif->text().trimmed();
    return lu;
}

std::optional<Remboursement> DemanderRemboursement(QWidget* parent, const QString& titre, double du)
{
    Dialogue d(parent, titre, QStringLiteral("Rembourser"), QStringLiteral("Plus tard"));
    d.boite.setObjectName(QStringLiteral("DemanderRemboursement"));
    auto* montant = new QLineEdit(Caisse::texteMontant(du), &d.boite);
    montant->setObjectName(QStringLiteral("montant"));
    auto* type = new QComboBox(&d.boite);
    type->setObjectName(QStringLiteral("type"));
    for (const auto& [nom, code] : Encaissement::TypesDeReglement())
        type->addItem(nom, code);
    d.lignes->addRow(QStringLiteral("Montant à rembourser :"), montant);
    d.lignes->addRow(QStringLiteral("Rembourser par :"), type);
    d.note->setText(QStringLiteral("Le client a versé ") + Conversion::Monnaie(du)
                    + QStringLiteral(" de plus que ce qu'il doit."));
    double lu = 0;
    d.verifier = [&] { return RefusRemboursement(montant->text(), du, &lu); };
    montant->selectAll();
    if (d.boite.exec() != QDialog::Accepted)
        return std::nullopt;
    return Remboursement{lu, type->currentData().toString()};
}

} // namespace DialoguesAnnulation
