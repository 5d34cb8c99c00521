#pragma once
// Remembers where a window was. Given charge of a window, it restores the
// window's position, size and state from a configuration file, then looks at
// the window once a second and writes any change back, all through
// INI32::ProfilINI (so a file starting with "$" goes to the registry store).
//
// Entries of section Section in file FichierINI:
//   "Positions"       left|top|width|height in twips (15 per pixel): the
//                     window's position and inner size while in the normal state
//   "PositionsTaille" 0 normal, 1 minimised, 2 maximised
//   "Visible"         "OUI" or "NON", written when it changes, never read
//
// A stored position that would leave the window too small (below its own
// minimum too) or out of reach is corrected when restored (see
// PositionFenetre::Corriger). A window is moved in its normal state and
// then given its stored state, so that a maximised one keeps its normal
// place for when it is restored.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class QTimer;
class QWidget;

class SavePosition : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FichierINI READ FichierINI WRITE setFichierINI)
    Q_PROPERTY(QString Section READ Section WRITE setSection)
public:
    // The window that carries the keeper is its parent, when it is a widget.
    explicit SavePosition(QObject* parent = nullptr);

    // Takes charge of the window and restores it. An empty file keeps the
    // current FichierINI; the section is always taken.
    void init(QWidget* Fenetre, const QString& FichierINI, const QString& Section_INI);

    // Writing these only stores the value: nothing is read again.
    QString FichierINI() const { return m_fichier; }
    void setFichierINI(const QString& fichier) { m_fichier = fichier; }
    QString Section() const { return m_section; }
    void setSection(const QString& section) { m_section = section; }

    QWidget* fenetre() const { return m_fenetre; }
    // Whether the file holds a position for the section (false on a first start).
    bool positionsEnregistrees() const;

    // One look at the window: the first one restores it again from the file;
    // the next ones write what changed. Run every second by Timer1, and once
    // when the window is first shown.
    void Timer1_Timer();

    QTimer* Timer1;

protected:
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void suivre(QWidget* fenetre);
    // Puts the window back at the stored position, then in the stored state.
    void restaurer();
    // Moves the window to the stored position (in the normal state); false
    // when none is stored.
    bool restaurerPositions();
    void restaurerEtat(int etatParDefaut);
    QString lire(const QString& cle, const QString& defaut) const;
    void ecrire(const QString& cle, const QString& valeur) const;
    QList<QRect> zones() const;

    QPointer<QWidget> m_fenetre;
    QString m_fichier;
    QString m_section;
    bool m_restaure = false;
    bool m_montre = false;
    bool m_enRestauration = false;
    QRect m_derniere;               // last position written or read, in pixels
    int m_dernierEtat = 0;
    bool m_dernierVisible = false;
};
