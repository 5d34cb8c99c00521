#pragma once
// The "Établissement" tab of the settings window: the hotel's own details
// printed on the contracts and invoices, and how money follows a stay (the
// cancellation fee, the posting of the stay to the account, the deposit
// asked and its delay). Each field is stored in the INI file when it is
// left (the conditions as they are typed, the check box when it is
// clicked); a value that cannot be read is refused with a message and the
// stored one comes back.
#include "facturation/etablissement.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QWidget>

struct Contexte;
class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPlainTextEdit;

class OngletEtablissement : public QWidget
{
    Q_OBJECT
public:
    explicit OngletEtablissement(Contexte* contexte, QWidget* parent = nullptr);

    // Shows the stored details.
    void charger();

    QLineEdit* etablissement_nom;
    QLineEdit* etablissement_adresse;
    QLineEdit* etablissement_codepostal;
    QLineEdit* etablissement_ville;
    QLineEdit* etablissement_telephone;
    QLineEdit* etablissement_email;
    QLineEdit* etablissement_siret;
    QLineEdit* etablissement_tva;
    QPlainTextEdit* etablissement_conditions;
    QLineEdit* etablissement_fraisannulation;   // an amount or a share of the stay's price
    QCheckBox* etablissement_porter;
    QLineEdit* etablissement_arrhes;            // an amount or a share of the stay's price
    QLineEdit* etablissement_delaiarrhes;       // days, 0 to 365

signals:
    // A detail could not be stored.
    void refus(const QString& message);

private:
    void champ_Change(QLineEdit* champ, const QString& cle);
    void conditions_Change();
    void construireReglages(QGridLayout* grille, int premiereLigne);
    // A fee or a deposit: `lire` gives the stored value, `ecrire` stores one.
    void valeur_Change(QLineEdit* champ, const QString& quoi,
                       MontantOuPourcentage::Valeur (*lire)(const QString&),
                       bool (*ecrire)(const QString&, const MontantOuPourcentage::Valeur&));
    void delai_Change();
    void porter_Change(bool oui);

    Contexte* m_contexte;
    QList<QPair<QLineEdit*, QString Etablissement::Coordonnees::*>> m_lignes;
    QHash<QString, QString> m_stocke;   // by INI key
    bool m_conditionsEnEchec = false;   // said once until a write succeeds
};
