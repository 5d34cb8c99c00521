#include "ongletetablissement.h"

#include "facturation/etablissement.h"
#include "store/contexte.h"

#include <QGridLayout>
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
    grille->addWidget(etablissement_conditions, 1, 2, ligne, 1);
    grille->setColumnStretch(1, 1);
    grille->setColumnStretch(2, 1);
    grille->setRowStretch(ligne, 1);
    connect(etablissement_conditions, &QPlainTextEdit::textChanged, this, &OngletEtablissement::conditions_Change);
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
