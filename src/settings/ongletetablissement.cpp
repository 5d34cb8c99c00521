#include "ongletetablissement.h"

#include "facturation/etablissement.h"
#include "store/contexte.h"
#include "store/conversion.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace {

using Etablissement::Coordonnees;

// The INI key of a detail.
QString cleDe(QString Coordonnees::* membre)
{
    for (const Etablissement::Champ& c : Etablissement::Champs())
        if (c.membre == membre)
            return c.cle;
    return QString();
}

QString refusEcriture()
{
    return QStringLiteral("Les coordonnées de l'établissement n'ont pas pu être enregistrées : "
                          "le fichier de configuration ne peut pas être écrit.");
}

QString refusReglage()
{
    return QStringLiteral("Le réglage n'a pas pu être enregistré : le fichier de configuration ne peut pas être écrit.");
}

// The days of delay as typed: a whole number from 0 to 365.
std::optional<int> lireDelai(const QString& texte)
{
    const auto jours = Conversion::LireEntier(texte);
    if (!jours || *jours > 365)
        return std::nullopt;
    return int(*jours);
}

} // namespace

OngletEtablissement::OngletEtablissement(Contexte* contexte, QWidget* parent)
    : QWidget(parent)
    , m_contexte(contexte)
{
    const struct {
        QLineEdit** membre;
        const char* nom;
        const char* libelle;
        QString Coordonnees::* detail;
    } champs[] = {
        {&etablissement_nom, "etablissement_nom", "Nom", &Coordonnees::nom},
        {&etablissement_adresse, "etablissement_adresse", "Adresse", &Coordonnees::adresse},
        {&etablissement_codepostal, "etablissement_codepostal", "Code postal", &Coordonnees::codePostal},
        {&etablissement_ville, "etablissement_ville", "Ville", &Coordonnees::ville},
        {&etablissement_telephone, "etablissement_telephone", "Téléphone", &Coordonnees::telephone},
        {&etablissement_email, "etablissement_email", "E-mail", &Coordonnees::email},
        {&etablissement_siret, "etablissement_siret", "SIRET", &Coordonnees::siret},
        {&etablissement_tva, "etablissement_tva", "N° de TVA", &Coordonnees::numeroTVA},
    };
    auto* grille = new QGridLayout(this);
    grille->setContentsMargins(8, 8, 8, 8);
    grille->setVerticalSpacing(3);
    int ligne = 0;
    for (const auto& c : champs) {
        auto* champ = new QLineEdit(this);
        champ->setObjectName(QLatin1String(c.nom));
        auto* libelle = new QLabel(QString::fromUtf8(c.libelle), this);
        libelle->setBuddy(champ);
        grille->addWidget(libelle, ligne, 0);
        grille->addWidget(champ, ligne++, 1);
        *c.membre = champ;
        m_lignes.append({champ, c.detail});
        const QString cle = cleDe(c.detail);
        connect(champ, &QLineEdit::editingFinished, this, [this, champ, cle] { champ_Change(champ, cle); });
    }
    etablissement_codepostal->setMaximumWidth(90);

    auto* libelle = new QLabel(QStringLiteral("Conditions du contrat"), this);
    etablissement_conditions = new QPlainTextEdit(this);
    etablissement_conditions->setObjectName(QStringLiteral("etablissement_conditions"));
    etablissement_conditions->setTabChangesFocus(true);
    libelle->setBuddy(etablissement_conditions);
    grille->addWidget(libelle, 0, 2);
    grille->addWidget(etablissement_conditions, 1, 2, ligne - 1, 1);
    // The settings of the money of a stay below, on both sides.
    construireReglages(grille, ligne);
    grille->setColumnStretch(1, 1);
    grille->setColumnStretch(2, 1);
    grille->setRowStretch(ligne + 3, 1);
    connect(etablissement_conditions, &QPlainTextEdit::textChanged, this, &OngletEtablissement::conditions_Change);
}

