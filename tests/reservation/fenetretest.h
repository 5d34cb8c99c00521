#pragma once
// A reservation window on a temporary database, driven as a user would,
// with a stand-in for the calling planning.
#include "store/contexte.h"
#include "reservation/reservations.h"
#include "testutil.h"

#include <QList>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QLineEdit;
class xpcmdbutton;

class FenetreTest
{
    // Built first: the spies below watch the window.
    TestUtil::BaseTemporaire m_base;
    QTemporaryDir m_dossier;
    QTemporaryDir m_outils;
    QByteArray m_path;
    Contexte m_contexte;
    QWidget m_appelante;
    std::unique_ptr<reservations> m_fenetre;

public:
    FenetreTest();
    ~FenetreTest();

    QSqlDatabase base() const { return m_base.base(); }
    const TestUtil::BaseTemporaire& temp() const { return m_base; }
    Contexte& contexte() { return m_contexte; }
    reservations& fenetre() { return *m_fenetre; }
    QWidget& appelante() { return m_appelante; }

    // Stores a reservation as the planning would find it; returns its number.
    qint32 stocker(const Requetes::Reservation& r);
    // Opens an existing reservation as a click on its bar does.
    void ouvrir(qint32 numero);
    // Opens a new reservation as "+" does (modal).
    void ouvrirNouvelle();

    // Clicks the skinned button of that objectName (the first one).
    void cliquer(const QString& nom);
    void cliquer(xpcmdbutton* bouton);
    QLineEdit* boite(const QString& nom);

    // Runs an action and returns the texts of the message boxes it showed,
    // each closed with its OK button.
    static QStringList messagesPendant(const std::function<void()>& action);
    // The same, and each Oui/Non question it asks gets the next of
    // `reponses` (true: "Oui"). Every question must offer "Non" as the
    // default; a question beyond the answers given fails the test.
    static QStringList questionsPendant(const std::function<void()>& action, QList<bool> reponses);

    int nombre(const QString& sql) const { return m_base.valeur(sql).toInt(); }

    // Contracts: the print dialog is answered by `imprimerAccepte`, each
    // document printed is listed; a stand-in `xdg-email` first on the PATH
    // records its arguments and answers with the given exit status.
    bool imprimerAccepte = true;
    QStringList impressions;
    QStringList argumentsEmail() const;
    void codeEmail(int code);
    QString dossierDonnees() const { return m_dossier.path(); }

    QSignalSpy encours;
    QSignalSpy depart;
    QSignalSpy rafraichir;
    QSignalSpy fermee;

};

// A plain reservation of unit 12 from 03/08/2026 14:00 to 10/08/2026 12:00.
Requetes::Reservation reservationExemple();
