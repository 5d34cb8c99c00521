#pragma once
// The "Établissement" tab of the settings window: the hotel's own details
// printed on the contracts and invoices. Each field is stored in the INI
// file when it is left (the conditions as they are typed).
#include "facturation/etablissement.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QWidget>

struct Contexte;
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

signals:
    // A detail could not be stored.
    void refus(const QString& message);

private:
    void champ_Change(QLineEdit* champ, const QString& cle);
    void conditions_Change();

    Contexte* m_contexte;
    QList<QPair<QLineEdit*, QString Etablissement::Coordonnees::*>> m_lignes;
    QHash<QString, QString> m_stocke;   // by INI key
    bool m_conditionsEnEchec = false;   // said once until a write succeeds
};
