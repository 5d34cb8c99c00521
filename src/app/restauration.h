#pragma once
// The window "Restaurer une sauvegarde…" of the "Fichier" menu: the backup
// slots of the database, newest first, then the databases kept before each
// restore; each checked in a background thread, marked "saine" or
// "endommagée", with its number of stays and the arrival of its last one.
// Choosing a sound one and "Restaurer" asks for confirmation and emits
// restaurationDemandee; the caller does the restoring and says how it went
// through termine(); the window stays open, its list read again.
#include "sauvegardes.h"

#include <QDialog>
#include <QList>
#include <atomic>

class QLabel;
class QPushButton;
class QThread;
class QTreeWidget;

// A question answered "Oui" or "Non" (the same texts with or without Qt's
// French translation); `parDefaut` is the answer of Enter.
bool DemanderOuiNon(QWidget* parent, const QString& question, bool parDefaut);

class RestaurationSauvegarde : public QDialog
{
    Q_OBJECT
public:
    RestaurationSauvegarde(const QString& cheminBase, QWidget* parent = nullptr);
    ~RestaurationSauvegarde() override;

    QTreeWidget* liste;        // columns: slot, date, size, state, stays, last stay
    QPushButton* restaurer;
    QPushButton* fermer;
    QLabel* explication;

    // Texts of the state column.
    static QString texteEtat(std::optional<bool> saine);
    // "12,5 Mo", "640 ko": the size column.
    static QString texteTaille(qint64 octets);
    // The stays column ("aucun", "1 234") and the last stay's ("14/08/2026"),
    // "—" for a file that could not be read.
    static QString texteSejours(const std::optional<Sauvegardes::Contenu>& contenu);
    static QString texteDernier(const std::optional<Sauvegardes::Contenu>& contenu);

    // True once every slot of the list has been checked.
    bool verificationFinie() const { return m_restants == 0; }

    // The caller's answer to restaurationDemandee: the message of a success
    // (the list read again beneath it) or the reason of a failure.
    void termine(bool reussie, const QString& message);

Q_SIGNALS:
    void restaurationDemandee(const QString& chemin);
    void verificationTerminee();

private:
    void remplir();
    void arreterVerification();
    void verifie(int ligne, const Sauvegardes::Examen& examen);
    void selectionChangee();
    void restaurer_Click();

    QString m_cheminBase;
    QList<Sauvegardes::Creneau> m_creneaux;
    QList<std::optional<bool>> m_etats;
    int m_restants = 0;
    std::atomic<bool> m_arret{false};
    QThread* m_verificateur = nullptr;
    int m_generation = 0;   // which filling of the list the check's answers are for
};