void OngletEtablissement::construireReglages(QGridLayout* grille, int premiereLigne)
{
    auto caseCourte = [this](const char* nom, const QString& aide) {
        auto* champ = new QLineEdit(this);
        champ->setObjectName(QLatin1String(nom));
        champ->setAlignment(Qt::AlignRight);
        champ->setMaximumWidth(110);
        champ->setToolTip(aide);
        return champ;
    };
    const QString montantOuPart = QStringLiteral("Un montant (45,00) ou une part du prix du séjour (30 %)");
    etablissement_fraisannulation = caseCourte("etablissement_fraisannulation", montantOuPart);
    etablissement_arrhes = caseCourte("etablissement_arrhes",
                                      montantOuPart + QStringLiteral(", proposé pour chaque nouvelle réservation"));
    etablissement_delaiarrhes = caseCourte("etablissement_delaiarrhes",
                                           QStringLiteral("Jours entre la réservation et la date attendue des arrhes (0 à 365)"));
    etablissement_porter = new QCheckBox(QStringLiteral("Porter automatiquement le séjour au compte"), this);
    etablissement_porter->setObjectName(QStringLiteral("etablissement_porter"));

    auto* titre = new QLabel(QStringLiteral("<b>Arrhes et annulation</b>"), this);
    titre->setObjectName(QStringLiteral("titre_argent"));
    grille->addWidget(titre, premiereLigne, 0, 1, 3);
    const struct {
        const char* texte;
        QLineEdit* champ;
        int ligne;
        int colonne;
    } places[] = {
        {"Arrhes demandées", etablissement_arrhes, premiereLigne + 1, 0},
        {"Délai des arrhes (jours)", etablissement_delaiarrhes, premiereLigne + 1, 2},
        {"Frais d'annulation", etablissement_fraisannulation, premiereLigne + 2, 0},
    };
    for (const auto& p : places) {
        auto* libelle = new QLabel(QString::fromUtf8(p.texte), this);
        libelle->setBuddy(p.champ);
        auto* rangee = new QHBoxLayout;
        rangee->addWidget(libelle);
        rangee->addStretch(1);
        rangee->addWidget(p.champ);
        // The left one spans the details' two columns.
        grille->addLayout(rangee, p.ligne, p.colonne, 1, p.colonne == 0 ? 2 : 1);
    }
    grille->addWidget(etablissement_porter, premiereLigne + 2, 2);

    connect(etablissement_fraisannulation, &QLineEdit::editingFinished, this, [this] {
        valeur_Change(etablissement_fraisannulation, QStringLiteral("Les frais d'annulation"),
                      &Etablissement::FraisAnnulation, &Etablissement::EcrireFraisAnnulation);
    });
    connect(etablissement_arrhes, &QLineEdit::editingFinished, this, [this] {
        valeur_Change(etablissement_arrhes, QStringLiteral("Les arrhes demandées"), &Etablissement::Arrhes,
                      &Etablissement::EcrireArrhes);
    });
    connect(etablissement_delaiarrhes, &QLineEdit::editingFinished, this, &OngletEtablissement::delai_Change);
    connect(etablissement_porter, &QCheckBox::toggled, this, &OngletEtablissement::porter_Change);
}

void OngletEtablissement::charger()
{
    const Coordonnees lues = Etablissement::Lire(m_contexte->CheminINI);
    for (const Etablissement::Champ& c : Etablissement::Champs())
        m_stocke.insert(c.cle, lues.*c.membre);
    for (const auto& [champ, detail] : m_lignes) {
        champ->setText(lues.*detail);
        champ->setCursorPosition(0);   // a long name shows its start
    }
    const QSignalBlocker bloque(etablissement_conditions);
    etablissement_conditions->setPlainText(lues.conditions);

    const QString& ini = m_contexte->CheminINI;
    etablissement_fraisannulation->setText(Etablissement::FraisAnnulation(ini).texte());
    etablissement_arrhes->setText(Etablissement::Arrhes(ini).texte());
    etablissement_delaiarrhes->setText(QString::number(Etablissement::DelaiArrhes(ini)));
    const QSignalBlocker bloqueCase(etablissement_porter);
    etablissement_porter->setChecked(Etablissement::PorterAutomatiquement(ini));
}

void OngletEtablissement::valeur_Change(QLineEdit* champ, const QString& quoi,
                                        MontantOuPourcentage::Valeur (*lire)(const QString&),
                                        bool (*ecrire)(const QString&, const MontantOuPourcentage::Valeur&))
{
    const QString& ini = m_contexte->CheminINI;
    const MontantOuPourcentage::Valeur stockee = lire(ini);
    const QString saisi = champ->text().trimmed();
    const auto valeur = MontantOuPourcentage::Lire(saisi);
    if (valeur && *valeur == stockee) {
        champ->setText(stockee.texte());
        return;
    }
    QString message;
    if (saisi.isEmpty())
        message = QStringLiteral("%1 ne peuvent pas rester vides : indiquez 0 s'il n'y en a pas.").arg(quoi);
    else if (!valeur)
        message = QStringLiteral("%1 « %2 » ne sont ni un montant ni une part du prix du séjour "
                                 "(exemples : 45,00 ou 30 %, au plus 100 %).").arg(quoi, saisi);
    else if (!ecrire(ini, *valeur))
        message = refusReglage();
    if (!message.isEmpty()) {
        // The stored value comes back before the message, so that leaving
        // the field for the message box stores nothing more.
        champ->setText(stockee.texte());
        emit refus(message);
        return;
    }
    champ->setText(lire(ini).texte());
}

void OngletEtablissement::delai_Change()
{
    const QString& ini = m_contexte->CheminINI;
    const int stocke = Etablissement::DelaiArrhes(ini);
    const QString saisi = etablissement_delaiarrhes->text().trimmed();
    const auto jours = lireDelai(saisi);
    if (jours && *jours == stocke) {
        etablissement_delaiarrhes->setText(QString::number(stocke));
        return;
    }
    QString message;
    if (!jours)
        message = QStringLiteral("Le délai des arrhes « %1 » doit être un nombre entier de jours, de 0 à 365.").arg(saisi);
    else if (!Etablissement::EcrireDelaiArrhes(ini, *jours))
        message = refusReglage();
    if (!message.isEmpty()) {
        etablissement_delaiarrhes->setText(QString::number(stocke));
        emit refus(message);
        return;
    }
    etablissement_delaiarrhes->setText(QString::number(Etablissement::DelaiArrhes(ini)));
}

void OngletEtablissement::porter_Change(bool oui)
{
    if (Etablissement::EcrirePorterAutomatiquement(m_contexte->CheminINI, oui))
        return;
    const QSignalBlocker bloque(etablissement_porter);
    etablissement_porter->setChecked(!oui);
    emit refus(refusReglage());
}

void OngletEtablissement::champ_Change(QLineEdit* champ, const QString& cle)
{
    const QString saisi = champ->text().trimmed();
    if (saisi == m_stocke.value(cle)) {
        champ->setText(saisi);
        return;
    }
    if (!Etablissement::Ecrire(m_contexte->CheminINI, cle, saisi)) {
        // The stored text comes back before the message, so that leaving
        // the field for the message box stores nothing more.
        champ->setText(m_stocke.value(cle));
        emit refus(refusEcriture());
        return;
    }
    m_stocke.insert(cle, saisi);
    champ->setText(saisi);
}

void OngletEtablissement::conditions_Change()
{
    const QString cle = cleDe(&Coordonnees::conditions);
    const QString texte = etablissement_conditions->toPlainText();
    if (texte == m_stocke.value(cle))
        return;
    if (!Etablissement::Ecrire(m_contexte->CheminINI, cle, texte)) {
        // Written at each key: the failure is told once, not at each key.
        if (!m_conditionsEnEchec)
            emit refus(refusEcriture());
        m_conditionsEnEchec = true;
        return;
    }
    m_conditionsEnEchec = false;
    m_stocke.insert(cle, texte);
}
